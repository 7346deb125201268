// What assistive technology calls a control that says nothing of itself: an edit
// box is named after the label beside it, as a person reading the window names it.
// The runtime's labels are a class of its own, which the platform's rule (the
// static text just before the control) does not find, so the runtime chooses the
// label itself, by where it sits. Pure, so the choice is tested natively.
#pragma once
#include <cstddef>
#include <string>

namespace lw {

// A rectangle by its edges, in the pixels of one parent window.
struct EdgeBox {
  int left, top, right, bottom;
};

// The label that names a control, among the visible labels of its parent: the
// nearest one wholly to the control's left in the same row (their heights overlap
// by at least half the smaller one). The index into `labels`, or -1 when none.
int NearestLabelLeftOf(const EdgeBox& control, const EdgeBox* labels, size_t count);

// The name a label's caption gives: the caption without the spaces around it and
// without a closing colon (":" or the full-width "："), which introduces the control
// rather than being part of its name.
std::u16string NameOfLabelCaption(const std::u16string& caption);

}  // namespace lw
