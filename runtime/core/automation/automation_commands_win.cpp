// The object and variant commands of the core library, and the thin helpers that
// call them through the service table: creating objects from a class or type
// library name, assigning and releasing them, the read, call and write commands
// over InvokeByName, and the variant commands.
#include "runtime/core/automation/automation_commands_win.h"

#include <ole2.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/automation/automation_internal_win.h"
#include "runtime/core/services/core_commands.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/text/codepage.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"

namespace lw {
namespace {

using namespace automation;
using namespace automation::detail;

void setLogical(ResultRecord* r, bool v) {
  r->low = v ? 1 : 0;
  r->high = 0;
}

// One of the read, call and write commands: InvokeByName with its use and result type.
void invokeCommand(Use use, TypeWord resultType, ResultRecord* r, int argc, ArgRecord* args) {
  InvokeByName(use, argc, args, resultType, r);
}

// ---- Creating objects ----

// The type-library branch: the name looked up as a type in the library file.
IUnknown* createFromTypeLibrary(const char* name, const char* file) {
  std::u16string wideFile = GbkToWide(file, strlen(file));
  std::u16string wideName = GbkToWide(name, strlen(name));
  ITypeLib* lib = nullptr;
  if (FAILED(LoadTypeLib(reinterpret_cast<LPCOLESTR>(wideFile.c_str()), &lib)) || !lib) return nullptr;
  std::vector<OLECHAR> buffer(wideName.begin(), wideName.end());
  buffer.push_back(0);
  ITypeInfo* found[2] = {nullptr, nullptr};
  MEMBERID ids[2] = {0, 0};
  USHORT count = 2;
  IUnknown* unk = nullptr;
  ULONG hash = LHashValOfNameSys(SYS_WIN32, LOCALE_USER_DEFAULT, buffer.data());
  if (SUCCEEDED(lib->FindName(buffer.data(), hash, found, ids, &count)) && count == 1 && found[0]) {
    if (SUCCEEDED(found[0]->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&unk))) && unk &&
        strchr(file, '\\')) {
      RegisterTypeLib(lib, const_cast<LPOLESTR>(reinterpret_cast<LPCOLESTR>(wideFile.c_str())), nullptr);
    }
  }
  for (USHORT i = 0; i < count && i < 2; ++i)
    if (found[i]) found[i]->Release();
  lib->Release();
  return unk;
}

// Where the class may run: anywhere, and, on a system that refuses the remote
// server, on this machine only.
constexpr DWORD kEveryContext = CLSCTX_ALL;
constexpr DWORD kThisMachine = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

IUnknown* createFromClass(const char* text) {
  std::u16string wide = GbkToWide(text, strlen(text));
  LPCOLESTR w = reinterpret_cast<LPCOLESTR>(wide.c_str());
  CLSID clsid;
  HRESULT hr = text[0] == '{' ? CLSIDFromString(const_cast<LPOLESTR>(w), &clsid) : CLSIDFromProgID(w, &clsid);
  if (FAILED(hr)) return nullptr;
  IUnknown* unk = nullptr;
  hr = CoCreateInstance(clsid, nullptr, kEveryContext, IID_IUnknown, reinterpret_cast<void**>(&unk));
  if (hr == E_INVALIDARG)
    hr = CoCreateInstance(clsid, nullptr, kThisMachine, IID_IUnknown, reinterpret_cast<void**>(&unk));
  return SUCCEEDED(hr) ? unk : nullptr;
}

}  // namespace

void ReleaseObjectBlock(ObjectRef o) {
  if (!o) return;
  ForgetObjectNames(o);
  if (IUnknown* unk = ObjectInterface(o)) {
    if (o->record) {
      static_cast<IRecordInfo*>(unk)->RecordDestroy(o->record);
      o->record = nullptr;
    }
    unk->Release();
    o->iface = nullptr;
  } else if (o->record) {
    FreeMemory(o->record);
    o->record = nullptr;
  }
}

namespace core {

void CreateObject(ResultRecord* r, int argc, ArgRecord* args) {
  setLogical(r, false);
  ObjectRef target = objectTarget(argc, args, 0);
  const char* text = argc > 1 ? TextArgument(args[1]) : "";
  if (!target || !*text) return;
  StartOle();
  IUnknown* unk = nullptr;
  if (text[0] != '{' && argc > 2 && given(argc, args, 2)) {
    const char* file = TextArgument(args[2]);
    if (*file) unk = createFromTypeLibrary(text, file);
  }
  if (!unk) unk = createFromClass(text);
  if (!unk) return;
  if (FAILED(OleRun(unk))) {
    unk->Release();
    return;
  }
  ReleaseObjectBlock(target);
  target->iface = unk;
  setLogical(r, true);
}

void ReleaseObject(ResultRecord*, int argc, ArgRecord* args) { ReleaseObjectBlock(objectArg(argc, args, 0)); }

void AssignObject(ResultRecord*, int argc, ArgRecord* args) {
  ObjectRef target = objectTarget(argc, args, 0);
  if (!target) return;
  ObjectRef source = objectArg(argc, args, 1);
  target->iface = nullptr;
  target->record = nullptr;
  if (IUnknown* unk = ObjectInterface(source)) {
    unk->AddRef();
    target->iface = unk;
  }
}

void IsObjectEmpty(ResultRecord* r, int argc, ArgRecord* args) {
  setLogical(r, ObjectInterface(objectArg(argc, args, 0)) == nullptr);
}

void ReadTextProperty(ResultRecord* r, int argc, ArgRecord* args) { invokeCommand(Use::Read, type::Text, r, argc, args); }
void ReadNumberProperty(ResultRecord* r, int argc, ArgRecord* args) {
  invokeCommand(Use::Read, type::Double, r, argc, args);
}
void ReadObjectProperty(ResultRecord* r, int argc, ArgRecord* args) {
  invokeCommand(Use::Read, type::Object, r, argc, args);
}
void ReadVariantProperty(ResultRecord* r, int argc, ArgRecord* args) {
  invokeCommand(Use::Read, type::Variant, r, argc, args);
}
void CallTextMethod(ResultRecord* r, int argc, ArgRecord* args) { invokeCommand(Use::Call, type::Text, r, argc, args); }
void CallNumberMethod(ResultRecord* r, int argc, ArgRecord* args) {
  invokeCommand(Use::Call, type::Double, r, argc, args);
}
void CallObjectMethod(ResultRecord* r, int argc, ArgRecord* args) {
  invokeCommand(Use::Call, type::Object, r, argc, args);
}

void WriteObjectProperty(ResultRecord* r, int argc, ArgRecord* args) {
  ResultRecord ignored = {0, 0, 0};
  InvokeByName(Use::Write, argc, args, type::None, &ignored);
  setLogical(r, LastResult() == kOk);
}

void CopyVariant(ResultRecord*, int argc, ArgRecord* args) {
  VariantRef target = variantArg(argc, args, 0);
  if (!target) return;
  memset(target, 0, sizeof(VariantBlock));
  if (VariantRef source = variantArg(argc, args, 1)) VariantCopy(AsVariant(target), AsVariant(source));
}

void ClearVariant(ResultRecord*, int argc, ArgRecord* args) {
  VariantRef v = variantArg(argc, args, 0);
  if (!v) return;
  VariantClear(AsVariant(v));
  memset(v, 0, sizeof(VariantBlock));
}

void SetVariantValue(ResultRecord* r, int argc, ArgRecord* args) {
  setLogical(r, false);
  VariantRef block = variantArg(argc, args, 0);
  Value value;
  if (!block || argc < 2 || !readValue(args[1], &value)) return;
  VARIANT* v = AsVariant(block);
  if (given(argc, args, 2)) return setLogical(r, putElement(v, value, intArg(argc, args, 2, 0)));
  VariantClear(v);
  memset(block, 0, sizeof(VariantBlock));
  VARIANT made;
  bool ok = (value.isArray || value.type == type::ByteSet) ? arrayToVariant(value, &made)
                                                           : valueToVariant(value, ObjectUse::Assign, VT_EMPTY, &made);
  if (!ok) return;
  *v = made;
  setLogical(r, true);
}

void VariantToText(ResultRecord* r, int argc, ArgRecord* args) { variantToType(argc, args, type::Text, r); }
void VariantToByteSet(ResultRecord* r, int argc, ArgRecord* args) { variantToType(argc, args, type::ByteSet, r); }

}  // namespace core

// ---- Thin helpers through the service table ----
namespace automation {
namespace {

// The records of one command call: a few leading ones, then the caller's. Calls
// take a handful, so the records sit on the stack; a longer list goes to the heap.
struct Records {
  ArgRecord fixed[8];
  std::vector<ArgRecord> spill;
  int count = 0;

  Records(Args leading, Args rest) {
    size_t n = leading.size() + rest.size();
    if (n > sizeof fixed / sizeof fixed[0]) spill.resize(n);
    ArgRecord* out = data();
    for (const ArgRecord& a : leading) out[count++] = a;
    for (const ArgRecord& a : rest) out[count++] = a;
  }
  ArgRecord* data() { return spill.empty() ? fixed : spill.data(); }
};

ResultRecord call(LibraryCommand cmd, Args leading, Args rest = {}) {
  Records records(leading, rest);
  return kServices.callLibraryCommand(cmd, records.count, records.count ? records.data() : nullptr);
}

// A command on the member `name` of an object, with the caller's arguments.
ResultRecord named(LibraryCommand cmd, ObjectRef o, const char* name, Args args) {
  return call(cmd, {arg::object(o), arg::text(name)}, args);
}

double numberOf(const ResultRecord& r) {
  uint64_t bits = (uint64_t(uint32_t(r.high)) << 32) | uint32_t(r.low);
  double d;
  memcpy(&d, &bits, 8);
  return d;
}

ArgRecord indexArg(int32_t index) { return index ? arg::integer(index) : arg::omitted(); }

}  // namespace

bool createObject(ObjectRef target, const char* progId, const char* typeLibrary) {
  if (!typeLibrary) return call(&core::CreateObject, {arg::object(target), arg::text(progId)}).low != 0;
  return call(&core::CreateObject, {arg::object(target), arg::text(progId), arg::text(typeLibrary)}).low != 0;
}
void releaseObject(ObjectRef o) { call(&core::ReleaseObject, {arg::object(o)}); }
void assignObject(ObjectRef target, ObjectRef source) { call(&core::AssignObject, {arg::object(target), arg::object(source)}); }
bool isObjectEmpty(ObjectRef o) { return call(&core::IsObjectEmpty, {arg::object(o)}).low != 0; }
void freeObject(ObjectRef o) {
  if (!o) return;
  releaseObject(o);
  FreeMemory(o);
}
Text readText(ObjectRef o, const char* name, Args args) {
  return reinterpret_cast<Text>(named(&core::ReadTextProperty, o, name, args).low);
}
double readNumber(ObjectRef o, const char* name, Args args) {
  return numberOf(named(&core::ReadNumberProperty, o, name, args));
}
ObjectRef readObject(ObjectRef o, const char* name, Args args) {
  return reinterpret_cast<ObjectRef>(named(&core::ReadObjectProperty, o, name, args).low);
}
VariantRef readVariant(ObjectRef o, const char* name, Args args) {
  return reinterpret_cast<VariantRef>(named(&core::ReadVariantProperty, o, name, args).low);
}
Text callText(ObjectRef o, const char* name, Args args) {
  return reinterpret_cast<Text>(named(&core::CallTextMethod, o, name, args).low);
}
double callNumber(ObjectRef o, const char* name, Args args) {
  return numberOf(named(&core::CallNumberMethod, o, name, args));
}
ObjectRef callObject(ObjectRef o, const char* name, Args args) {
  return reinterpret_cast<ObjectRef>(named(&core::CallObjectMethod, o, name, args).low);
}
bool writeProperty(ObjectRef o, const char* name, Args argsAndValue) {
  return named(&core::WriteObjectProperty, o, name, argsAndValue).low != 0;
}
void copyVariant(VariantRef target, VariantRef source) {
  call(&core::CopyVariant, {arg::variant(target), arg::variant(source)});
}
void clearVariant(VariantRef v) { call(&core::ClearVariant, {arg::variant(v)}); }
void freeVariant(VariantRef v) {
  if (!v) return;
  clearVariant(v);
  FreeMemory(v);
}
bool setVariantValue(VariantRef v, ArgRecord value, int32_t elementIndex) {
  return call(&core::SetVariantValue, {arg::variant(v), value, indexArg(elementIndex)}).low != 0;
}
Text variantToText(VariantRef v, int32_t elementIndex) {
  return reinterpret_cast<Text>(call(&core::VariantToText, {arg::variant(v), indexArg(elementIndex)}).low);
}
ByteSet variantToByteSet(VariantRef v, int32_t elementIndex) {
  return reinterpret_cast<ByteSet>(call(&core::VariantToByteSet, {arg::variant(v), indexArg(elementIndex)}).low);
}

char16_t* makeVariantText(VariantRef v, uint32_t units) {
  if (!v) return nullptr;
  VariantClear(AsVariant(v));
  memset(v, 0, sizeof(VariantBlock));
  // The platform counts a text's length in bytes in 32 bits.
  if (units > 0x7FFFFFFFu / 2) return nullptr;
  BSTR b = SysAllocStringLen(nullptr, UINT(units));
  if (!b) return nullptr;
  memset(b, 0, size_t(units) * 2);
  V_VT(AsVariant(v)) = VT_BSTR;
  V_BSTR(AsVariant(v)) = b;
  return reinterpret_cast<char16_t*>(b);
}

}  // namespace automation
}  // namespace lw
