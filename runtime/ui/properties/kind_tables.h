// Each unit kind's own properties as one table, in number order. Columns: number,
// name, value kind, place in the property block (after the version word; "none":
// not in the block), first block version that holds it, the field of the kind's
// record, and how the property services read (get) and write (set) it, with the
// range of a clamped write. "Hand" means the kind's own code does it, because the
// live window holds the value or writing it does more than store. Pure.
#pragma once
#include <iterator>

#include "runtime/ui/properties/table.h"

namespace lw {
namespace unit_rows {

using namespace value_kind;
constexpr int8_t none = kNotInBlock;
constexpr GetRule field = GetRule::Field, getByHand = GetRule::Hand;
constexpr SetRule store = SetRule::Store, clamp = SetRule::Clamp, flag = SetRule::Flag, setByHand = SetRule::Hand;
constexpr int32_t noLimit = kNoLimit;

using W = WindowProps;
inline constexpr PropertyRow<W> kWindowRows[] = {
    {window_prop::Caption, "Caption", Text, 22, 0, &W::caption, getByHand, store},
    {window_prop::Border, "Border", Choice, 0, 0, &W::border, field, clamp, INT32_MIN, 6},
    {window_prop::BackColour, "BackColour", Colour, 2, 0, &W::backColour, field, store},
    {window_prop::BackPicture, "BackPicture", Picture, 19, 0, &W::backPicture, field, store},
    {window_prop::WordAt1, "WordAt1", Choice, 1, 0, &W::wordAt1, field, store},
    {window_prop::BlockAt21, "BlockAt21", Data, 21, 0, &W::blockAt21, field, store},
    {window_prop::WordAt8, "WordAt8", Choice, 8, 0, &W::wordAt8, field, store},
    {window_prop::ControlBox, "ControlBox", Logical, 5, 0, &W::controlBox, field, store},
    {window_prop::MaxButton, "MaxButton", Logical, 3, 0, &W::maxButton, field, store},
    {window_prop::MinButton, "MinButton", Logical, 4, 0, &W::minButton, field, store},
    {window_prop::StartPosition, "StartPosition", Choice, 6, 0, &W::startPosition, field, store},
    {window_prop::Closable, "Closable", Logical, 7, 0, &W::closable, field, store},
    {window_prop::BlockAt20, "BlockAt20", Data, 20, 0, &W::blockAt20, field, store},
    {window_prop::WordAt9, "WordAt9", Logical, 9, 0, &W::wordAt9, field, store},
    {window_prop::WordAt10, "WordAt10", Logical, 10, 0, &W::wordAt10, field, store},
    {window_prop::WordAt11, "WordAt11", Logical, 11, 0, &W::wordAt11, field, store},
    {window_prop::TextAt23, "TextAt23", Text, 23, 0, &W::textAt23, field, store},
    {window_prop::WordAt12, "WordAt12", Integer, 12, 0, &W::wordAt12, field, store},
    {window_prop::WordAt13, "WordAt13", Logical, 13, 2, &W::wordAt13, field, store},
    {window_prop::WordAt14, "WordAt14", Logical, 14, 3, &W::wordAt14, field, store},
    {window_prop::WordAt15, "WordAt15", Choice, 15, 3, &W::wordAt15, field, store},
    {window_prop::AlwaysOnTop, "AlwaysOnTop", Logical, 16, 4, &W::alwaysOnTop, field, store},
    {window_prop::WordAt17, "WordAt17", Logical, 17, 5, &W::wordAt17, field, store},
    {window_prop::ClassName, "ClassName", Text, 18, 6, &W::className, field, store},  // used at the next load
};
inline constexpr PropertyTable<W> kWindowTable = {kWindowRows, std::size(kWindowRows), 6};

using L = LabelProps;
inline constexpr PropertyRow<L> kLabelRows[] = {
    {label_prop::Caption, "Caption", Text, 18, 0, &L::caption, field, store},
    {label_prop::TextEffect, "TextEffect", Choice, 0, 0, &L::textEffect, field, clamp, 0, 3},
    {label_prop::Border, "Border", Choice, 2, 0, &L::border, field, clamp, 0, 6},
    {label_prop::GradientBorderWidth, "GradientBorderWidth", Integer, 1, 0, &L::gradientBorderWidth, field, clamp, 5,
     noLimit},
    {label_prop::GradientBorderColour1, "GradientBorderColour1", Colour, 3, 0, {&L::gradientBorderColours, 0}, field,
     store},
    {label_prop::GradientBorderColour2, "GradientBorderColour2", Colour, 4, 0, {&L::gradientBorderColours, 1}, field,
     store},
    {label_prop::GradientBorderColour3, "GradientBorderColour3", Colour, 5, 0, {&L::gradientBorderColours, 2}, field,
     store},
    {label_prop::Font, "Font", Font, 16, 0, &L::font, field, store},
    {label_prop::TextColour, "TextColour", Colour, 6, 0, &L::textColour, field, store},
    {label_prop::BackColour, "BackColour", Colour, 7, 0, &L::backColour, field, store},
    {label_prop::Picture, "Picture", Picture, 17, 0, &L::picture, field, store},
    {label_prop::PictureMode, "PictureMode", Choice, 8, 0, &L::pictureMode, field, clamp, 0, 2},
    {label_prop::GradientBackground, "GradientBackground", Choice, 9, 0, &L::gradientBackground, field, clamp, 0, 8},
    {label_prop::GradientColour1, "GradientColour1", Colour, 10, 0, {&L::gradientColours, 0}, field, store},
    {label_prop::GradientColour2, "GradientColour2", Colour, 11, 0, {&L::gradientColours, 1}, field, store},
    {label_prop::GradientColour3, "GradientColour3", Colour, 12, 0, {&L::gradientColours, 2}, field, store},
    {label_prop::HAlign, "HAlign", Choice, 13, 0, &L::hAlign, field, clamp, 0, 2},
    {label_prop::WordWrap, "WordWrap", Logical, 15, 0, &L::wordWrap, field, store},
    {label_prop::VAlign, "VAlign", Choice, 14, 0, &L::vAlign, field, clamp, 0, 2},
    {label_prop::ExtraText1, "ExtraText1", Text, 19, 2, &L::extraText1, field, store},
    {label_prop::ExtraText2, "ExtraText2", Text, 20, 2, &L::extraText2, field, store},
};
inline constexpr PropertyTable<L> kLabelTable = {kLabelRows, std::size(kLabelRows), 2};

using E = EditProps;
inline constexpr PropertyRow<E> kEditRows[] = {
    {edit_prop::Text, "Text", Text, 17, 0, &E::text, getByHand, store},
    {edit_prop::Border, "Border", Choice, 0, 0, &E::border, field, clamp, 0, 5},
    {edit_prop::TextColour, "TextColour", Colour, 1, 0, &E::textColour, field, store},
    {edit_prop::BackColour, "BackColour", Colour, 2, 0, &E::backColour, field, store},
    {edit_prop::Font, "Font", Font, 16, 0, &E::font, field, store},
    {edit_prop::HideSelection, "HideSelection", Logical, 3, 0, &E::hideSelection, field, flag},
    {edit_prop::MaxLength, "MaxLength", Integer, 4, 0, &E::maxLength, field, clamp, 0, noLimit},
    {edit_prop::MultiLine, "MultiLine", Logical, 5, 0, &E::multiLine, field, flag},
    {edit_prop::ScrollBars, "ScrollBars", Choice, 6, 0, &E::scrollBars, field, clamp, 0, 3},
    {edit_prop::Alignment, "Alignment", Choice, 7, 0, &E::alignment, field, clamp, 0, 2},
    {edit_prop::InputMode, "InputMode", Choice, 8, 0, &E::inputMode, field, clamp, 0, 11},
    {edit_prop::MaskChar, "MaskChar", Text, 9, 0, &E::maskChar, getByHand, setByHand},
    {edit_prop::CaseConversion, "CaseConversion", Choice, 10, 0, &E::caseConversion, field, clamp, 0, 2},
    {edit_prop::SpinMode, "SpinMode", Choice, 11, 0, &E::spinMode, field, clamp, 0, 2},
    {edit_prop::SpinLower, "SpinLower", Integer, 12, 0, &E::spinLower, field, store},
    {edit_prop::SpinUpper, "SpinUpper", Integer, 13, 0, &E::spinUpper, field, store},
    {edit_prop::SelStart, "SelStart", Integer, 14, 0, &E::selStart, getByHand, setByHand},
    {edit_prop::SelLength, "SelLength", Integer, 15, 0, &E::selLength, getByHand, setByHand},
    {edit_prop::SelText, "SelText", Text, none, 0, {}, getByHand, setByHand},
    {edit_prop::ExtraText1, "ExtraText1", Text, 18, 2, &E::extraText1, field, store},
    {edit_prop::ExtraText2, "ExtraText2", Text, 19, 2, &E::extraText2, field, store},
};
inline constexpr PropertyTable<E> kEditTable = {kEditRows, std::size(kEditRows), 2};

using PB = PicBoxProps;
inline constexpr PropertyRow<PB> kPicBoxRows[] = {
    {pic_box_prop::Border, "Border", Choice, 0, 0, &PB::border, field, clamp, 0, 5},
    {pic_box_prop::BackColour, "BackColour", Colour, 1, 0, &PB::backColour, field, store},
    {pic_box_prop::Picture, "Picture", Picture, 4, 0, &PB::picture, field, store},
    {pic_box_prop::DisplayMode, "DisplayMode", Choice, 2, 0, &PB::displayMode, field, clamp, 0, 2},
    {pic_box_prop::Animate, "Animate", Logical, 3, 0, &PB::animate, field, setByHand},
    {pic_box_prop::ExtraText1, "ExtraText1", Text, 5, 2, &PB::extraText1, field, store},
    {pic_box_prop::ExtraText2, "ExtraText2", Text, 6, 2, &PB::extraText2, field, store},
};
inline constexpr PropertyTable<PB> kPicBoxTable = {kPicBoxRows, std::size(kPicBoxRows), 2};

using G = GroupBoxProps;
inline constexpr PropertyRow<G> kGroupBoxRows[] = {
    {group_box_prop::Caption, "Caption", Text, 4, 0, &G::caption, field, store},
    {group_box_prop::CaptionAlign, "CaptionAlign", Choice, 0, 0, &G::captionAlign, field, clamp, 0, 2},
    {group_box_prop::TextColour, "TextColour", Colour, 1, 0, &G::textColour, field, store},
    {group_box_prop::BackColour, "BackColour", Colour, 2, 0, &G::backColour, field, store},
    {group_box_prop::Font, "Font", Font, 3, 0, &G::font, field, store},
};
inline constexpr PropertyTable<G> kGroupBoxTable = {kGroupBoxRows, std::size(kGroupBoxRows), 1};

using B = ButtonProps;
inline constexpr PropertyRow<B> kButtonRows[] = {
    {button_prop::Picture, "Picture", Picture, 3, 0, &B::picture, field, store},
    {button_prop::DefaultButton, "DefaultButton", Logical, 0, 0, &B::defaultButton, field, flag},
    {button_prop::Caption, "Caption", Text, 5, 0, &B::caption, getByHand, store},
    {button_prop::HAlign, "HAlign", Choice, 1, 0, &B::hAlign, field, clamp, 0, 2},
    {button_prop::VAlign, "VAlign", Choice, 2, 0, &B::vAlign, field, clamp, 0, 2},
    {button_prop::Font, "Font", Font, 4, 0, &B::font, field, store},
};
inline constexpr PropertyTable<B> kButtonTable = {kButtonRows, std::size(kButtonRows), 1};

using LV = ListViewProps;
inline constexpr PropertyRow<LV> kListViewRows[] = {
    {list_view_prop::Border, "Border", Choice, 0, 0, &LV::border, field, clamp, 0, 5},
    {list_view_prop::TextColour, "TextColour", Colour, 1, 0, &LV::textColour, field, store},
    {list_view_prop::TextBackColour, "TextBackColour", Colour, 2, 0, &LV::textBackColour, field, store},
    {list_view_prop::BackColour, "BackColour", Colour, 3, 0, &LV::backColour, field, store},
    {list_view_prop::Font, "Font", Font, 24, 0, &LV::font, field, store},
    {list_view_prop::ViewType, "ViewType", Choice, 4, 0, &LV::viewType, field, setByHand},
    {list_view_prop::IconAlign, "IconAlign", Choice, 5, 0, &LV::iconAlign, field, store},
    {list_view_prop::AutoArrange, "AutoArrange", Logical, 6, 0, &LV::autoArrange, field, flag},
    {list_view_prop::LabelWrap, "LabelWrap", Logical, 7, 0, &LV::labelWrap, field, flag},
    {list_view_prop::Columns, "Columns", Data, 27, 0, &LV::columns, getByHand, setByHand},
    {list_view_prop::HideHeaders, "HideHeaders", Logical, 8, 0, &LV::hideHeaders, field, flag},
    {list_view_prop::HeaderImages, "HeaderImages", Data, 25, 0, &LV::headerImages, field, store},
    {list_view_prop::ClickableHeaders, "ClickableHeaders", Logical, 9, 0, &LV::clickableHeaders, field, flag},
    {list_view_prop::FullRowSelect, "FullRowSelect", Logical, 10, 0, &LV::fullRowSelect, field, flag},
    {list_view_prop::GridLines, "GridLines", Logical, 11, 0, &LV::gridLines, field, flag},
    {list_view_prop::HeaderDragDrop, "HeaderDragDrop", Logical, 12, 0, &LV::headerDragDrop, field, flag},
    {list_view_prop::ItemImages, "ItemImages", Data, 26, 0, &LV::itemImages, field, store},
    {list_view_prop::StateImages, "StateImages", Data, 28, 0, &LV::stateImages, field, store},
    {list_view_prop::HotTracking, "HotTracking", Logical, 13, 0, &LV::hotTracking, field, flag},
    {list_view_prop::HandCursor, "HandCursor", Logical, 14, 0, &LV::handCursor, field, flag},
    {list_view_prop::UnderlineCold, "UnderlineCold", Logical, 15, 0, &LV::underlineCold, field, flag},
    {list_view_prop::UnderlineHot, "UnderlineHot", Logical, 16, 0, &LV::underlineHot, field, flag},
    {list_view_prop::LabelEdit, "LabelEdit", Logical, 17, 0, &LV::labelEdit, field, flag},
    {list_view_prop::Sorting, "Sorting", Choice, 18, 0, &LV::sorting, field, clamp, 0, 2},
    {list_view_prop::CheckBoxes, "CheckBoxes", Logical, 19, 0, &LV::checkBoxes, field, flag},
    {list_view_prop::FlatScrollBars, "FlatScrollBars", Logical, 20, 0, &LV::flatScrollBars, field, flag},
    {list_view_prop::SingleSelection, "SingleSelection", Logical, 21, 0, &LV::singleSelection, field, flag},
    {list_view_prop::CurrentItem, "CurrentItem", Integer, 22, 0, &LV::currentItem, getByHand, clamp, -1, noLimit},
    {list_view_prop::AlwaysShowSelection, "AlwaysShowSelection", Logical, 23, 0, &LV::alwaysShowSelection, field,
     flag},
    {list_view_prop::Reserved37, "Reserved37", Data, 29, 0, &LV::reserved37, field, store},
};
inline constexpr PropertyTable<LV> kListViewTable = {kListViewRows, std::size(kListViewRows), 1};

static_assert(IsWellFormed(kWindowRows, window_prop::Last), "window rows");
static_assert(IsWellFormed(kLabelRows, label_prop::Last), "label rows");
static_assert(IsWellFormed(kEditRows, edit_prop::Last), "edit box rows");
static_assert(IsWellFormed(kPicBoxRows, pic_box_prop::Last), "picture box rows");
static_assert(IsWellFormed(kGroupBoxRows, group_box_prop::Last), "group box rows");
static_assert(IsWellFormed(kButtonRows, button_prop::Last), "button rows");
static_assert(IsWellFormed(kListViewRows, list_view_prop::Last), "list view rows");

}  // namespace unit_rows

using unit_rows::kButtonTable;
using unit_rows::kEditTable;
using unit_rows::kGroupBoxTable;
using unit_rows::kLabelTable;
using unit_rows::kListViewTable;
using unit_rows::kPicBoxTable;
using unit_rows::kWindowTable;

}  // namespace lw
