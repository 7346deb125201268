// A plain driver for the fuzz entries: feeds each file named on the command line
// (every file below a named folder) to the entry once. The native build runs each
// entry over its seeds this way, so the entries keep building and every seed and
// kept crasher keeps passing without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  size_t fed = 0;
  auto feed = [&fed](const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++fed;
  };
  for (int i = 1; i < argc; ++i) {
    fs::path p = argv[i];
    if (fs::is_directory(p)) {
      for (const auto& e : fs::recursive_directory_iterator(p))
        if (e.is_regular_file()) feed(e.path());
    } else if (fs::is_regular_file(p)) {
      feed(p);
    } else {
      fprintf(stderr, "no such seed: %s\n", argv[i]);
      return 1;
    }
  }
  printf("%zu inputs replayed\n", fed);
  return fed ? 0 : 1;
}
