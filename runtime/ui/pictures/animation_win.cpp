#include "runtime/ui/pictures/animation_win.h"

namespace lw {

namespace {

void scheduleFrame(AnimationPlayer* p) {
  SetTimer(p->window, kAnimationTimer, AnimationFrameMs(p->picture->frames[p->frame].delayMs), nullptr);
}

}  // namespace

bool StartAnimation(AnimationPlayer* player, HWND window, const DecodedPicture* picture) {
  StopAnimation(player);
  if (!window || !picture || picture->frameCount < 2 || !picture->frames) return false;
  player->window = window;
  player->picture = picture;
  player->frame = 0;
  scheduleFrame(player);
  return true;
}

void StopAnimation(AnimationPlayer* player) {
  if (player->window && player->picture) KillTimer(player->window, kAnimationTimer);
  *player = AnimationPlayer{};
}

bool AnimationPlaying(const AnimationPlayer& player) { return player.window && player.picture; }

bool OnAnimationTimer(AnimationPlayer* player, UINT_PTR timerId) {
  if (timerId != kAnimationTimer) return false;
  if (!AnimationPlaying(*player)) return true;
  player->frame = (player->frame + 1) % player->picture->frameCount;
  scheduleFrame(player);
  InvalidateRect(player->window, nullptr, FALSE);
  return true;
}

const uint8_t* CurrentAnimationFrame(const AnimationPlayer& player) {
  return AnimationPlaying(player) ? player.picture->frames[player.frame].pixels : nullptr;
}

}  // namespace lw
