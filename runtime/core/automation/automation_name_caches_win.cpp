// What names bound to, kept between calls by name (automation_name_caches_win.h):
// three caches, each bounded, each kept on the runtime's main thread only and
// given back at shutdown.
#include "runtime/core/automation/automation_name_caches_win.h"

#include <atomic>
#include <cstring>
#include <string>

#include "runtime/core/automation/automation_internal_win.h"
#include "runtime/core/startup/runtime_app_win.h"

namespace lw::automation::detail {
namespace {

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

bool mayKeepBindings() {
  const MainThread main = CurrentMainThread();
  return main.oleStarted && GetCurrentThreadId() == main.threadId;
}

void forgetBindings() {
  for (BoundName& b : g_boundNames) b.info->Release();
  g_boundNames.clear();
}

void noteLibraryOf(ITypeInfo* info);

}  // namespace

std::shared_ptr<const Member> BoundBefore(ITypeInfo* info, Use use, const char* name) {
  if (!mayKeepBindings()) return nullptr;  // kept and changed on the main thread only
  for (const BoundName& b : g_boundNames)
    if (b.info == info && b.use == use && b.name == name) return b.member;
  return nullptr;
}

void KeepBinding(ITypeInfo* info, Use use, const char* name, const Member& m) {
  if (!mayKeepBindings()) return;
  if (g_boundNames.size() >= kMaxBoundNames) forgetBindings();
  if (g_boundNames.empty()) RegisterCleanupRoutine(&forgetBindings);
  g_boundNames.push_back({info, use, name, std::make_shared<const Member>(m)});
  info->AddRef();
  noteLibraryOf(info);
}

namespace {

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

}  // namespace

// The description of the dual interface `disp` is the automation interface of,
// with a reference; empty when it is none of those seen. The interface that an
// object with the same function table answered for is asked first: objects of one
// kind usually share the table, though only the object's own answer counts.
ComRef<ITypeInfo> DualInterfaceOf(IDispatch* disp) {
  if (g_duals.empty() || !mayKeepBindings()) return {};
  UINT count = 0;
  if (FAILED(disp->GetTypeInfoCount(&count)) || count == 0) return {};  // claims none
  const void* table = *reinterpret_cast<void* const*>(disp);
  DualInterface* found = nullptr;
  for (DualInterface& d : g_duals)
    if (!found && d.lastTable == table && isAutomationInterfaceOf(disp, d)) found = &d;
  for (DualInterface& d : g_duals)
    if (!found && d.lastTable != table && isAutomationInterfaceOf(disp, d)) found = &d;
  if (!found) return {};
  found->lastTable = table;
  found->info->AddRef();
  return ComRef<ITypeInfo>::adopt(found->info);
}

namespace {

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
// Changed under the lock; read without it only to see that there is nothing kept,
// the usual case, which then costs every call and every release no lock.
std::atomic<size_t> g_objectNameCount{0};
SRWLOCK g_objectNamesLock = SRWLOCK_INIT;

}  // namespace

bool NameKnown(ObjectRef block, const char* name, DISPID* id) {
  if (g_objectNameCount.load(std::memory_order_acquire) == 0 || !mayKeepBindings()) return false;
  AcquireSRWLockShared(&g_objectNamesLock);
  bool found = false;
  for (size_t i = 0, count = g_objectNameCount.load(std::memory_order_relaxed); i < count && !found; ++i) {
    const ObjectName& n = g_objectNames[i];
    if (n.block == block && n.object == block->iface && strcmp(n.name, name) == 0) {
      *id = n.id;
      found = true;
    }
  }
  ReleaseSRWLockShared(&g_objectNamesLock);
  return found;
}

void KeepName(ObjectRef block, const char* name, DISPID id) {
  if (!mayKeepBindings() || strlen(name) >= sizeof(ObjectName::name)) return;
  AcquireSRWLockExclusive(&g_objectNamesLock);
  size_t count = g_objectNameCount.load(std::memory_order_relaxed);
  if (count == kMaxObjectNames) {
    memmove(&g_objectNames[0], &g_objectNames[1], sizeof(ObjectName) * (kMaxObjectNames - 1));
    --count;
  }
  ObjectName& n = g_objectNames[count];
  n.block = block;
  n.object = block->iface;
  n.id = id;
  strcpy(n.name, name);
  g_objectNameCount.store(count + 1, std::memory_order_release);
  ReleaseSRWLockExclusive(&g_objectNamesLock);
}

void ForgetObjectNames(ObjectRef block) {
  if (g_objectNameCount.load(std::memory_order_acquire) == 0) return;
  AcquireSRWLockExclusive(&g_objectNamesLock);
  size_t kept = 0;
  for (size_t i = 0, n = g_objectNameCount.load(std::memory_order_relaxed); i < n; ++i)
    if (g_objectNames[i].block != block) g_objectNames[kept++] = g_objectNames[i];
  g_objectNameCount.store(kept, std::memory_order_release);
  ReleaseSRWLockExclusive(&g_objectNamesLock);
}

}  // namespace lw::automation::detail
