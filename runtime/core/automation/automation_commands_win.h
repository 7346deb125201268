// The object and variant commands of the core library, and thin helpers that call
// them through the service table as compiled code does. Platform header: only
// _win.cpp files include it.
#pragma once
#include <initializer_list>

#include "runtime/core/automation/automation.h"

namespace lw {

// ---- The commands ----
namespace core {
void CreateObject(ResultRecord* r, int argc, ArgRecord* args);
void ReleaseObject(ResultRecord* r, int argc, ArgRecord* args);
void AssignObject(ResultRecord* r, int argc, ArgRecord* args);
void IsObjectEmpty(ResultRecord* r, int argc, ArgRecord* args);
void ReadTextProperty(ResultRecord* r, int argc, ArgRecord* args);
void ReadNumberProperty(ResultRecord* r, int argc, ArgRecord* args);
void ReadObjectProperty(ResultRecord* r, int argc, ArgRecord* args);
void ReadVariantProperty(ResultRecord* r, int argc, ArgRecord* args);
void CallTextMethod(ResultRecord* r, int argc, ArgRecord* args);
void CallNumberMethod(ResultRecord* r, int argc, ArgRecord* args);
void CallObjectMethod(ResultRecord* r, int argc, ArgRecord* args);
void WriteObjectProperty(ResultRecord* r, int argc, ArgRecord* args);
void CopyVariant(ResultRecord* r, int argc, ArgRecord* args);
void ClearVariant(ResultRecord* r, int argc, ArgRecord* args);
void SetVariantValue(ResultRecord* r, int argc, ArgRecord* args);
void VariantToText(ResultRecord* r, int argc, ArgRecord* args);
void VariantToByteSet(ResultRecord* r, int argc, ArgRecord* args);
}  // namespace core

// ---- Thin helpers: each builds the records and calls the command through the
// service table, as compiled code does. Results are new blocks owned by the caller.
namespace automation {
using Args = std::initializer_list<ArgRecord>;
bool createObject(ObjectRef target, const char* progId, const char* typeLibrary = nullptr);
void releaseObject(ObjectRef o);
void assignObject(ObjectRef target, ObjectRef source);
bool isObjectEmpty(ObjectRef o);
// Releases the object and frees its block.
void freeObject(ObjectRef o);
Text readText(ObjectRef o, const char* name, Args args = {});
double readNumber(ObjectRef o, const char* name, Args args = {});
ObjectRef readObject(ObjectRef o, const char* name, Args args = {});
VariantRef readVariant(ObjectRef o, const char* name, Args args = {});
Text callText(ObjectRef o, const char* name, Args args = {});
double callNumber(ObjectRef o, const char* name, Args args = {});
ObjectRef callObject(ObjectRef o, const char* name, Args args = {});
bool writeProperty(ObjectRef o, const char* name, Args argsAndValue);
void copyVariant(VariantRef target, VariantRef source);
void clearVariant(VariantRef v);
// Clears the variant and frees its block.
void freeVariant(VariantRef v);
bool setVariantValue(VariantRef v, ArgRecord value, int32_t elementIndex = 0);
Text variantToText(VariantRef v, int32_t elementIndex = 0);
ByteSet variantToByteSet(VariantRef v, int32_t elementIndex = 0);

// Not a command: makes the variant hold a text of `units` UTF-16 units, all zero,
// and returns where they lie for the caller to fill in place, so no code page is
// involved and no copy is made. Null when the text cannot be made; the variant is
// then empty.
char16_t* makeVariantText(VariantRef v, uint32_t units);
}  // namespace automation

}  // namespace lw
