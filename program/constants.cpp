#include "program/program_image.h"

namespace lw::program {
const Constants kConstants = {{0, 0, 0, 0}, {1, 0}};
}  // namespace lw::program
