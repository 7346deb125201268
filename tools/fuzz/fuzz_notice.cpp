// libFuzzer entry for the update notice reader. Besides not crashing: a download
// address is only ever opened when it is a web address.
#include "app/update_notice.h"
#include "tools/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string page = fuzzTexts(data, size, 1)[0];
  app::UpdateNotice n = app::readUpdateNotice(page.c_str());
  if (n.openDownload) {
    std::string head = n.download.substr(0, 8);
    for (char& c : head) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (head.rfind("http://", 0) != 0 && head.rfind("https://", 0) != 0) __builtin_trap();
    if (!n.update) __builtin_trap();
  }
  return 0;
}
