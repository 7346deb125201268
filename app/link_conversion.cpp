#include "app/link_conversion.h"

#include <cstring>
#include <string>

#include "app/endpoints.h"
#include "app/program_state.h"
#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/owned_block.h"
#include "runtime/core/values/values.h"

namespace app {

namespace text = lw::text;

const char kBlogConverted[] = "已经转换您的日志链接，并复制到剪辑版，可直接粘贴！";
const char kMoodConverted[] = "已经转换您的说说链接，并复制到剪辑版，可直接粘贴！";
const char kBlogCopyFailed[] = "已经转换您的日志链接，但复制到剪辑版失败，请手动复制！";
const char kMoodCopyFailed[] = "已经转换您的说说链接，但复制到剪辑版失败，请手动复制！";
const char kInputError[] = "您输入有误，请复制准确日志或说说的准确链接";
const char kCheckInput[] = "输入有误，请检查！";

namespace {

// One piece of a share address: fixed text, or one of the two values.
enum class Field { Fixed, Owner, PostId };
struct Piece {
  Field field;
  const char* text;
};

const Piece kBlogPieces[] = {
    {Field::Fixed, "/ugc/share?_wv=1&subtype=&ciphertext=&sid=&blog_photo=&g=85&res_uin="},
    {Field::Owner, nullptr},
    {Field::Fixed, "&cellid="},
    {Field::PostId, nullptr},
    {Field::Fixed, "&subid=&bp1=&bp2=&bp7=&appid=2&g_f=2000000103"},
};

const Piece kMoodPieces[] = {
    {Field::Fixed, "/ugc/share?ptlang=2052&_wv=1&ADUIN="},
    {Field::Owner, nullptr},
    {Field::Fixed,
     "&ADTAG=CLIENT%2EQQ%2E5461_%2E0&ADSESSION=1357924680&ADPUBNO=26553&subtype=&ciphertext=&sk=&blog_photo=&g=84"
     "&res_uin="},
    {Field::Owner, nullptr},
    {Field::Fixed, "&cellid="},
    {Field::PostId, nullptr},
    {Field::Fixed, "&subid=&bp1=&bp2=&bp7=&appid=311&g_f=2000000103&from=timeline&isappinstalled=0"},
};

// The scheme and host, then the pieces; the values go in as they are, unescaped.
template <size_t N>
lw::Text joinShareAddress(const Piece (&pieces)[N], const char* ownerNumber, const char* postId) {
  std::string address = std::string("http://") + endpoints::kShareHost;
  for (const Piece& p : pieces) {
    switch (p.field) {
      case Field::Fixed: address += p.text; break;
      case Field::Owner: address += text::of(ownerNumber); break;
      case Field::PostId: address += text::of(postId); break;
    }
  }
  return text::toText(address);
}

// The end mark of a post id: the first ".1" after the id's start, or the ".1"
// appended here when the address has none.
const char kIdEnd[] = ".1";

// A number or id taken from a real address stops where the path, query or
// fragment goes on ("?ptlang=2052", "#comment", "&…", a trailing "/") or at white
// space. None of these bytes can be the trail byte of a double-byte character, so
// the cut never splits one.
void cutAtAddressPunctuation(lw::Text* value) {
  if (lw::IsEmptyText(*value)) return;
  size_t n = strcspn(*value, "?#&/ \t\r\n\v\f");
  if ((*value)[n]) lw::ReplaceBlock(value, text::toText(std::string(*value, n)));
}

}  // namespace

PastedPost readPastedAddress(const char* pasted) {
  lw::ReplaceBlock(&g_state.ownerNumber, text::textBetween(pasted, "com/", "/"));
  cutAtAddressPunctuation(&g_state.ownerNumber);
  std::string ownerSlash = text::of(g_state.ownerNumber) + "/";
  lw::OwnedText kind(text::textBetween(pasted, ownerSlash.c_str(), "/"));
  bool blog = kind && strcmp(kind.get(), "blog") == 0;
  std::string marked = text::of(pasted) + kIdEnd;
  if (blog) {
    lw::ReplaceBlock(&g_state.suffixedAddress, text::toText(marked));
    lw::ReplaceBlock(&g_state.postId, text::textBetween(g_state.suffixedAddress, "blog/", kIdEnd));
    cutAtAddressPunctuation(&g_state.postId);
    if (lw::IsEmptyText(g_state.ownerNumber) || lw::IsEmptyText(g_state.postId)) return PastedPost::InputError;
    return PastedPost::Blog;
  }
  if (lw::IsEmptyText(g_state.ownerNumber)) return PastedPost::InputError;
  lw::ReplaceBlock(&g_state.postId, text::textBetween(marked.c_str(), "mood/", kIdEnd));
  cutAtAddressPunctuation(&g_state.postId);
  return lw::IsEmptyText(g_state.postId) ? PastedPost::InputError : PastedPost::Mood;
}

lw::Text blogShareAddress(const char* ownerNumber, const char* postId) {
  return joinShareAddress(kBlogPieces, ownerNumber, postId);
}

lw::Text moodShareAddress(const char* ownerNumber, const char* postId) {
  return joinShareAddress(kMoodPieces, ownerNumber, postId);
}

}  // namespace app
