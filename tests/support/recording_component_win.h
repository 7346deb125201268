// A recording automation component for the automation tests: it keeps a copy of
// every call it receives (member, flags, argument types and values) and answers
// from a few members, so that what the automation commands pass can be checked
// argument by argument. Its type information is built with the platform's
// type-library writer; a recorder without it exercises the untyped path.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <vector>

namespace lw::testing {

// Members of the recording component. Each has a dispatch id and a description in
// the built type information.
enum : DISPID {
  kEcho = 1,    // VARIANT Echo(VARIANT a, [optional] VARIANT b, [optional] VARIANT c)
  kFlag = 2,    // property BOOL Flag
  kSwap = 3,    // void Swap([in, out] BSTR* s, [in, out] long* n, [in] BSTR* notOut)
  kSum = 4,     // VARIANT Sum(BSTR label, [vararg] SAFEARRAY(VARIANT)* rest)
  kLate = 5,    // void Late(): rejected at invocation as not found
  kChild = 6,   // property IDispatch* Child: a recorder without type information
  kRaise = 7,   // void Raise(): raises an exception
  kTake = 8,    // void Take(IDispatch* d, VARIANT v, BSTR s)
  kSize = 9,    // variable long Size
};

struct Call {
  DISPID id;
  WORD flags;
  std::vector<VARTYPE> types;    // in argument order
  std::vector<VARIANT> values;   // copies, references resolved, in argument order
  std::vector<DISPID> named;
};

struct Recorder : IDispatch {
  LONG refs = 1;
  ITypeInfo* info = nullptr;  // null: offers no type information
  std::vector<Call> calls;
  long size = 0;
  bool flag = false;
  bool offersDispatch = true;  // false: answers only for its base interface
  bool namesImplemented = true;
  int namesAsked = 0;   // calls of GetIDsOfNames
  DISPID idShift = 0;   // added to every number GetIDsOfNames gives
  Recorder* child = nullptr;

  virtual ~Recorder() {
    for (Call& c : calls)
      for (VARIANT& v : c.values) VariantClear(&v);
    if (info) info->Release();
    if (child) child->Release();
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || (iid == IID_IDispatch && offersDispatch)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++refs); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = --refs;
    if (n == 0) delete this;
    return ULONG(n);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = info ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    *out = info;
    if (!info) return E_NOTIMPL;
    info->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override;
  // Records the call, then answers as the member's comment above says.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* dp, VARIANT* result, EXCEPINFO*,
                                   UINT*) override;
};

// The recorder's type information (the IRecorder dispatch interface describing the
// members above); null when the platform cannot build it.
ITypeInfo* buildRecorderTypeInfo();

}  // namespace lw::testing
