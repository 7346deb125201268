// RegexObject: the application's regular-expression object. It drives the
// platform's regular-expression automation component ("VBScript.RegExp") through
// the runtime's object and variant commands, and where that component cannot be
// made it matches with PCRE2 by the component's rules (pcre_matcher.h). The
// subject goes to the component as a text of exactly its characters in UTF-16,
// converted from code page 936 without a terminating unit; match texts come back
// through the same code page, and positions are byte offsets into the
// code-page-936 subject. Indexes given by the caller are 1-based.
//
// The operations are reached through the instance's operation table, in slot
// order. An optional argument is a pointer: null when the caller left it out.
// Texts and byte sets returned are new blocks owned by the caller.
#pragma once
#include <cstdint>
#include <memory>

#include "runtime/core/automation/automation.h"
#include "runtime/core/text/codepage.h"
#include "runtime/core/values/types.h"

namespace regex {

struct RegexObject;

struct RegexOps {
  // 0: releases the component, the collection and the subject, and frees the
  // member blocks; the caller frees the instance itself.
  void (*destroy)(RegexObject* self);
  // 1: a new instance sharing the component and the collection.
  RegexObject* (*copy)(const RegexObject* self);
  // 2: runs the pattern over the subject with a new component instance. Defaults:
  // caseSensitive false, multiline true, global true, quoteEscape false ("#引号"
  // in the pattern becomes a double quote). True when a match collection came back.
  bool (*execute)(RegexObject* self, lw::Text* pattern, lw::Text* subject, const bool* caseSensitive,
                  const bool* multiline, const bool* global, const bool* quoteEscape);
  // 3: does nothing.
  void (*noOperation)(RegexObject* self);
  // 4: the component's pattern; empty before any execute.
  lw::Text (*getPattern)(RegexObject* self);
  // 5: the last subject with the component's replacement applied.
  lw::Text (*replace)(RegexObject* self, lw::Text* replacement);
  // 6: the number of matches of the last execute.
  int32_t (*matchCount)(RegexObject* self);
  // 7: the text of match `match`; *position receives its 0-based byte offset in
  // the subject (-2 when there is no such match).
  lw::Text (*matchText)(RegexObject* self, int32_t match, int32_t* position);
  // 8: the text of capture group `subMatch` of match `match` (empty for a group
  // that took no part); *position receives the byte offset of its first occurrence
  // from the match's start on (-2 when there is none).
  lw::Text (*subMatchText)(RegexObject* self, int32_t match, int32_t subMatch, int32_t* position);
  // 9: the number of capture groups seen by the first match; 0 without a match.
  int32_t (*subMatchCount)(RegexObject* self);
};

struct MatchRun;

// What the last execute left where PCRE2 matches in the component's place: the
// pattern and the subject in UTF-16, as the component would hold them, and the
// matches (null when the pattern was refused or a limit stopped the search). One
// block of the runtime's allocator, the units following it.
struct PcreRun {
  uint32_t patternUnits;
  uint32_t subjectUnits;
  MatchRun* run;
};

struct RegexObject {
  const RegexOps* ops;
  lw::ObjectRef regExp;      // the component; empty until the first execute
  lw::ObjectRef matches;     // the match collection of the last execute
  lw::VariantRef wideSubject;  // the last subject: a text of its UTF-16 units, no terminator
  PcreRun* pcre;             // the last execute without the component; null otherwise
};

extern const RegexOps kRegexOps;

// Which engine matches. The component ("VBScript.RegExp") wherever it can be made;
// where it cannot (a class not registered, a library that fails to load or is
// turned off, access refused by policy) PCRE2 reads the same patterns by the
// component's rules. The first execute of the process decides, once.
enum class Engine { Undecided, Component, Pcre };
Engine chosenEngine();
// Decides without asking the platform: the tests run both engines in one process.
void chooseEngine(Engine engine);

// A new instance: empty members, the subject variant holding the integer 0, and
// the component library started for this thread (once per instance).
RegexObject* CreateRegexObject();
// destroy, then the instance block itself.
void FreeRegexObject(RegexObject* self);

// An owning handle for an instance: FreeRegexObject when the handle goes.
struct RegexObjectFree {
  void operator()(RegexObject* self) const { FreeRegexObject(self); }
};
using OwnedRegexObject = std::unique_ptr<RegexObject, RegexObjectFree>;

// The UTF-16LE form of a code-page-936 text, terminator included; the empty text
// gives the empty byte set.
lw::ByteSet toWideBytes(const char* text);
// The code-page-936 form of UTF-16LE bytes (a trailing odd byte is dropped), up to
// its first NUL.
lw::Text fromWideBytes(const lw::ByteSetHeader* bytes);

constexpr uint32_t kCodePage = lw::kTextCodePage;
constexpr uint32_t kCompositeCheck = 0x200;

// ---- Pure parts ----

// The properties execute writes, from its optional flags.
struct ExecuteSettings {
  bool ignoreCase;
  bool multiline;
  bool global;
  bool quoteEscape;
};
ExecuteSettings executeSettings(const bool* caseSensitive, const bool* multiline, const bool* global,
                                const bool* quoteEscape);
// The pattern as the component receives it: with quoteEscape every "#引号" is a
// double quote; otherwise unchanged. A new text.
lw::Text componentPattern(const char* pattern, bool quoteEscape);
// The 0-based byte offset of the first exact occurrence of `what` in `subject` at
// or after byte offset `from`; an empty `what` is found at `from`. -2 when absent.
int32_t findFrom(const char* subject, const char* what, int32_t from);

}  // namespace regex
