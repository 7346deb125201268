// Binding and invocation: InvokeByName, the one routine behind every read, call
// and write by name. It binds the name through the object's type information
// (or the dual interface it answers for, or else the object's own name lookup),
// builds the arguments the member's declaration asks for, invokes, writes back
// what the component changed in by-reference variables and converts the result.
#include <ole2.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "runtime/core/automation_internal_win.h"
#include "runtime/core/codepage.h"
#include "runtime/core/core_commands.h"
#include "runtime/core/memory.h"
#include "runtime/core/runtime_app_win.h"
#include "runtime/core/values.h"

namespace lw {
namespace {

using namespace automation;
using namespace automation::detail;

// ---- Declared parameter types ----

struct ParamType {
  VARTYPE base = VT_VARIANT;
  bool byRef = false;
  bool isArray = false;
  bool out = false;
};

// What a user-defined type stands for; aliases are followed a bounded number of steps.
VARTYPE resolveUserDefined(ITypeInfo* owner, HREFTYPE ref, int depth, bool* isInterface);

VARTYPE resolveTypeDesc(ITypeInfo* owner, const TYPEDESC* td, int depth, ParamType* p) {
  while (td && depth < 16) {
    ++depth;
    switch (td->vt) {
      case VT_PTR: {
        // A pointer to an interface is the interface itself; any other pointer
        // makes the parameter a reference.
        const TYPEDESC* inner = td->lptdesc;
        bool isInterface = false;
        if (inner && inner->vt == VT_USERDEFINED) {
          VARTYPE vt = resolveUserDefined(owner, inner->hreftype, depth, &isInterface);
          if (isInterface) return vt;
        }
        if (p) p->byRef = true;
        td = inner;
        break;
      }
      case VT_SAFEARRAY:
      case VT_CARRAY:
        if (p) p->isArray = true;
        td = td->vt == VT_CARRAY ? (td->lpadesc ? &td->lpadesc->tdescElem : nullptr) : td->lptdesc;
        break;
      case VT_USERDEFINED: {
        bool isInterface = false;
        return resolveUserDefined(owner, td->hreftype, depth, &isInterface);
      }
      case VT_INT: return VT_I4;
      case VT_UINT: return VT_UI4;
      default: return td->vt;
    }
  }
  return VT_VARIANT;
}

VARTYPE resolveUserDefined(ITypeInfo* owner, HREFTYPE ref, int depth, bool* isInterface) {
  *isInterface = false;
  ITypeInfo* ti = nullptr;
  if (FAILED(owner->GetRefTypeInfo(ref, &ti)) || !ti) return VT_UNKNOWN;
  TYPEATTR* attr = nullptr;
  VARTYPE vt = VT_UNKNOWN;
  if (SUCCEEDED(ti->GetTypeAttr(&attr)) && attr) {
    switch (attr->typekind) {
      case TKIND_ENUM: vt = VT_I4; break;
      case TKIND_DISPATCH: vt = VT_DISPATCH; *isInterface = true; break;
      case TKIND_INTERFACE:
        vt = (attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE) ? VT_DISPATCH : VT_UNKNOWN;
        *isInterface = true;
        break;
      case TKIND_COCLASS: vt = VT_UNKNOWN; *isInterface = true; break;
      case TKIND_ALIAS: vt = resolveTypeDesc(ti, &attr->tdescAlias, depth + 1, nullptr); break;
      default: vt = VT_UNKNOWN; break;
    }
    ti->ReleaseTypeAttr(attr);
  }
  ti->Release();
  return vt;
}

ParamType paramTypeOf(ITypeInfo* owner, const ELEMDESC& e) {
  ParamType p;
  p.base = resolveTypeDesc(owner, &e.tdesc, 0, &p);
  p.out = (e.paramdesc.wParamFlags & PARAMFLAG_FOUT) != 0;
  return p;
}

// ---- Binding ----

// What a name bound to.
struct Member {
  MEMBERID id = DISPID_UNKNOWN;
  WORD flags = 0;
  int params = 0;
  int optional = 0;  // -1: a variable argument list in the last parameter
  bool typed = false;
  std::vector<ParamType> types;
};

void memberFromFunc(ITypeInfo* owner, const FUNCDESC* f, Member* m) {
  m->id = f->memid;
  m->flags = WORD(f->invkind);
  m->optional = f->cParamsOpt;
  m->typed = true;
  for (int i = 0; i < f->cParams; ++i) {
    // A return-value or locale parameter of an interface's own description is not
    // passed through the automation interface.
    if (f->lprgelemdescParam[i].paramdesc.wParamFlags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID)) continue;
    m->types.push_back(paramTypeOf(owner, f->lprgelemdescParam[i]));
  }
  m->params = int(m->types.size());
}

void memberFromVar(ITypeInfo* owner, const VARDESC* v, Use use, Member* m) {
  m->id = v->memid;
  m->typed = true;
  if (use != Use::Write) {
    m->flags = DISPATCH_PROPERTYGET;
    return;
  }
  ParamType p = paramTypeOf(owner, v->elemdescVar);
  bool byReference = p.isArray || p.base == VT_UNKNOWN || p.base == VT_DISPATCH;
  m->flags = byReference ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  m->types.push_back(p);
  m->params = 1;
}

int32_t bindThroughTypeInfo(ITypeComp* comp, LPOLESTR name, Use use, Member* m) {
  ULONG hash = LHashValOfNameSys(SYS_WIN32, LOCALE_USER_DEFAULT, name);
  for (const uint16_t* kind = InvokeKindOrder(use); *kind; ++kind) {
    ITypeInfo* bound = nullptr;
    DESCKIND desc = DESCKIND_NONE;
    BINDPTR ptr;
    ptr.lpfuncdesc = nullptr;
    HRESULT hr = comp->Bind(name, hash, *kind, &bound, &desc, &ptr);
    if (FAILED(hr) || desc == DESCKIND_NONE) {
      if (bound) bound->Release();
      continue;
    }
    int32_t code = kOk;
    switch (desc) {
      case DESCKIND_FUNCDESC:
        memberFromFunc(bound, ptr.lpfuncdesc, m);
        bound->ReleaseFuncDesc(ptr.lpfuncdesc);
        break;
      case DESCKIND_VARDESC:
        memberFromVar(bound, ptr.lpvardesc, use, m);
        bound->ReleaseVarDesc(ptr.lpvardesc);
        break;
      case DESCKIND_IMPLICITAPPOBJ:
        if (bound && ptr.lpvardesc) bound->ReleaseVarDesc(ptr.lpvardesc);
        code = kUnknownName;
        break;
      case DESCKIND_TYPECOMP:
        if (ptr.lptcomp) ptr.lptcomp->Release();
        code = kUnknownName;
        break;
      default: code = kUnknownName; break;
    }
    if (bound) bound->Release();
    return code;
  }
  return kUnknownName;
}

// ---- Bindings already made ----

// Binding a name through type information costs more than the call itself, and a
// type's information never changes, so what a name bound to is kept per type
// information and name. Each entry holds a reference to its type information, so
// the address cannot come to stand for another type. Kept only on the runtime's
// main thread, whose OLE start-up outlives every object there, and given back at
// shutdown before OLE stops.
struct BoundName {
  ITypeInfo* info;
  Use use;
  std::string name;
  std::shared_ptr<const Member> member;  // shared with a call under way
};
std::vector<BoundName> g_boundNames;
constexpr size_t kMaxBoundNames = 256;

bool mayKeepBindings() { return g_app.oleStarted && GetCurrentThreadId() == g_app.mainThreadId; }

void forgetBindings() {
  for (BoundName& b : g_boundNames) b.info->Release();
  g_boundNames.clear();
}

std::shared_ptr<const Member> boundBefore(ITypeInfo* info, Use use, const char* name) {
  if (!mayKeepBindings()) return nullptr;  // kept and changed on the main thread only
  for (const BoundName& b : g_boundNames)
    if (b.info == info && b.use == use && b.name == name) return b.member;
  return nullptr;
}

void noteLibraryOf(ITypeInfo* info);

void keepBinding(ITypeInfo* info, Use use, const char* name, const Member& m) {
  if (!mayKeepBindings()) return;
  if (g_boundNames.size() >= kMaxBoundNames) forgetBindings();
  if (g_boundNames.empty()) RegisterCleanupRoutine(&forgetBindings);
  g_boundNames.push_back({info, use, name, std::make_shared<const Member>(m)});
  info->AddRef();
  noteLibraryOf(info);
}

// ---- Objects described by a dual interface they answer for ----

// Some components describe the object they are created as, but not the objects its
// members return (a match list, a match): these claim type information and fail to
// give it, so each fresh one would have to be asked for its names. A dual
// interface's description, member numbers included, is part of the interface's
// published contract. So when such an object answers for a dual interface of a
// type library the program has already bound names through, with the very
// pointer it gives as its automation interface, that interface's description is
// the object's own, and its names bind through it like any described object's.
// Main thread only, like the kept bindings; given back at shutdown.
struct DualInterface {
  IID iid;
  ITypeInfo* info;
  const void* lastTable;  // the function table of the object that answered last
};
std::vector<ITypeLib*> g_librariesSeen;
std::vector<DualInterface> g_duals;
constexpr size_t kMaxLibraries = 8;
constexpr size_t kMaxDuals = 64;

void forgetDualInterfaces() {
  for (DualInterface& d : g_duals) d.info->Release();
  for (ITypeLib* lib : g_librariesSeen) lib->Release();
  g_duals.clear();
  g_librariesSeen.clear();
}

// The dual interfaces of the library that holds `info`, read once per library.
void noteLibraryOf(ITypeInfo* info) {
  ITypeLib* lib = nullptr;
  UINT index = 0;
  if (FAILED(info->GetContainingTypeLib(&lib, &index)) || !lib) return;
  bool seen = false;
  for (ITypeLib* l : g_librariesSeen) seen = seen || l == lib;
  if (seen || g_librariesSeen.size() >= kMaxLibraries) {
    lib->Release();
    return;
  }
  if (g_librariesSeen.empty()) RegisterCleanupRoutine(&forgetDualInterfaces);
  g_librariesSeen.push_back(lib);  // the library's reference passes to the list
  for (UINT i = 0, n = lib->GetTypeInfoCount(); i < n && g_duals.size() < kMaxDuals; ++i) {
    ITypeInfo* ti = nullptr;
    if (FAILED(lib->GetTypeInfo(i, &ti)) || !ti) continue;
    TYPEATTR* attr = nullptr;
    if (SUCCEEDED(ti->GetTypeAttr(&attr)) && attr) {
      if (attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL)) {
        g_duals.push_back({attr->guid, ti, nullptr});
        ti->AddRef();
      }
      ti->ReleaseTypeAttr(attr);
    }
    ti->Release();
  }
}

// True when `disp` answers for the dual interface with the very same pointer.
bool isAutomationInterfaceOf(IDispatch* disp, const DualInterface& d) {
  void* p = nullptr;
  if (FAILED(disp->QueryInterface(d.iid, &p)) || !p) return false;
  static_cast<IUnknown*>(p)->Release();
  return p == static_cast<void*>(disp);  // otherwise another interface of the object
}

// The description of the dual interface `disp` is the automation interface of,
// with a reference; null when it is none of those seen. The interface that an
// object with the same function table answered for is asked first: objects of one
// kind usually share the table, though only the object's own answer counts.
ITypeInfo* dualInterfaceOf(IDispatch* disp) {
  if (g_duals.empty() || !mayKeepBindings()) return nullptr;
  UINT count = 0;
  if (FAILED(disp->GetTypeInfoCount(&count)) || count == 0) return nullptr;  // claims none
  const void* table = *reinterpret_cast<void* const*>(disp);
  DualInterface* found = nullptr;
  for (DualInterface& d : g_duals)
    if (!found && d.lastTable == table && isAutomationInterfaceOf(disp, d)) found = &d;
  for (DualInterface& d : g_duals)
    if (!found && d.lastTable != table && isAutomationInterfaceOf(disp, d)) found = &d;
  if (!found) return nullptr;
  found->lastTable = table;
  found->info->AddRef();
  return found->info;
}

// ---- Names of objects without type information ----

// An object without type information is asked for the number of each name it is
// called by, and for some components that lookup costs more than the call. What a
// name stands for does not change while the object lives, so the number is kept
// for the object as long as the runtime block it was called through still holds
// it: releasing the block forgets the names (ForgetObjectNames, from any thread),
// and a block that came to hold another object matches no entry. Objects of the
// same kind are not assumed to share numbers: some implementations give every
// instance its own. Used on the main thread, for the few names called last; plain
// records, so that a release during the process's exit finds them intact.
struct ObjectName {
  ObjectRef block;
  void* object;
  DISPID id;
  char name[32];
};
constexpr size_t kMaxObjectNames = 16;
ObjectName g_objectNames[kMaxObjectNames];
size_t g_objectNameCount = 0;
SRWLOCK g_objectNamesLock = SRWLOCK_INIT;

bool nameKnown(ObjectRef block, const char* name, DISPID* id) {
  if (!mayKeepBindings()) return false;
  AcquireSRWLockShared(&g_objectNamesLock);
  bool found = false;
  for (size_t i = 0; i < g_objectNameCount && !found; ++i) {
    const ObjectName& n = g_objectNames[i];
    if (n.block == block && n.object == block->iface && strcmp(n.name, name) == 0) {
      *id = n.id;
      found = true;
    }
  }
  ReleaseSRWLockShared(&g_objectNamesLock);
  return found;
}

void keepName(ObjectRef block, const char* name, DISPID id) {
  if (!mayKeepBindings() || strlen(name) >= sizeof(ObjectName::name)) return;
  AcquireSRWLockExclusive(&g_objectNamesLock);
  if (g_objectNameCount == kMaxObjectNames) {
    memmove(&g_objectNames[0], &g_objectNames[1], sizeof(ObjectName) * (kMaxObjectNames - 1));
    --g_objectNameCount;
  }
  ObjectName& n = g_objectNames[g_objectNameCount++];
  n.block = block;
  n.object = block->iface;
  n.id = id;
  strcpy(n.name, name);
  ReleaseSRWLockExclusive(&g_objectNamesLock);
}

// ---- Arguments ----

// One argument as the component receives it, with the holding VARIANT of a
// by-reference argument and what to write back after the call.
struct Slot {
  VARIANT arg;
  VARIANT hold;
  bool argIsView = false;  // arg points into (or copies) hold: only hold is cleared
  void* writeBackTo = nullptr;
  TypeWord writeBackType = type::None;
};

// The slots of one call. A call takes a few arguments, so they sit on the stack; a
// longer list goes to the heap.
struct ArgumentList {
  static constexpr int kOnStack = 4;
  Slot fixedSlots[kOnStack];
  VARIANTARG fixedArgs[kOnStack];
  std::vector<Slot> moreSlots;
  std::vector<VARIANTARG> moreArgs;
  Slot* slots = fixedSlots;        // in argument order
  VARIANTARG* rgvarg = fixedArgs;  // what Invoke receives: last argument first
  int count = 0;

  void resize(int n) {
    if (n > kOnStack) {
      moreSlots.resize(size_t(n));
      moreArgs.resize(size_t(n));
      slots = moreSlots.data();
      rgvarg = moreArgs.data();
    }
    count = n;
    for (int i = 0; i < n; ++i) {
      VariantInit(&slots[i].arg);
      VariantInit(&slots[i].hold);
    }
  }
  ~ArgumentList() {
    for (int i = 0; i < count; ++i) {
      if (!slots[i].argIsView) VariantClear(&slots[i].arg);
      VariantClear(&slots[i].hold);
    }
  }
};

void missing(VARIANT* v) {
  VariantInit(v);
  V_VT(v) = VT_ERROR;
  V_ERROR(v) = SCODE(kMissingArgument);
}

// The VARIANT of one runtime argument: kOk, or kBadArgumentType for a type that
// cannot be passed. An omitted argument, or one whose VARIANT is empty, becomes the
// missing-argument marker.
int32_t convertArgument(const ArgRecord& a, ObjectUse use, VARTYPE declared, VARIANT* out) {
  VariantInit(out);
  if (type::base(a.type) == type::None) {
    missing(out);
    return kOk;
  }
  Value v;
  if (!readValue(a, &v) || !valueToVariant(v, use, declared, out)) return kBadArgumentType;
  if (V_VT(out) == VT_EMPTY) missing(out);
  return kOk;
}

// A by-reference parameter: the value goes into the holding VARIANT and the
// component receives a reference to it where the declared type allows.
void passByReference(Slot& s, const ParamType& p) {
  VARIANT& h = s.hold;
  s.argIsView = true;
  if (V_VT(&h) == VT_ERROR && V_ERROR(&h) == SCODE(kMissingArgument)) {
    s.arg = h;
    return;
  }
  if (p.isArray) {
    if (V_VT(&h) & VT_ARRAY) {
      V_VT(&s.arg) = VARTYPE(V_VT(&h) | VT_BYREF);
      V_ARRAYREF(&s.arg) = &V_ARRAY(&h);
    } else {
      s.arg = h;
    }
    return;
  }
  if (p.base == VT_VARIANT) {
    V_VT(&s.arg) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&s.arg) = &h;
    return;
  }
  if (p.base != VT_RECORD && SUCCEEDED(VariantChangeType(&h, &h, 0, p.base))) {
    V_VT(&s.arg) = VARTYPE(p.base | VT_BYREF);
    V_BYREF(&s.arg) = (p.base == VT_DECIMAL) ? static_cast<void*>(&V_DECIMAL(&h)) : static_cast<void*>(&V_UI1(&h));
    return;
  }
  s.arg = h;
}

// Packs the arguments of a variable argument list into one SAFEARRAY of VARIANTs.
int32_t packVariableArguments(const ArgRecord* first, int count, VARIANT* out) {
  SAFEARRAY* sa = SafeArrayCreateVector(VT_VARIANT, 0, ULONG(count));
  if (!sa) return kOtherFailure;
  for (LONG i = 0; i < count; ++i) {
    VARIANT v;
    int32_t code = convertArgument(first[i], ObjectUse::Untyped, VT_VARIANT, &v);
    if (code != kOk) {
      SafeArrayDestroy(sa);
      return code;
    }
    SafeArrayPutElement(sa, &i, &v);
    VariantClear(&v);
  }
  VariantInit(out);
  V_VT(out) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(out) = sa;
  return kOk;
}

int32_t buildArguments(const Member& m, const ArgRecord* values, int given, ArgumentList* list) {
  // A variable argument list: the arguments from the last parameter on travel
  // together as one array in it, even when there are none.
  bool variable = m.typed && m.optional == -1 && m.params > 0 && given >= m.params - 1;
  int fixed = variable ? m.params - 1 : given;
  int count = variable ? fixed + 1 : given;
  list->resize(count);
  for (int i = 0; i < count; ++i) {
    Slot& s = list->slots[i];
    if (variable && i == fixed) {
      int32_t code = packVariableArguments(values + fixed, given - fixed, &s.hold);
      if (code != kOk) return code;
      const ParamType& last = m.types[size_t(m.params - 1)];
      if (last.byRef) {
        passByReference(s, last);
      } else {
        s.arg = s.hold;
        s.argIsView = true;
      }
      continue;
    }
    const ArgRecord& a = values[i];
    if (!m.typed) {
      int32_t code = convertArgument(a, ObjectUse::Untyped, VT_VARIANT, &s.arg);
      if (code != kOk) return code;
      continue;
    }
    const ParamType& p = m.types[size_t(i)];
    if (!p.byRef) {
      int32_t code = convertArgument(a, ObjectUse::Declared, p.base, &s.arg);
      if (code != kOk) return code;
      continue;
    }
    int32_t code = convertArgument(a, ObjectUse::Declared, p.base, &s.hold);
    if (code != kOk) return code;
    passByReference(s, p);
    if (p.out && type::isByRef(a.type) && !type::isArray(a.type)) {
      s.writeBackTo = reinterpret_cast<void*>(a.low);
      s.writeBackType = type::base(a.type);
    }
  }
  for (int i = 0; i < count; ++i) list->rgvarg[count - 1 - i] = list->slots[i].arg;
  return kOk;
}

HRESULT invoke(IDispatch* disp, const Member& m, WORD flags, ArgumentList& list, VARIANT* result) {
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS dp = {};
  dp.rgvarg = list.count ? list.rgvarg : nullptr;
  dp.cArgs = UINT(list.count);
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    dp.rgdispidNamedArgs = &putId;
    dp.cNamedArgs = 1;
  }
  VariantClear(result);
  return disp->Invoke(m.id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result, nullptr, nullptr);
}

void setEmptyResult(TypeWord resultType, ResultRecord* r) {
  r->low = 0;
  r->high = 0;
  if (resultType == type::Object) setResultPointer(r, NewObjectBlock());
  if (resultType == type::Variant) setResultPointer(r, NewVariantBlock());
}

// The binding and the call, with everything acquired released on the way out.
int32_t bindAndInvoke(Use use, int argc, ArgRecord* args, TypeWord resultType, ResultRecord* result) {
  ObjectRef o = objectArg(argc, args, 0);
  IUnknown* unk = ObjectInterface(o);
  if (!unk) return kEmptyObject;
  const char* nameText = argc > 1 ? core::TextArgument(args[1]) : "";
  // The name in UTF-16 is made only when it must be bound: a kept binding needs none.
  std::u16string wideName;
  auto wide = [&]() -> LPOLESTR {
    wideName = GbkToWide(nameText, strlen(nameText));
    return const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(wideName.c_str()));
  };

  IDispatch* disp = nullptr;
  if (FAILED(unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))) || !disp) return kNoDispatch;

  int32_t code = kOk;
  Member fresh;
  std::shared_ptr<const Member> kept;  // a kept binding, alive until the call is over
  ITypeInfo* info = nullptr;
  ITypeComp* comp = nullptr;
  if (FAILED(disp->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info))) info = nullptr;
  const bool described = info != nullptr;  // by the object itself
  bool bound = !described && nameKnown(o, nameText, &fresh.id);
  if (!described && !bound) info = dualInterfaceOf(disp);
  if (info) {
    if ((kept = boundBefore(info, use, nameText))) {
      bound = true;
    } else if (SUCCEEDED(info->GetTypeComp(&comp)) && comp) {
      code = bindThroughTypeInfo(comp, wide(), use, &fresh);
      if (code == kOk) keepBinding(info, use, nameText, fresh);
      // A name a dual interface does not describe is left to the object's own lookup.
      bound = described || code == kOk;
      if (!bound) code = kOk;
    }
  }
  if (!bound) {
    // No type information: the object's own name lookup, trying the kinds in turn.
    LPOLESTR name = wide();
    HRESULT hr = disp->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &fresh.id);
    code = SUCCEEDED(hr) ? kOk : (hr == E_NOTIMPL ? kNoTypeInfo : kUnknownName);
    if (code == kOk) keepName(o, nameText, fresh.id);
  }
  const Member& m = kept ? *kept : fresh;
  int given = CountGivenArguments(argc, args);
  if (code == kOk && m.typed) code = CheckArgumentCount(given, m.params, m.optional);

  VARIANT res;
  VariantInit(&res);
  if (code == kOk) {
    ArgumentList list;
    code = buildArguments(m, args + 2, given, &list);
    HRESULT hr = E_FAIL;
    if (code == kOk && m.typed) {
      hr = invoke(disp, m, m.flags, list, &res);
    } else if (code == kOk) {
      for (const uint16_t* kind = InvokeKindOrder(use); *kind; ++kind) {
        hr = invoke(disp, m, *kind, list, &res);
        if (hr != DISP_E_MEMBERNOTFOUND) break;
      }
    }
    if (code == kOk) code = SUCCEEDED(hr) ? kOk : CodeForInvokeFailure(uint32_t(hr));
    if (code == kOk) {
      for (int i = 0; i < list.count; ++i)
        if (list.slots[i].writeBackTo)
          storeIntoVariable(list.slots[i].writeBackTo, list.slots[i].writeBackType, &list.slots[i].hold);
      if (resultType == type::Variant && !(V_VT(&res) & VT_BYREF)) {
        // The result is this call's own: it moves into the new block uncopied.
        VariantRef block = NewVariantBlock();
        *AsVariant(block) = res;
        VariantInit(&res);
        setResultPointer(result, block);
      } else if (resultType != type::None && !variantToValue(&res, resultType, result)) {
        code = kBadResultType;
      }
    }
  }
  VariantClear(&res);
  if (comp) comp->Release();
  if (info) info->Release();
  disp->Release();
  return code;
}

}  // namespace

void automation::detail::ForgetObjectNames(ObjectRef block) {
  AcquireSRWLockExclusive(&g_objectNamesLock);
  size_t kept = 0;
  for (size_t i = 0; i < g_objectNameCount; ++i)
    if (g_objectNames[i].block != block) g_objectNames[kept++] = g_objectNames[i];
  g_objectNameCount = kept;
  ReleaseSRWLockExclusive(&g_objectNamesLock);
}

int32_t InvokeByName(Use use, int argc, ArgRecord* args, TypeWord resultType, ResultRecord* result) {
  result->low = 0;
  result->high = 0;
  result->type = resultType;
  int32_t code = bindAndInvoke(use, argc, args, resultType, result);
  if (code != kOk) setEmptyResult(resultType, result);
  SetLastResult(code);
  return code;
}

}  // namespace lw
