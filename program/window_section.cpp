// The window template section. Until the program's windows are described, the
// section is empty and the start window cannot be loaded.
#include "program/program_image.h"

namespace program {
const uint8_t kWindowSection[1] = {0};
const uint32_t kWindowSectionSize = 0;
const uint8_t* const kCodeBase = kWindowSection;
}  // namespace program
