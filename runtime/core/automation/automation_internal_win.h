// What the automation files share: reading the commands' argument records, and
// turning runtime values into VARIANTs and back, arrays included. The values file
// (automation_values_win.cpp) defines all of it but the names kept per object; the
// binding and invocation file, its caches and the commands file use it. Internal
// to those files.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <cstdint>

#include "runtime/core/automation/automation_win.h"

namespace lw::automation::detail {

// ---- Reading arguments ----

// Whether argument i is there and not omitted.
bool given(int argc, const ArgRecord* args, int i);

// An object or variant argument: the block itself, or the block held by the
// variable a reference points at; null for an argument of another type.
ObjectRef objectArg(int argc, const ArgRecord* args, int i);
VariantRef variantArg(int argc, const ArgRecord* args, int i);

// An object variable to store into: a variable passed by reference that holds no
// block yet receives a fresh one.
ObjectRef objectTarget(int argc, ArgRecord* args, int i);

// A numeric argument as a 32-bit integer; fallback when it is omitted, of another
// type, or a number outside the range.
int32_t intArg(int argc, const ArgRecord* args, int i, int32_t fallback);

// A runtime value: its base type and raw bits (pointers in the low word), read
// through the variable when the argument is a reference.
struct Value {
  TypeWord type = type::None;
  uint64_t bits = 0;
  bool isArray = false;
  template <class T> T* pointer() const { return reinterpret_cast<T*>(uintptr_t(bits)); }
};
bool readValue(const ArgRecord& a, Value* v);

// ---- Runtime value to VARIANT and back ----

// Where an object goes: an argument of a declared type, an argument without a
// declaration, or a variant assignment.
enum class ObjectUse { Declared, Untyped, Assign };

// Makes the VARIANT of a scalar runtime value; false for a type outside the table.
bool valueToVariant(const Value& v, ObjectUse use, VARTYPE declared, VARIANT* out);

// Converts (a copy of) the VARIANT to the runtime type; new blocks for texts,
// objects and variants. False when no conversion exists.
bool variantToValue(const VARIANT* v, TypeWord t, ResultRecord* out);

// Writes a VARIANT back into the caller's variable of type t; the variable is left
// as it was when the VARIANT cannot be converted.
void storeIntoVariable(void* variable, TypeWord t, const VARIANT* v);

// ---- Arrays ----

// A SAFEARRAY (lower bound 0) made from a byte set or an array of a basic type,
// object or variant. False for element types without a VARIANT form.
bool arrayToVariant(const Value& value, VARIANT* out);

// Stores a value into one element (1-based index) of the array the variant holds.
bool putElement(VARIANT* target, const Value& value, int64_t index);

// The variant in args[0] as text or byte set: the whole variant, or with args[1]
// given, that element of the array it holds.
void variantToType(int argc, ArgRecord* args, TypeWord want, ResultRecord* r);

// ---- Names kept per object ----

// Forgets the member numbers kept for objects called through this block; its
// object is being released. Defined with the other kept names
// (automation_name_caches_win.cpp).
void ForgetObjectNames(ObjectRef block);

}  // namespace lw::automation::detail
