// The regex object's operations over the automation commands, or over PCRE2 where
// the component cannot be made, and its code-page conversions over the program's
// DLL commands. Everything reaches the runtime through the service table, as
// compiled code does.
#include <cstring>

#include "regex/pcre_matcher.h"
#include "regex/regex_object.h"
#include "runtime/core/automation/automation_commands_win.h"
#include "runtime/core/libraries/dll_call.h"
#include "runtime/core/libraries/dll_commands.h"
#include "runtime/core/services/core_commands.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/text/codepage.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/owned_block.h"
#include "runtime/core/values/values.h"

namespace regex {
namespace {

using namespace lw::automation;
using lw::ObjectRef;
using lw::Text;
using lw::VariantRef;
namespace arg = lw::arg;

namespace dll = lw::dll;
using lw::callDll;
using lw::word;

int32_t truncated(double d) { return d > -2147483649.0 && d < 2147483648.0 ? int32_t(d) : 0; }

// ---- Initialisation and release ----

void initialise(RegexObject*) { callDll(dll::CoInitialize, {0}); }

void release(RegexObject* self) {
  releaseObject(self->regExp);
  releaseObject(self->matches);
  clearVariant(self->wideSubject);
  callDll(dll::CoUninitialize, {});
}

// ---- The subject ----

// MultiByteToWideChar from code page 936 over `bytes` bytes of `text` (-1: up to
// and including its terminator) into room for `room` units: the units written, or
// with no room the units needed.
int32_t gbkToWide(const char* text, uint32_t bytes, void* out, uint32_t room) {
  // The size is asked with a non-null buffer of no room.
  wchar_t probe[1] = {0};
  return callDll(dll::MultiByteToWideChar, {kCodePage, 0, word(text), bytes, word(out ? out : probe), room});
}

// wideSubject := the subject as a text of exactly its characters, converted in
// place. A terminating unit would reach the component as one more character of
// the subject, for "$" to stop before and for "[^x]" to match.
void setWideSubject(RegexObject* self, const char* subject) {
  size_t bytes = subject ? strlen(subject) : 0;
  int32_t n = bytes > 0 && bytes < 0x7FFFFFFF ? gbkToWide(subject, uint32_t(bytes), nullptr, 0) : 0;
  char16_t* units = makeVariantText(self->wideSubject, n > 0 ? uint32_t(n) : 0);
  if (units && n > 0) gbkToWide(subject, uint32_t(bytes), units, uint32_t(n));
}

// ---- Positions ----

// The length of the code-page-936 form of `units` UTF-16 units: the byte offset in
// the code-page-936 subject of the character at that unit index.
int32_t gbkBytes(const char16_t* text, uint32_t units) {
  if (units == 0) return 0;
  return callDll(dll::WideCharToMultiByteSize, {kCodePage, kCompositeCheck, word(text), units, 0, 0, 0, 0});
}

// The byte offset in the code-page-936 subject of the match m: the length of the
// code-page-936 form of the subject's first FirstIndex UTF-16 units. -2 without a
// match.
int32_t matchOffset(RegexObject* self, ObjectRef m) {
  if (isObjectEmpty(m)) return -2;
  int32_t first = truncated(readNumber(m, "FirstIndex"));
  if (first <= 0) return 0;
  lw::OwnedByteSet bytes(variantToByteSet(self->wideSubject));
  uint32_t units = lw::byteSetLength(bytes.get()) / 2;
  uint32_t n = uint32_t(first) < units ? uint32_t(first) : units;
  return gbkBytes(reinterpret_cast<const char16_t*>(lw::byteSetData(bytes.get())), n);
}

// The subject of the last execute as code-page-936 text.
Text subjectText(RegexObject* self) {
  return fromWideBytes(lw::OwnedByteSet(variantToByteSet(self->wideSubject)).get());
}

// The offset of the first exact occurrence of a group's text from its match's
// start on, the match's offset given: the group's text comes verbatim from the
// subject, so the search finds it.
int32_t groupOffset(const char* subject, const char* group, int32_t matchStart) {
  return matchStart < 0 ? -2 : findFrom(subject, group, matchStart);
}

// Item `index` (0-based, passed as a number) of a collection.
ObjectRef item(ObjectRef collection, int32_t index) { return readObject(collection, "Item", {arg::number(index)}); }

// ---- The engine ----

Engine engine = Engine::Undecided;

// ---- PCRE2 in the component's place ----
// The texts go through the same conversions as the component's: in through
// code page 936, out through it again, a match's own text by the same DLL
// commands as fromWideBytes, and the rest as the automation commands make texts of
// the component's strings.

char16_t* pcrePattern(PcreRun* r) { return reinterpret_cast<char16_t*>(r + 1); }
char16_t* pcreSubject(PcreRun* r) { return pcrePattern(r) + r->patternUnits; }

void dropPcre(RegexObject* self) {
  if (!self->pcre) return;
  lw::FreeMemory(self->pcre->run);
  lw::FreeMemory(self->pcre);
  self->pcre = nullptr;
}

// A text of UTF-16 units, as the automation commands make one of a string.
Text textOfUnits(const char16_t* units, size_t n) {
  std::string s = lw::WideToGbk(units, n);
  return lw::MakeText(s.data(), s.size());
}

// A match's own text, as matchText makes it of the component's value.
Text matchTextOfUnits(const char16_t* units, uint32_t n) {
  if (n == 0) return nullptr;
  int32_t size = gbkBytes(units, n);
  if (size <= 0) return nullptr;
  lw::OwnedText out(static_cast<Text>(lw::AllocMemory(size_t(size) + 1)));
  callDll(dll::WideCharToMultiByteBytes,
          {kCodePage, kCompositeCheck, word(units), n, word(out.get()), uint32_t(size), 0, 0});
  out.get()[size] = '\0';
  return out.get()[0] ? out.release() : nullptr;
}

// Whether a component just made finds "a" in "a". One that can be made but cannot
// match (a proxy into another process that cannot carry its calls, say) is taken
// for none, as a missing one is.
bool componentWorks(ObjectRef regExp) {
  VariantRef subject = lw::NewVariantBlock();
  if (char16_t* units = makeVariantText(subject, 1)) units[0] = u'a';
  writeProperty(regExp, "Pattern", {arg::text("a")});
  ObjectRef found = callObject(regExp, "Execute", {arg::variant(subject)});
  bool works = !isObjectEmpty(found) && readNumber(found, "Count") == 1.0;
  freeObject(found);
  freeVariant(subject);
  return works;
}

// The pattern and the subject in UTF-16 in one block, then the search.
bool executeWithPcre(RegexObject* self, const char* pattern, const char* subject, const ExecuteSettings& s) {
  size_t patternBytes = pattern ? strlen(pattern) : 0, subjectBytes = subject ? strlen(subject) : 0;
  // A byte gives at most one unit; the units stay within the 32-bit counts.
  size_t units = 0, bytes = 0;
  if (subjectBytes > 0x3FFFFFFF || patternBytes > 0x3FFFFFFF || !lw::checkedAdd(patternBytes, subjectBytes, &units) ||
      !lw::checkedMul(units, sizeof(char16_t), &bytes) || !lw::checkedAdd(bytes, sizeof(PcreRun), &bytes))
    return false;
  auto* r = static_cast<PcreRun*>(lw::TryAllocMemory(bytes));
  if (!r) return false;
  r->run = nullptr;
  r->patternUnits = uint32_t(lw::GbkToWideInto(pattern, patternBytes, pcrePattern(r), patternBytes));
  r->subjectUnits = uint32_t(lw::GbkToWideInto(subject, subjectBytes, pcreSubject(r), subjectBytes));
  self->pcre = r;
  r->run = runPattern(pcrePattern(r), r->patternUnits, pcreSubject(r), r->subjectUnits,
                      {s.ignoreCase, s.multiline, s.global});
  return r->run != nullptr;
}

// ---- Operations ----

void destroy(RegexObject* self) {
  dropPcre(self);
  release(self);
  lw::FreeMemory(self->regExp);
  lw::FreeMemory(self->matches);
  lw::FreeMemory(self->wideSubject);
  self->regExp = nullptr;
  self->matches = nullptr;
  self->wideSubject = nullptr;
}

RegexObject* copy(const RegexObject* self) {
  auto* c = static_cast<RegexObject*>(lw::AllocMemory(sizeof(RegexObject)));
  c->ops = &kRegexOps;
  c->regExp = lw::NewObjectBlock();
  c->matches = lw::NewObjectBlock();
  c->wideSubject = lw::NewVariantBlock();
  assignObject(c->regExp, self->regExp);
  assignObject(c->matches, self->matches);
  copyVariant(c->wideSubject, self->wideSubject);
  c->pcre = nullptr;
  if (self->pcre) {
    size_t bytes = sizeof(PcreRun) + (size_t(self->pcre->patternUnits) + self->pcre->subjectUnits) * sizeof(char16_t);
    c->pcre = static_cast<PcreRun*>(lw::AllocMemory(bytes));
    memcpy(c->pcre, self->pcre, bytes);
    c->pcre->run = copyMatchRun(self->pcre->run);
  }
  // The copy's destroy stops the component library like any instance's, so the
  // copy starts it once too and the thread stays balanced.
  callDll(dll::CoInitialize, {0});
  return c;
}

bool execute(RegexObject* self, Text* pattern, Text* subject, const bool* caseSensitive, const bool* multiline,
             const bool* global, const bool* quoteEscape) {
  ExecuteSettings s = executeSettings(caseSensitive, multiline, global, quoteEscape);
  releaseObject(self->regExp);
  releaseObject(self->matches);
  dropPcre(self);
  if (engine != Engine::Pcre) {
    createObject(self->regExp, "VBScript.RegExp");
    if (engine == Engine::Undecided) {
      engine = !isObjectEmpty(self->regExp) && componentWorks(self->regExp) ? Engine::Component : Engine::Pcre;
    }
  }
  if (engine == Engine::Pcre) {
    releaseObject(self->regExp);
    clearVariant(self->wideSubject);
    return executeWithPcre(self, lw::OwnedText(componentPattern(pattern ? *pattern : nullptr, s.quoteEscape)).get(),
                           subject ? *subject : nullptr, s);
  }
  // The outcome of each write is not examined: a component without one of these
  // properties keeps its own behaviour.
  writeProperty(self->regExp, "IgnoreCase", {arg::logical(s.ignoreCase)});
  writeProperty(self->regExp, "Multiline", {arg::logical(s.multiline)});
  writeProperty(self->regExp, "Singleline", {arg::logical(true)});
  writeProperty(self->regExp, "Global", {arg::logical(s.global)});
  // The component keeps a copy of the pattern: it goes as soon as it is written.
  writeProperty(self->regExp, "Pattern",
                {arg::text(lw::OwnedText(componentPattern(pattern ? *pattern : nullptr, s.quoteEscape)).get())});
  setWideSubject(self, subject ? *subject : nullptr);

  ObjectRef found = callObject(self->regExp, "Execute", {arg::variant(self->wideSubject)});
  assignObject(self->matches, found);
  freeObject(found);
  return !isObjectEmpty(self->matches);
}

void noOperation(RegexObject*) {}

Text getPattern(RegexObject* self) {
  if (self->pcre) return textOfUnits(pcrePattern(self->pcre), self->pcre->patternUnits);
  if (isObjectEmpty(self->regExp)) return nullptr;
  return readText(self->regExp, "Pattern");
}

Text replace(RegexObject* self, Text* replacement) {
  if (self->pcre) {
    // A refused pattern has nothing to replace with, as the component's call fails.
    if (!self->pcre->run) return nullptr;
    const char* with = replacement && *replacement ? *replacement : "";
    std::u16string units = lw::GbkToWide(with, strlen(with));
    std::u16string out = replaceMatches(self->pcre->run, pcreSubject(self->pcre), self->pcre->subjectUnits,
                                        units.data(), units.size());
    return textOfUnits(out.data(), out.size());
  }
  return callText(self->regExp, "Replace",
                  {arg::variant(self->wideSubject), arg::text(replacement ? *replacement : nullptr)});
}

int32_t matchCount(RegexObject* self) {
  if (self->pcre) return self->pcre->run ? int32_t(self->pcre->run->count) : 0;
  if (isObjectEmpty(self->matches)) return 0;
  return truncated(readNumber(self->matches, "Count"));
}

// The spans of match `match` (1-based) of the PCRE2 run; null when there is none.
const MatchSpan* pcreMatch(RegexObject* self, int32_t match) {
  return match >= 1 ? matchSpans(self->pcre->run, uint32_t(match - 1)) : nullptr;
}

Text matchText(RegexObject* self, int32_t match, int32_t* position) {
  if (self->pcre) {
    const MatchSpan* m = pcreMatch(self, match);
    if (position) *position = m ? gbkBytes(pcreSubject(self->pcre), uint32_t(m[0].start)) : -2;
    return m ? matchTextOfUnits(pcreSubject(self->pcre) + m[0].start, uint32_t(m[0].length)) : nullptr;
  }
  ObjectRef m = item(self->matches, match - 1);
  VariantRef value = readVariant(m, "Value");
  Text t = fromWideBytes(lw::OwnedByteSet(variantToByteSet(value)).get());
  freeVariant(value);
  // The offset comes straight from the component's index: searching the subject
  // for the text could stop at an earlier occurrence of the same text.
  if (position) *position = matchOffset(self, m);
  freeObject(m);
  return t;
}

Text subMatchText(RegexObject* self, int32_t match, int32_t subMatch, int32_t* position) {
  if (self->pcre) {
    const MatchSpan* m = pcreMatch(self, match);
    const MatchSpan* g = m && subMatch >= 1 && uint32_t(subMatch) <= self->pcre->run->groups ? &m[subMatch] : nullptr;
    Text t = g && g->start >= 0 ? textOfUnits(pcreSubject(self->pcre) + g->start, size_t(g->length)) : nullptr;
    if (position) {
      int32_t start = m ? gbkBytes(pcreSubject(self->pcre), uint32_t(m[0].start)) : -2;
      lw::OwnedText subjectGbk(matchTextOfUnits(pcreSubject(self->pcre), self->pcre->subjectUnits));
      *position = groupOffset(subjectGbk.get(), t, start);
    }
    return t;
  }
  ObjectRef m = item(self->matches, match - 1);
  ObjectRef groups = readObject(m, "SubMatches");
  VariantRef value = readVariant(groups, "Item", {arg::number(subMatch - 1)});
  Text t = variantToText(value);
  freeVariant(value);
  freeObject(groups);
  if (position) {
    *position = groupOffset(lw::OwnedText(subjectText(self)).get(), t, matchOffset(self, m));
  }
  freeObject(m);
  return t;
}

int32_t subMatchCount(RegexObject* self) {
  if (self->pcre) return self->pcre->run && self->pcre->run->count ? int32_t(self->pcre->run->groups) : 0;
  ObjectRef m = readObject(self->matches, "Item", {arg::integer(0)});
  ObjectRef groups = readObject(m, "SubMatches");
  int32_t n = isObjectEmpty(groups) ? 0 : truncated(readNumber(groups, "Count"));
  freeObject(groups);
  freeObject(m);
  return n;
}

}  // namespace

const RegexOps kRegexOps = {
    &destroy, &copy, &execute, &noOperation, &getPattern, &replace, &matchCount, &matchText, &subMatchText,
    &subMatchCount,
};

RegexObject* CreateRegexObject() {
  auto* self = static_cast<RegexObject*>(lw::AllocMemory(sizeof(RegexObject)));
  self->ops = &kRegexOps;
  self->regExp = lw::NewObjectBlock();
  self->matches = lw::NewObjectBlock();
  self->wideSubject = lw::NewVariantBlock();
  self->pcre = nullptr;
  setVariantValue(self->wideSubject, arg::integer(0));
  initialise(self);
  return self;
}

void FreeRegexObject(RegexObject* self) {
  if (!self) return;
  self->ops->destroy(self);
  lw::FreeMemory(self);
}

Engine chosenEngine() { return engine; }
void chooseEngine(Engine e) { engine = e; }

lw::ByteSet toWideBytes(const char* text) {
  if (!text || !*text) return nullptr;
  int32_t n = gbkToWide(text, uint32_t(-1), nullptr, 0);
  size_t bytes = 0;
  if (n <= 0 || !lw::checkedMul(size_t(n), 2, &bytes)) return nullptr;
  lw::ByteSet b = lw::MakeByteSet(nullptr, bytes);
  gbkToWide(text, uint32_t(-1), lw::byteSetData(b), uint32_t(n));
  return b;
}

Text fromWideBytes(const lw::ByteSetHeader* bytes) {
  uint32_t units = lw::byteSetLength(bytes) / 2;
  if (units == 0) return nullptr;
  const uint8_t* data = lw::byteSetData(bytes);
  int32_t size = callDll(dll::WideCharToMultiByteSize, {kCodePage, kCompositeCheck, word(data), units, 0, 0, 0, 0});
  if (size <= 0) return nullptr;
  lw::OwnedByteSet out(lw::MakeByteSet(nullptr, size_t(size)));
  callDll(dll::WideCharToMultiByteBytes,
          {kCodePage, kCompositeCheck, word(data), units, word(lw::byteSetData(out.get())), uint32_t(size), 0, 0});
  // Up to the first zero byte, as the byte-set read of a text gives it.
  lw::ArgRecord args[2] = {{reinterpret_cast<lw::Word>(out.get()), 0, lw::type::ByteSet}, {10, 0, lw::type::Int}};
  return reinterpret_cast<Text>(lw::kServices.callLibraryCommand(&lw::core::GetByteSetData, 2, args).low);
}

}  // namespace regex
