// A unit's client object for assistive technology: a small object in front of the
// platform's standard one (CreateStdAccessibleObject) that answers the name, the
// value and the role where the runtime knows better, and passes every other
// question on unchanged. Calls reach it on the window's own thread: the runtime's
// thread is a single-threaded apartment, so calls from other processes arrive
// through its message loop.
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/ui/accessibility/accessible_name_win.h"

#include <oleacc.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "runtime/core/text/wide_text_win.h"
#include "runtime/core/values/types.h"
#include "runtime/ui/accessibility/accessible_name.h"
#include "runtime/ui/properties/template_format.h"
#include "runtime/ui/windows/system_win.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {
namespace {

// What a unit's object says in place of the standard object's answer.
struct Overrides {
  bool hasName = false;
  std::wstring name;
  bool hasValue = false;
  std::wstring value;
  LONG role = 0;  // 0: the standard object's role
};

// Names and values the application gave, by window id and unit id, so that a
// re-created unit keeps them.
struct GivenName {
  std::wstring name;
  bool hasValue = false;
  std::wstring value;
};
using UnitKey = std::pair<uint32_t, uint32_t>;
std::map<UnitKey, GivenName>& givenNames() {
  static std::map<UnitKey, GivenName> names;
  return names;
}

// The units the application marked as live regions, by window id and unit id, each
// with the window that was last given the live setting (null: none yet).
std::map<UnitKey, HWND>& liveRegions() {
  static std::map<UnitKey, HWND> regions;
  return regions;
}

// The platform's live-region event and setting (newer than the headers' target).
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED
constexpr GUID kLiveSettingProperty = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;
constexpr CLSID kAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};

// Gives the window the live setting through the platform's property services. Only
// when it is first needed, so a start pays nothing for it; a platform without the
// services (or one that refuses the property) leaves the events to tell readers.
void giveLiveSetting(HWND hwnd) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kAccPropServicesInterface,
                              reinterpret_cast<void**>(&services))))
    return;
  VARIANT polite = {};
  polite.vt = VT_I4;
  polite.lVal = kPolite;
  services->SetHwndProp(hwnd, DWORD(OBJID_CLIENT), CHILDID_SELF, kLiveSettingProperty, polite);
  services->Release();
}

EdgeBox edgesOf(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

// The name of an edit box from the label beside it: the visible labels of the same
// parent, chosen by where they sit (the order of the windows says nothing about it).
bool nameFromLabel(HWND edit, std::wstring* name) {
  std::vector<HWND> labels;
  std::vector<EdgeBox> boxes;
  for (HWND h = GetWindow(GetParent(edit), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    Unit* u = UnitFromWindow(h);
    if (!u || u->typeId != unit_type::Label || !IsWindowVisible(h)) continue;
    labels.push_back(h);
    boxes.push_back(edgesOf(h));
  }
  const int at = NearestLabelLeftOf(edgesOf(edit), boxes.data(), boxes.size());
  if (at < 0) return false;
  const std::wstring caption = WideWindowText(labels[size_t(at)]);
  const std::u16string named = NameOfLabelCaption(std::u16string(caption.begin(), caption.end()));
  name->assign(named.begin(), named.end());
  return !name->empty();
}

Overrides overridesOf(Unit* u) {
  Overrides o;
  auto given = givenNames().find({u->windowId, u->unitId});
  if (given != givenNames().end()) {
    o.hasName = true;
    o.name = given->second.name;
    o.hasValue = given->second.hasValue;
    o.value = given->second.value;
  }
  switch (u->typeId) {
    case unit_type::EditBox:
      if (!o.hasName) o.hasName = nameFromLabel(HWND(u->hwnd), &o.name);
      break;
    // The runtime's own drawn kinds: the standard object takes them for a bare
    // client area. A label reads as the caption it draws, "&" and all.
    case unit_type::Label:
      o.role = ROLE_SYSTEM_STATICTEXT;
      if (!o.hasName) o.hasName = true, o.name = WideWindowText(HWND(u->hwnd));
      break;
    case unit_type::PicBox: o.role = ROLE_SYSTEM_GRAPHIC; break;
    default: break;
  }
  return o;
}

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT answerText(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(text.data(), UINT(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// The object itself: the overrides for the unit as they were when the object was
// asked for (a reader asks again after a change event), the standard object for
// everything else.
class NamedClient final : public IAccessible, public IOleWindow {
 public:
  NamedClient(HWND hwnd, IAccessible* standard, Overrides overrides)
      : hwnd_(hwnd), standard_(standard), overrides_(std::move(overrides)) {}
  NamedClient(const NamedClient&) = delete;
  NamedClient& operator=(const NamedClient&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible)
      *out = static_cast<IAccessible*>(this);
    else if (iid == IID_IOleWindow)
      *out = static_cast<IOleWindow*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return ULONG(left);
  }

  // IDispatch: the accessible members are reached through the interface only, as
  // with the platform's own standard object.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IOleWindow: the window the object stands for.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = hwnd_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IAccessible: what the runtime answers itself.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    if (isSelf(child) && overrides_.hasName) return answerText(overrides_.name, out);
    return standard_->get_accName(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    if (isSelf(child) && overrides_.hasValue) return answerText(overrides_.value, out);
    return standard_->get_accValue(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    if (!isSelf(child) || overrides_.role == 0) return standard_->get_accRole(child, out);
    if (!out) return E_POINTER;
    out->vt = VT_I4;
    out->lVal = overrides_.role;
    return S_OK;
  }

  // IAccessible: the standard object's answers.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override { return standard_->get_accParent(out); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* out) override { return standard_->get_accChildCount(out); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return standard_->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return standard_->get_accDescription(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return standard_->get_accState(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override { return standard_->get_accHelp(child, out); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return standard_->get_accKeyboardShortcut(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override { return standard_->get_accFocus(out); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override { return standard_->get_accSelection(out); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return standard_->get_accDefaultAction(child, out);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override { return standard_->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT child) override {
    return standard_->accLocation(x, y, w, h, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override {
    return standard_->accNavigate(direction, start, out);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
    return standard_->accHitTest(x, y, out);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return standard_->put_accName(child, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~NamedClient() { standard_->Release(); }

  LONG references_ = 1;
  HWND hwnd_;
  IAccessible* standard_;  // owned: one reference
  Overrides overrides_;
};

}  // namespace

bool AnswerAccessibleObject(Unit* unit, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (!unit || !unit->hwnd || DWORD(lp) != DWORD(OBJID_CLIENT)) return false;
  Overrides o = overridesOf(unit);
  if (!o.hasName && !o.hasValue && o.role == 0) return false;
  HWND hwnd = HWND(unit->hwnd);
  StartOle();  // the answer is handed over through OLE's apartment on this thread
  IAccessible* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&standard))) ||
      !standard)
    return false;
  // The object takes the standard object's reference; the platform's answer takes
  // one of its own, and ours goes when this call is done.
  auto* client = new NamedClient(hwnd, standard, std::move(o));
  const LRESULT answer = LresultFromObject(IID_IAccessible, wp, static_cast<IAccessible*>(client));
  client->Release();
  // An object that cannot be handed over (no apartment on this thread) leaves the
  // platform's own answer standing rather than a failure.
  if (FAILED(HRESULT(answer))) return false;
  *result = answer;
  return true;
}

void ForgetAccessibleName(const Unit* unit) {
  if (unit) givenNames().erase({unit->windowId, unit->unitId});
}

void AnnounceNameChange(HWND hwnd) { NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF); }

bool IsLiveRegion(const Unit* unit) { return unit && liveRegions().count({unit->windowId, unit->unitId}) != 0; }

void AnnounceLiveRegion(const Unit* unit) {
  auto region = liveRegions().find({unit->windowId, unit->unitId});
  if (region == liveRegions().end()) return;
  HWND hwnd = HWND(unit->hwnd);
  // A re-created unit has a window of its own, which needs the setting again.
  if (region->second != hwnd) {
    giveLiveSetting(hwnd);
    region->second = hwnd;
  }
  AnnounceNameChange(hwnd);
  NotifyWinEvent(kLiveRegionChanged, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

namespace commands {

void SetAccessibleName(ResultRecord* r, int argc, ArgRecord* args) {
  r->low = 0;
  if (argc < 2) return;
  Unit* unit = FindLiveUnit(uint32_t(args[0].low), uint32_t(args[0].high));
  if (!unit || !unit->hwnd) return;
  GivenName given;
  given.name = Wide(reinterpret_cast<const char*>(uintptr_t(args[1].low)));
  given.hasValue = argc >= 3 && args[2].type != 0;
  if (given.hasValue) given.value = Wide(reinterpret_cast<const char*>(uintptr_t(args[2].low)));
  GivenName& kept = givenNames()[{unit->windowId, unit->unitId}];
  const GivenName before = kept;
  kept = given;
  r->low = 1;
  // A reader that shows the unit hears of what changed, and only of that.
  HWND hwnd = HWND(unit->hwnd);
  if (before.name != given.name) AnnounceNameChange(hwnd);
  if (before.hasValue != given.hasValue || before.value != given.value)
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void MarkLiveRegion(ResultRecord* r, int argc, ArgRecord* args) {
  r->low = 0;
  if (argc < 1) return;
  Unit* unit = FindLiveUnit(uint32_t(args[0].low), uint32_t(args[0].high));
  if (!unit || !unit->hwnd) return;
  liveRegions().insert({{unit->windowId, unit->unitId}, nullptr});
  r->low = 1;
}

}  // namespace commands
}  // namespace lw
