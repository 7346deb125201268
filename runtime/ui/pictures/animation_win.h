// The player of animated pictures: shows the frames of an animated GIF one after
// another in a window, each for its own delay, and starts again after the last.
// The frames come composed from the decoder (disposal and transparency applied),
// so the player only keeps time and names the frame to draw; the window draws it
// over its background when it paints.
#pragma once
#include <windows.h>

#include <cstdint>

#include "runtime/picture/decode.h"

namespace lw {

struct AnimationPlayer {
  HWND window = nullptr;
  const DecodedPicture* picture = nullptr;
  uint32_t frame = 0;
};

// The timer id the player uses in its window.
constexpr UINT_PTR kAnimationTimer = 0x4C57;

// Starts playing `picture` in `window` from its first frame. False (and nothing
// plays) when the picture has fewer than two frames.
bool StartAnimation(AnimationPlayer* player, HWND window, const DecodedPicture* picture);
void StopAnimation(AnimationPlayer* player);
bool AnimationPlaying(const AnimationPlayer& player);

// For the window's WM_TIMER: true when the timer was the player's; the next frame
// is then due and the window is asked to repaint.
bool OnAnimationTimer(AnimationPlayer* player, UINT_PTR timerId);

// The pixels of the frame to draw now, or null when nothing plays.
const uint8_t* CurrentAnimationFrame(const AnimationPlayer& player);

}  // namespace lw
