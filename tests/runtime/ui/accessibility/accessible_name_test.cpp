// Which label names an edit box, and what name its caption gives.
#include "runtime/ui/accessibility/accessible_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lw::EdgeBox;

std::string utf8(const std::u16string& s) {  // for messages only: the code units in hex
  std::string out;
  char hex[8];
  for (char16_t c : s) snprintf(hex, sizeof hex, c < 0x80 ? "%c" : "<%04X>", unsigned(c)), out += hex;
  return out;
}

TEST(AccessibleName, LabelNearestToTheLeftInTheSameRowIsChosen) {
  // The edit box as the start window has 链接框 at 96 DPI: 108..380 across, 8..32 down.
  const EdgeBox box = {108, 8, 380, 32};
  struct Case {
    const char* what;
    std::vector<EdgeBox> labels;
    int expected;
  };
  const Case cases[] = {
      {"none at all", {}, -1},
      {"the start window's own label, a little higher and shorter", {{3, 7, 101, 31}}, 0},
      {"a taller label whose middle is the box's", {{16, 0, 100, 40}}, 0},
      {"touching the box's left edge", {{40, 8, 108, 32}}, 0},
      {"reaching into the box is not beside it", {{40, 8, 109, 32}}, -1},
      {"to the right of the box", {{390, 8, 450, 32}}, -1},
      {"in the row above (shares under half the height)", {{3, -14, 101, 19}}, -1},
      {"in the row below", {{3, 40, 101, 64}}, -1},
      {"sharing exactly half the height", {{3, 20, 101, 44}}, 0},
      {"of two to the left, the nearer", {{0, 8, 40, 32}, {50, 8, 100, 32}}, 1},
      {"the nearer first in the list", {{50, 8, 100, 32}, {0, 8, 40, 32}}, 0},
      {"the nearer in the row, not one nearer but above", {{60, -30, 104, 6}, {3, 7, 101, 31}}, 1},
      {"of two as near, the one sharing more of the row", {{50, 16, 100, 36}, {50, 8, 100, 32}}, 1},
      {"an empty label box", {{100, 20, 100, 20}}, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, lw::NearestLabelLeftOf(box, c.labels.data(), c.labels.size())) << c.what;
  }
}

TEST(AccessibleName, CaptionLosesItsClosingColonAndSpaces) {
  struct Case {
    std::u16string caption, name;
  };
  const Case cases[] = {
      {u"QQ号：", u"QQ号"},                       // full-width colon
      {u"QQ号:", u"QQ号"},                        // ASCII colon
      {u"说说或者日志地址", u"说说或者日志地址"},  // nothing to take away
      {u" 地址 ： ", u"地址"},                    // spaces of both widths around it
      {u"\u3000地址\u3000", u"地址"},
      {u"时间 12:30", u"时间 12:30"},             // a colon inside stays
      {u"比例::", u"比例:"},                      // only the closing one goes
      {u"：", u""},
      {u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.name, lw::NameOfLabelCaption(c.caption))
        << "expected " << utf8(c.name) << " for " << utf8(c.caption) << ", got "
        << utf8(lw::NameOfLabelCaption(c.caption));
  }
}

}  // namespace
