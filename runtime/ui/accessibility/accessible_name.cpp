#include "runtime/ui/accessibility/accessible_name.h"

namespace lw {
namespace {

int heightOf(const EdgeBox& b) { return b.bottom - b.top; }

// How many pixels of height two boxes share.
int sharedHeight(const EdgeBox& a, const EdgeBox& b) {
  const int top = a.top > b.top ? a.top : b.top, bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
  return bottom > top ? bottom - top : 0;
}

bool inSameRow(const EdgeBox& a, const EdgeBox& b) {
  const int smaller = heightOf(a) < heightOf(b) ? heightOf(a) : heightOf(b);
  const int shared = sharedHeight(a, b);
  return shared > 0 && 2 * shared >= smaller;
}

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000'; }

}  // namespace

int NearestLabelLeftOf(const EdgeBox& control, const EdgeBox* labels, size_t count) {
  int best = -1;
  for (size_t i = 0; i < count; ++i) {
    const EdgeBox& label = labels[i];
    if (label.right > control.left || !inSameRow(label, control)) continue;
    if (best >= 0) {
      const EdgeBox& chosen = labels[best];
      const int gap = control.left - label.right, chosenGap = control.left - chosen.right;
      // The nearer one; of two as near, the one sharing more of the row.
      if (gap > chosenGap || (gap == chosenGap && sharedHeight(label, control) <= sharedHeight(chosen, control)))
        continue;
    }
    best = int(i);
  }
  return best;
}

std::u16string NameOfLabelCaption(const std::u16string& caption) {
  size_t from = 0, to = caption.size();
  while (from < to && isSpace(caption[from])) ++from;
  while (to > from && isSpace(caption[to - 1])) --to;
  if (to > from && (caption[to - 1] == u':' || caption[to - 1] == u'\uFF1A')) --to;
  while (to > from && isSpace(caption[to - 1])) --to;
  return caption.substr(from, to - from);
}

}  // namespace lw
