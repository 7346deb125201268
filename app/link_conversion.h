// Link conversion: a pasted blog or mood post address becomes the service's mobile
// share address, shown in 编辑框生成, copied to the clipboard and confirmed in
// 标签_提示. The same blog address serves the list's menu item "生成链接", and the
// QR trigger opens the QR window for the address shown.
//
// The reading of the pasted address and the joining of the share addresses are
// pure; the handlers (declared in app/handlers.h) and the builders that write the
// controls are the platform side.
#pragma once
#include "runtime/core/values/types.h"

namespace app {

// The texts the conversion shows in 标签_提示.
extern const char kBlogConverted[];   // a blog share address was made and copied
extern const char kMoodConverted[];   // a mood share address was made and copied
extern const char kBlogCopyFailed[];  // a blog share address was made, the clipboard refused it
extern const char kMoodCopyFailed[];  // a mood share address was made, the clipboard refused it
extern const char kInputError[];      // the pasted address names no post
extern const char kCheckInput[];      // nothing to show a QR image of, or to build from the list

enum class PastedPost { InputError, Blog, Mood };

// Reads a pasted address into the state texts: ownerNumber (between "com/" and the
// next "/"), and for a blog ("blog" after the number) suffixedAddress and the blog
// id, otherwise the mood id (after "mood/"). Either id runs to the first ".1" or to
// the end of the address; the number and both ids also end at the first "?", "#",
// "&", "/" or white space, so that a query, fragment or trailing "/" of a real
// address stays out. An empty owner number or post id is an input error.
PastedPost readPastedAddress(const char* pasted);

// The share addresses for an owner number and a post id (new texts, never null).
lw::Text blogShareAddress(const char* ownerNumber, const char* postId);
lw::Text moodShareAddress(const char* ownerNumber, const char* postId);

// The builders: join the address from ownerNumber and postId, show it, copy what
// the output box shows to the clipboard and confirm, or say that the copy failed.
// Platform side.
void buildBlogAddress();
void buildMoodAddress();

}  // namespace app
