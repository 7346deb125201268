#include "runtime/core/services/service_table.h"

namespace lw {

ResultRecord CallLibraryCommand(LibraryCommand cmd, int argc, ArgRecord* args) {
  ResultRecord result = {0, 0, 0};
  cmd(&result, argc, args);
  return result;
}

ResultRecord CallUnitCommand(LibraryCommand cmd, int argc, ArgRecord* args, int libraryPosition) {
  (void)libraryPosition;  // the library's position is passed along; the routines do not use it
  return CallLibraryCommand(cmd, argc, args);
}

}  // namespace lw
