// The runtime libraries' positions in the program's library list. A unit command
// is called with its library's position, and the library list of the program
// image is written in this order.
#pragma once

namespace lw {
namespace library_position {

constexpr int Core = 0;           // texts, values, windows, menus, automation
constexpr int ExtendedUnits = 1;  // the label and the picture box
constexpr int ListView = 2;       // the list view and its commands
constexpr int Internet = 3;       // the internet helpers
constexpr int Count = 4;

}  // namespace library_position
}  // namespace lw
