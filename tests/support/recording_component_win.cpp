// The recording automation component's answers and its type information.
#include "tests/support/recording_component_win.h"

#include <gtest/gtest.h>

namespace lw::testing {

HRESULT STDMETHODCALLTYPE Recorder::GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) {
  ++namesAsked;
  if (!namesImplemented) return E_NOTIMPL;
  static const struct { const wchar_t* name; DISPID id; } kNames[] = {
      {L"Echo", kEcho}, {L"Flag", kFlag}, {L"Swap", kSwap}, {L"Sum", kSum}, {L"Late", kLate},
      {L"Child", kChild}, {L"Raise", kRaise}, {L"Take", kTake}, {L"Size", kSize}};
  for (const auto& n : kNames)
    if (!_wcsicmp(n.name, names[0])) {
      ids[0] = n.id + idShift;
      return S_OK;
    }
  ids[0] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE Recorder::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* dp, VARIANT* result,
                                           EXCEPINFO*, UINT*) {
  Call c{id, flags, {}, {}, {}};
  for (UINT i = dp->cArgs; i-- > 0;) {
    c.types.push_back(V_VT(&dp->rgvarg[i]));
    VARIANT copy;
    VariantInit(&copy);
    VariantCopyInd(&copy, &dp->rgvarg[i]);
    c.values.push_back(copy);
  }
  for (UINT i = 0; i < dp->cNamedArgs; ++i) c.named.push_back(dp->rgdispidNamedArgs[i]);
  calls.push_back(c);
  const bool get = flags & DISPATCH_PROPERTYGET, put = flags & DISPATCH_PROPERTYPUT, method = flags & DISPATCH_METHOD;
  switch (id) {
    case kEcho:
      if (!method) return DISP_E_MEMBERNOTFOUND;
      if (result && dp->cArgs) VariantCopyInd(result, &dp->rgvarg[dp->cArgs - 1]);
      return S_OK;
    case kFlag:
      if (get && result) {
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = flag ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
      }
      if (put && dp->cArgs == 1) {
        flag = V_BOOL(&dp->rgvarg[0]) != VARIANT_FALSE;
        return S_OK;
      }
      return DISP_E_MEMBERNOTFOUND;
    case kSwap:
      if (dp->cArgs != 3) return DISP_E_BADPARAMCOUNT;
      if (V_VT(&dp->rgvarg[2]) == (VT_BSTR | VT_BYREF)) {
        SysFreeString(*V_BSTRREF(&dp->rgvarg[2]));
        *V_BSTRREF(&dp->rgvarg[2]) = SysAllocString(L"\x65b0\x6587\x5b57");  // 新文字
      }
      if (V_VT(&dp->rgvarg[1]) == (VT_I4 | VT_BYREF)) *V_I4REF(&dp->rgvarg[1]) += 100;
      if (V_VT(&dp->rgvarg[0]) == (VT_BSTR | VT_BYREF)) {
        SysFreeString(*V_BSTRREF(&dp->rgvarg[0]));
        *V_BSTRREF(&dp->rgvarg[0]) = SysAllocString(L"changed");
      }
      return S_OK;
    case kSum:
      if (result) {
        V_VT(result) = VT_I4;
        V_I4(result) = LONG(dp->cArgs);
      }
      return S_OK;
    case kLate: return DISP_E_MEMBERNOTFOUND;
    case kChild:
      if (!get || !result) return DISP_E_MEMBERNOTFOUND;
      V_VT(result) = VT_DISPATCH;
      V_DISPATCH(result) = child;
      if (child) child->AddRef();
      return S_OK;
    case kRaise: return DISP_E_EXCEPTION;
    case kTake: return S_OK;
    case kSize:
      if (get && result) {
        V_VT(result) = VT_I4;
        V_I4(result) = size;
        return S_OK;
      }
      if (put && dp->cArgs == 1 && V_VT(&dp->rgvarg[0]) == VT_I4) {
        size = V_I4(&dp->rgvarg[0]);
        return S_OK;
      }
      return DISP_E_MEMBERNOTFOUND;
    default: return DISP_E_MEMBERNOTFOUND;
  }
}

namespace {

// ---- The recorder's type information, built with the platform's type-library writer ----

struct FuncSpec {
  const wchar_t* name;
  DISPID id;
  INVOKEKIND kind;
  VARTYPE result;
  std::vector<ELEMDESC> params;
  SHORT optional;
};

ELEMDESC param(TYPEDESC* td, USHORT flags) {
  ELEMDESC e = {};
  e.tdesc = *td;
  e.paramdesc.wParamFlags = flags;
  return e;
}

}  // namespace

ITypeInfo* buildRecorderTypeInfo() {
  static TYPEDESC tVariant = {{nullptr}, VT_VARIANT}, tBool = {{nullptr}, VT_BOOL}, tBstr = {{nullptr}, VT_BSTR},
                  tLong = {{nullptr}, VT_I4}, tDispatch = {{nullptr}, VT_DISPATCH};
  static TYPEDESC tBstrRef = {{&tBstr}, VT_PTR}, tLongRef = {{&tLong}, VT_PTR};
  static TYPEDESC tVariantArray = {{&tVariant}, VT_SAFEARRAY}, tVariantArrayRef = {{&tVariantArray}, VT_PTR};
  const USHORT in = PARAMFLAG_FIN, inOut = PARAMFLAG_FIN | PARAMFLAG_FOUT, opt = PARAMFLAG_FIN | PARAMFLAG_FOPT;
  std::vector<FuncSpec> funcs = {
      {L"Echo", kEcho, INVOKE_FUNC, VT_VARIANT, {param(&tVariant, in), param(&tVariant, opt), param(&tVariant, opt)}, 2},
      {L"Flag", kFlag, INVOKE_PROPERTYGET, VT_BOOL, {}, 0},
      {L"Flag", kFlag, INVOKE_PROPERTYPUT, VT_VOID, {param(&tBool, in)}, 0},
      {L"Swap", kSwap, INVOKE_FUNC, VT_VOID, {param(&tBstrRef, inOut), param(&tLongRef, inOut), param(&tBstrRef, in)}, 0},
      {L"Sum", kSum, INVOKE_FUNC, VT_VARIANT, {param(&tBstr, in), param(&tVariantArrayRef, in)}, -1},
      {L"Late", kLate, INVOKE_FUNC, VT_VOID, {}, 0},
      {L"Child", kChild, INVOKE_PROPERTYGET, VT_DISPATCH, {}, 0},
      {L"Raise", kRaise, INVOKE_FUNC, VT_VOID, {}, 0},
      {L"Take", kTake, INVOKE_FUNC, VT_VOID, {param(&tDispatch, in), param(&tVariant, in), param(&tBstr, in)}, 0},
  };
  ICreateTypeLib2* lib = nullptr;
  if (FAILED(CreateTypeLib2(SYS_WIN32, L"recorder.tlb", &lib))) return nullptr;
  ICreateTypeInfo* create = nullptr;
  lib->CreateTypeInfo(const_cast<LPOLESTR>(L"IRecorder"), TKIND_DISPATCH, &create);
  UINT index = 0;
  for (FuncSpec& f : funcs) {
    FUNCDESC d = {};
    d.memid = f.id;
    d.funckind = FUNC_DISPATCH;
    d.invkind = f.kind;
    d.callconv = CC_STDCALL;
    d.cParams = SHORT(f.params.size());
    d.cParamsOpt = f.optional;
    d.lprgelemdescParam = f.params.empty() ? nullptr : f.params.data();
    d.elemdescFunc.tdesc.vt = f.result;
    HRESULT hr = create->AddFuncDesc(index, &d);
    EXPECT_EQ(hr, S_OK) << "describing " << index;
    LPOLESTR names[1] = {const_cast<LPOLESTR>(f.name)};
    create->SetFuncAndParamNames(index, names, 1);
    ++index;
  }
  VARDESC var = {};
  var.memid = kSize;
  var.varkind = VAR_DISPATCH;
  var.elemdescVar.tdesc.vt = VT_I4;
  create->AddVarDesc(0, &var);
  create->SetVarName(0, const_cast<LPOLESTR>(L"Size"));
  create->LayOut();
  ITypeInfo* info = nullptr;
  create->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&info));
  create->Release();
  lib->Release();
  return info;
}

}  // namespace lw::testing
