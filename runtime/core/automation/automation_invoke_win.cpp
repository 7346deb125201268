// Binding and invocation: InvokeByName, the one routine behind every read, call
// and write by name. It binds the name through the object's type information
// (or the dual interface it answers for, or else the object's own name lookup),
// builds the arguments the member's declaration asks for, invokes, writes back
// what the component changed in by-reference variables and converts the result.
// What names bound to is kept between calls in automation_name_caches_win.cpp.
#include <ole2.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "runtime/core/automation/automation_internal_win.h"
#include "runtime/core/automation/automation_name_caches_win.h"
#include "runtime/core/automation/com_ref_win.h"
#include "runtime/core/services/core_commands.h"
#include "runtime/core/text/codepage.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"

namespace lw {
namespace {

using namespace automation;
using namespace automation::detail;

// ---- Declared parameter types ----

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

// ---- Binding a name for one call ----

// The name a call binds, in the program's text. Its UTF-16 form is made only when
// the name must be bound: a kept binding needs none.
class CallName {
 public:
  explicit CallName(const char* text) : text_(text) {}
  const char* text() const { return text_; }
  LPOLESTR wide() {
    if (!madeWide_) wide_ = GbkToWide(text_, strlen(text_));
    madeWide_ = true;
    return const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(wide_.c_str()));
  }

 private:
  const char* text_;
  std::u16string wide_;
  bool madeWide_ = false;
};

// What a name bound to for one call: a kept binding, held until the call is over,
// or one made now.
struct Binding {
  Member fresh;
  std::shared_ptr<const Member> kept;
  const Member& member() const { return kept ? *kept : fresh; }
};

// Binds through a type's description: a binding kept from before, or one made now
// and kept. False when the description offers no way to bind names; otherwise
// *code says whether it holds the name.
bool bindThroughDescription(ITypeInfo* info, Use use, CallName& name, Binding* b, int32_t* code) {
  *code = kOk;
  if ((b->kept = BoundBefore(info, use, name.text()))) return true;
  ITypeComp* raw = nullptr;
  HRESULT hr = info->GetTypeComp(&raw);
  ComRef<ITypeComp> comp = ComRef<ITypeComp>::adoptIfSucceeded(hr, raw);
  if (!comp) return false;
  *code = bindThroughTypeInfo(comp.get(), name.wide(), use, &b->fresh);
  if (*code == kOk) KeepBinding(info, use, name.text(), b->fresh);
  return true;
}

// No type information: the object's own name lookup, kept for the object.
int32_t bindByOwnLookup(IDispatch* disp, ObjectRef o, CallName& name, Member* m) {
  LPOLESTR wide = name.wide();
  HRESULT hr = disp->GetIDsOfNames(IID_NULL, &wide, 1, LOCALE_USER_DEFAULT, &m->id);
  if (FAILED(hr)) return hr == E_NOTIMPL ? kNoTypeInfo : kUnknownName;
  KeepName(o, name.text(), m->id);
  return kOk;
}

// Binds the name: through the object's own description, which settles it; else
// through a number kept for the object, or the dual interface it answers for;
// else through the object's own lookup.
int32_t bindName(IDispatch* disp, ObjectRef o, Use use, CallName& name, Binding* b) {
  ITypeInfo* raw = nullptr;
  HRESULT hr = disp->GetTypeInfo(0, LOCALE_USER_DEFAULT, &raw);
  ComRef<ITypeInfo> info = ComRef<ITypeInfo>::adoptIfSucceeded(hr, raw);
  int32_t code = kOk;
  if (info) {
    if (bindThroughDescription(info.get(), use, name, b, &code)) return code;
  } else if (NameKnown(o, name.text(), &b->fresh.id)) {
    return kOk;
  } else if (ComRef<ITypeInfo> dual = DualInterfaceOf(disp)) {
    // A name a dual interface does not describe is left to the object's own lookup.
    if (bindThroughDescription(dual.get(), use, name, b, &code) && code == kOk) return kOk;
  }
  return bindByOwnLookup(disp, o, name, &b->fresh);
}

// ---- Invoking the bound member ----

// A VARIANT cleared when it goes out of scope.
struct ResultVariant {
  VARIANT v;
  ResultVariant() { VariantInit(&v); }
  ~ResultVariant() { VariantClear(&v); }
  ResultVariant(const ResultVariant&) = delete;
  ResultVariant& operator=(const ResultVariant&) = delete;
};

// Invokes the member. One bound by the object's own lookup has no declared kind,
// so the kinds the use allows are tried in turn.
HRESULT invokeMember(IDispatch* disp, const Member& m, Use use, ArgumentList& list, VARIANT* res) {
  if (m.typed) return invoke(disp, m, m.flags, list, res);
  HRESULT hr = E_FAIL;
  for (const uint16_t* kind = InvokeKindOrder(use); *kind; ++kind) {
    hr = invoke(disp, m, *kind, list, res);
    if (hr != DISP_E_MEMBERNOTFOUND) break;
  }
  return hr;
}

// Writes back into the caller's variables what the component changed in them.
void writeBack(const ArgumentList& list) {
  for (int i = 0; i < list.count; ++i) {
    const Slot& s = list.slots[i];
    if (s.writeBackTo) storeIntoVariable(s.writeBackTo, s.writeBackType, &s.hold);
  }
}

// Converts the call's result to the runtime type asked for.
int32_t takeResult(VARIANT* res, TypeWord resultType, ResultRecord* result) {
  if (resultType == type::Variant && !(V_VT(res) & VT_BYREF)) {
    // The result is this call's own: it moves into the new block uncopied.
    VariantRef block = NewVariantBlock();
    *AsVariant(block) = *res;
    VariantInit(res);
    setResultPointer(result, block);
    return kOk;
  }
  if (resultType != type::None && !variantToValue(res, resultType, result)) return kBadResultType;
  return kOk;
}

// Builds the arguments, invokes, writes back and takes the result.
int32_t callMember(IDispatch* disp, const Member& m, Use use, const ArgRecord* values, int given, TypeWord resultType,
                   ResultRecord* result) {
  ResultVariant res;
  ArgumentList list;
  int32_t code = buildArguments(m, values, given, &list);
  if (code != kOk) return code;
  HRESULT hr = invokeMember(disp, m, use, list, &res.v);
  if (FAILED(hr)) return CodeForInvokeFailure(uint32_t(hr));
  writeBack(list);
  return takeResult(&res.v, resultType, result);
}

// The binding and the call; what they acquire is held by owning pointers.
int32_t bindAndInvoke(Use use, int argc, ArgRecord* args, TypeWord resultType, ResultRecord* result) {
  ObjectRef o = objectArg(argc, args, 0);
  IUnknown* unk = ObjectInterface(o);
  if (!unk) return kEmptyObject;
  CallName name(argc > 1 ? core::TextArgument(args[1]) : "");
  IDispatch* raw = nullptr;
  HRESULT hr = unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&raw));
  ComRef<IDispatch> disp = ComRef<IDispatch>::adoptIfSucceeded(hr, raw);
  if (!disp) return kNoDispatch;

  Binding b;
  int32_t code = bindName(disp.get(), o, use, name, &b);
  if (code != kOk) return code;
  const Member& m = b.member();
  int given = CountGivenArguments(argc, args);
  if (m.typed && (code = CheckArgumentCount(given, m.params, m.optional)) != kOk) return code;
  return callMember(disp.get(), m, use, args + 2, given, resultType, result);
}

}  // namespace

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
