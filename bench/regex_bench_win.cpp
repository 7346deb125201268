// Collecting the items of a 5,000-item feed by regular expression, as the feed
// listing does: the pattern marker + "([\s\S]*?)" + marker, every flag left at its
// default, then sub-match 1 of every match as code-page-936 text.
// Baseline: the bare component driven through its automation interface directly,
// with the member ids looked up once and the texts converted once each way.
// Measured: the regex object, which binds every name late, at every call, through
// the runtime's automation commands.
// Prints the median time of each over several rounds and their ratio.
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/share_escape.h"
#include "regex/regex_object.h"
#include "runtime/core/memory.h"
#include "runtime/core/values.h"
#include "tests/support/program_dll_table_win.h"
#include "bench/bench_clock.h"

namespace {

constexpr int kItems = 5000;
constexpr int kRounds = 7;

// A feed of kItems items in the shape of the blog feed, in code page 936.
std::string makeFeed() {
  std::string s = "<?xml version=\"1.0\" encoding=\"GBK\"?><rss><channel><title>日志</title>\r\n";
  for (int i = 0; i < kItems; ++i) {
    s += "<item>\r\n<title><![CDATA[第" + std::to_string(i) + "篇日志：春天的早晨]]></title>\r\n";
    s += "<link>http://user.qzone.qq.com/12345/blog/" + std::to_string(1300000000 + i) + "</link>\r\n";
    s += "<description><![CDATA[今天天气很好，我们去公园散步。]]></description>\r\n</item>\r\n";
  }
  return s + "</channel></rss>";
}

std::string patternOf(const char* left, const char* right) {
  lw::Text l = app::markerToPattern(left), r = app::markerToPattern(right);
  std::string p = std::string(l ? l : "") + "([\\s\\S]*?)" + (r ? r : "");
  lw::FreeMemory(l);
  lw::FreeMemory(r);
  return p;
}

std::vector<std::string> throughRegexObject(const std::string& feed, const std::string& pattern) {
  std::vector<std::string> items;
  regex::RegexObject* re = regex::CreateRegexObject();
  lw::Text p = lw::MakeText(pattern.data(), pattern.size());
  lw::Text s = lw::MakeText(feed.data(), feed.size());
  re->ops->execute(re, &p, &s, nullptr, nullptr, nullptr, nullptr);
  int32_t n = re->ops->matchCount(re);
  for (int32_t k = 1; k <= n; ++k) {
    lw::Text t = re->ops->subMatchText(re, k, 1, nullptr);
    items.emplace_back(t ? t : "");
    lw::FreeMemory(t);
  }
  lw::FreeMemory(p);
  lw::FreeMemory(s);
  regex::FreeRegexObject(re);
  return items;
}

// ---- The bare component ----

BSTR wide(const std::string& s) {
  int n = MultiByteToWideChar(936, 0, s.data(), int(s.size()), nullptr, 0);
  BSTR b = SysAllocStringLen(nullptr, UINT(n));
  MultiByteToWideChar(936, 0, s.data(), int(s.size()), b, n);
  return b;
}

std::string narrow(BSTR b) {
  int units = int(SysStringLen(b));
  int n = WideCharToMultiByte(936, 0, b, units, nullptr, 0, nullptr, nullptr);
  std::string s(size_t(n), '\0');
  WideCharToMultiByte(936, 0, b, units, &s[0], n, nullptr, nullptr);
  return s;
}

DISPID idOf(IDispatch* d, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

HRESULT invoke(IDispatch* d, DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS dp = {args, flags == DISPATCH_PROPERTYPUT ? &put : nullptr, count, flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
  return d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result, nullptr, nullptr);
}

void putBool(IDispatch* d, const wchar_t* name, bool v) {
  VARIANT a;
  VariantInit(&a);
  V_VT(&a) = VT_BOOL;
  V_BOOL(&a) = v ? VARIANT_TRUE : VARIANT_FALSE;
  invoke(d, idOf(d, name), DISPATCH_PROPERTYPUT, &a, 1, nullptr);
}

IDispatch* getObject(IDispatch* d, DISPID id, VARIANT* arg) {
  VARIANT r;
  VariantInit(&r);
  invoke(d, id, DISPATCH_PROPERTYGET, arg, arg ? 1 : 0, &r);
  return V_VT(&r) == VT_DISPATCH ? V_DISPATCH(&r) : nullptr;
}

std::vector<std::string> throughBareComponent(const std::string& feed, const std::string& pattern) {
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
  V_BSTR(&a) = wide(feed);
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

}  // namespace

int main() {
  lw::testing::InstallProgramDllTable();
  CoInitialize(nullptr);
  std::string feed = makeFeed();
  std::string pattern = patternOf("<title><![CDATA", "/link>");

  std::vector<std::string> a = throughRegexObject(feed, pattern), b = throughBareComponent(feed, pattern);
  if (a.size() != size_t(kItems) || a != b) {
    printf("the two routes disagree: %zu and %zu items\n", a.size(), b.size());
    return 1;
  }
  std::vector<double> object, bare;
  for (int r = 0; r < kRounds; ++r) {
    double t0 = bench::NowMs();
    throughBareComponent(feed, pattern);
    double t1 = bench::NowMs();
    throughRegexObject(feed, pattern);
    double t2 = bench::NowMs();
    bare.push_back(t1 - t0);
    object.push_back(t2 - t1);
  }
  double o = bench::Median(object), c = bench::Median(bare);
  printf("feed collection, %d items (%zu bytes) x %d rounds (median milliseconds per feed)\n", kItems, feed.size(),
         kRounds);
  printf("  bare component, ids looked up once: %9.1f ms\n", c);
  printf("  regex object, bound at every call:  %9.1f ms\n", o);
  printf("  ratio object/bare: %.2f\n", o / c);
  CoUninitialize();
  return 0;
}
