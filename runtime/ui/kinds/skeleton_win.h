// The skeleton every unit kind with a window of its own shares: finding the kind's
// state behind a unit, making the unit (and undoing a make that failed), freeing
// the state with its window, the property read and the property block of a live
// unit. A kind fills in one record of routines with what is its own; the skeleton's
// routines, made for that record, are the kind's row in the type table.
#pragma once
#include <windows.h>

#include <vector>

#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/properties/table.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {

// What a kind fills in. `State` is the kind's own state record; it keeps the
// kind's properties in its member `props`.
template <class State>
struct UnitKindParts {
  using Props = decltype(State::props);

  uint32_t typeId;
  const PropertyTable<Props>* table;
  // Makes the platform window for a state whose properties are decoded, and
  // dresses it with what must be there before the unit is tied to it. Null when
  // the window cannot be made.
  HWND (*makeWindow)(const UnitCreateArgs& a, State* s);
  // What the kind does once the unit is tied to its window; may be null.
  void (*settle)(HWND hwnd, State* s);
  // The control notifications a container passes on; null: the kind takes none.
  UnitNotify notify;
  // Releases what the state holds (fonts, brushes, pictures); the skeleton then
  // deletes the state. Also runs for a state whose window was never made.
  void (*release)(State* s);
  // The routines below get the live unit's window.
  // A write of own property `number` that its row leaves to the kind (or that
  // no row names); may be null when no row does. 1: the unit must be re-created
  // to show the change.
  int (*setByHand)(HWND hwnd, State* s, int number, const PropertyValue& v);
  // What a write the skeleton stored in its field does on the live unit;
  // `changed`: the field holds another value than before. 1: as above.
  int (*show)(HWND hwnd, State* s, int number, bool changed);
  // A read of a property whose row says the live window holds it; may be null
  // when no row says so. The other properties are read from their fields.
  int (*readLive)(HWND hwnd, State* s, int number, PropertyValue* v);
  // Puts what the live window holds now into `p`, so that the property block
  // brings a re-created unit back as it was; may be null.
  void (*takeLive)(HWND hwnd, Props* p);
};

// The state of a unit of the kind `typeId`; null for no unit or another kind's.
template <class State>
State* KindStateOf(Unit* u, uint32_t typeId) {
  return u && u->typeId == typeId ? static_cast<State*>(u->state) : nullptr;
}

namespace unit_skeleton {

// Whether a kind gave a routine its parts may leave out (a plain test of the
// address would be folded, and warned about, for the routines a kind gives).
template <class Routine>
bool given(Routine routine) {
  return routine != nullptr;
}

template <class State, const UnitKindParts<State>& K>
void freeState(void* state) {
  auto* s = static_cast<State*>(state);
  if (given(K.release)) K.release(s);
  delete s;
}

template <class State, const UnitKindParts<State>& K>
Unit* create(const UnitCreateArgs& a) {
  auto* s = new State;
  HWND hwnd = DecodeKindProps(K.typeId, a, &s->props) ? K.makeWindow(a, s) : nullptr;
  if (!hwnd) {
    freeState<State, K>(s);
    return nullptr;
  }
  Unit* u = AttachNewUnit(hwnd, a, K.typeId, s, K.notify, &freeState<State, K>);
  if (given(K.settle)) K.settle(hwnd, s);
  return u;
}

template <class State, const UnitKindParts<State>& K>
int setProperty(Unit* u, int index, const PropertyValue& v) {
  State* s = KindStateOf<State>(u, K.typeId);
  if (!s) return 0;
  const int number = OwnPropertyNumber(index);
  bool changed = false;
  if (StorePlainProperty(*K.table, &s->props, number, v, &changed)) return K.show(HWND(u->hwnd), s, number, changed);
  return given(K.setByHand) ? K.setByHand(HWND(u->hwnd), s, number, v) : 0;
}

template <class State, const UnitKindParts<State>& K>
int getProperty(Unit* u, int index, PropertyValue* v) {
  State* s = KindStateOf<State>(u, K.typeId);
  if (!s) return 0;
  const int number = OwnPropertyNumber(index);
  const auto* row = K.table->row(number);
  if (given(K.readLive) && row && row->get == GetRule::Hand) return K.readLive(HWND(u->hwnd), s, number, v);
  return LoadPlainProperty(*K.table, s->props, number, v) ? 1 : 0;
}

template <class State, const UnitKindParts<State>& K>
bool serialise(Unit* u, std::vector<uint8_t>* block) {
  State* s = KindStateOf<State>(u, K.typeId);
  if (!s) return false;
  typename UnitKindParts<State>::Props p = s->props;
  if (given(K.takeLive)) K.takeLive(HWND(u->hwnd), &p);
  return EncodeUnitProperties(K.typeId, UnitProps(p), block);
}

}  // namespace unit_skeleton

// The kind's row of routines, made from its parts.
template <class State, const UnitKindParts<State>& K>
constexpr UnitKindRoutines KindRoutines() {
  return {K.typeId, &unit_skeleton::create<State, K>, &unit_skeleton::setProperty<State, K>,
          &unit_skeleton::getProperty<State, K>, &unit_skeleton::serialise<State, K>};
}

}  // namespace lw
