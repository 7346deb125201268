// The QR pictures the Windows end-to-end tests took away from the QR window (the
// clipboard's bitmap and the saved PNG), read back by a real QR reader: the native
// build has one, the Windows build does not. scripts/test.sh runs this after the
// Windows runs, naming their artifacts folder in LINKWRIGHT_QR_ARTIFACTS; without
// it there is nothing to read and the test is skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/picture/decode.h"
#include "tests/support/qr_reader.h"

namespace {

namespace fs = std::filesystem;

#ifdef LINKWRIGHT_QR_READER
std::string wholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What a QR reader makes of a picture file; a reason in <> when it reads nothing.
std::string readCode(const fs::path& path) {
  const std::string bytes = wholeFile(path);
  lw::DecodedPicture* p = lw::DecodePicture(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  if (!p) return "<no picture>";
  std::vector<uint8_t> grey(size_t(p->width) * p->height);
  for (size_t i = 0; i < grey.size(); ++i)
    grey[i] = uint8_t((p->pixels[i * 4] + p->pixels[i * 4 + 1] + p->pixels[i * 4 + 2]) / 3);
  const std::string text = lw::testing::ReadQrCode(grey, p->width, p->height);
  lw::FreePicture(p);
  return text;
}
#endif

TEST(QrWindowArtifacts, CopiedAndSavedPicturesReadBackAsTheShareAddress) {
  const char* dir = std::getenv("LINKWRIGHT_QR_ARTIFACTS");
  if (!dir || !*dir) GTEST_SKIP() << "no artifacts named (LINKWRIGHT_QR_ARTIFACTS)";
#ifndef LINKWRIGHT_QR_READER
  GTEST_SKIP() << "no QR reader in this build";
#else
  // The run under code page 936 writes into the folder, the others into cp<code page>/.
  std::vector<fs::path> folders = {dir};
  std::error_code error;
  for (const fs::directory_entry& e : fs::directory_iterator(dir, error))
    if (e.is_directory() && e.path().filename().string().rfind("cp", 0) == 0) folders.push_back(e.path());
  int read = 0;
  for (const fs::path& folder : folders) {
    if (!fs::exists(folder / "qr_taken_away.txt")) continue;
    const std::string address = wholeFile(folder / "qr_taken_away.txt");
    for (const char* name : {"qr_clipboard.bmp", "qr_saved.png"}) {
      SCOPED_TRACE((folder / name).string());
      EXPECT_EQ(address, readCode(folder / name));
      ++read;
    }
  }
  EXPECT_GT(read, 0) << "expected the pictures of at least one Windows run in " << dir;
#endif
}

}  // namespace
