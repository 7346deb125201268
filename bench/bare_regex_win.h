// The platform's regular-expression component driven directly through IDispatch,
// as a baseline for the benchmarks of the regex object and the feed list.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace bench {
namespace detail {

inline BSTR wide(const std::string& s) {
  int n = MultiByteToWideChar(936, 0, s.data(), int(s.size()), nullptr, 0);
  BSTR b = SysAllocStringLen(nullptr, UINT(n));
  MultiByteToWideChar(936, 0, s.data(), int(s.size()), b, n);
  return b;
}

inline std::string narrow(BSTR b) {
  int units = int(SysStringLen(b));
  int n = WideCharToMultiByte(936, 0, b, units, nullptr, 0, nullptr, nullptr);
  std::string s(size_t(n), '\0');
  WideCharToMultiByte(936, 0, b, units, &s[0], n, nullptr, nullptr);
  return s;
}

inline DISPID idOf(IDispatch* d, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

inline HRESULT invoke(IDispatch* d, DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS dp = {args, flags == DISPATCH_PROPERTYPUT ? &put : nullptr, count, flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
  return d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result, nullptr, nullptr);
}

inline void putBool(IDispatch* d, const wchar_t* name, bool v) {
  VARIANT a;
  VariantInit(&a);
  V_VT(&a) = VT_BOOL;
  V_BOOL(&a) = v ? VARIANT_TRUE : VARIANT_FALSE;
  invoke(d, idOf(d, name), DISPATCH_PROPERTYPUT, &a, 1, nullptr);
}

inline IDispatch* getObject(IDispatch* d, DISPID id, VARIANT* arg) {
  VARIANT r;
  VariantInit(&r);
  invoke(d, id, DISPATCH_PROPERTYGET, arg, arg ? 1 : 0, &r);
  return V_VT(&r) == VT_DISPATCH ? V_DISPATCH(&r) : nullptr;
}

}  // namespace detail

// Every sub-match 1 of `pattern` over the GBK `page`, through the bare component
// with its ids looked up once: the baseline of the regex benchmarks.
inline std::vector<std::string> BareComponentItems(const std::string& page, const std::string& pattern) {
  using namespace detail;
  std::vector<std::string> items;
  CLSID clsid;
  CLSIDFromProgID(L"VBScript.RegExp", &clsid);
  IDispatch* re = nullptr;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&re))))
    return items;
  putBool(re, L"IgnoreCase", true);
  putBool(re, L"Multiline", true);
  putBool(re, L"Global", true);
  VARIANT a, r;
  VariantInit(&a);
  VariantInit(&r);
  V_VT(&a) = VT_BSTR;
  V_BSTR(&a) = wide(pattern);
  invoke(re, idOf(re, L"Pattern"), DISPATCH_PROPERTYPUT, &a, 1, nullptr);
  VariantClear(&a);
  V_VT(&a) = VT_BSTR;
  V_BSTR(&a) = wide(page);
  invoke(re, idOf(re, L"Execute"), DISPATCH_METHOD, &a, 1, &r);
  VariantClear(&a);
  IDispatch* matches = V_VT(&r) == VT_DISPATCH ? V_DISPATCH(&r) : nullptr;
  if (matches) {
    VARIANT c;
    VariantInit(&c);
    invoke(matches, idOf(matches, L"Count"), DISPATCH_PROPERTYGET, nullptr, 0, &c);
    DISPID item = idOf(matches, L"Item"), subMatches = DISPID_UNKNOWN, subItem = DISPID_UNKNOWN;
    for (LONG k = 0; k < V_I4(&c); ++k) {
      VARIANT index;
      VariantInit(&index);
      V_VT(&index) = VT_I4;
      V_I4(&index) = k;
      IDispatch* m = getObject(matches, item, &index);
      if (!m) continue;
      if (subMatches == DISPID_UNKNOWN) subMatches = idOf(m, L"SubMatches");
      IDispatch* groups = getObject(m, subMatches, nullptr);
      if (groups) {
        if (subItem == DISPID_UNKNOWN) subItem = idOf(groups, L"Item");
        V_I4(&index) = 0;
        VARIANT v;
        VariantInit(&v);
        invoke(groups, subItem, DISPATCH_PROPERTYGET, &index, 1, &v);
        items.push_back(V_VT(&v) == VT_BSTR ? narrow(V_BSTR(&v)) : std::string());
        VariantClear(&v);
        groups->Release();
      }
      m->Release();
    }
  }
  VariantClear(&r);
  re->Release();
  return items;
}

}  // namespace bench
