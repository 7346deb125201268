// The object and variant commands against real platform components (the regular
// expression component, the script control) and against the recording component
// of tests/support, so that what arrives at the component can be checked argument
// by argument.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/automation/automation_commands_win.h"
#include "runtime/core/automation/automation_win.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"
#include "tests/support/recording_component_win.h"

namespace lw {
namespace {

using namespace automation;
using namespace lw::testing;

// ---- Fixture and helpers ----

class Automation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitialize(nullptr); }
  static void TearDownTestSuite() { CoUninitialize(); }

  void SetUp() override {
    recorder = new Recorder;
    recorder->info = buildRecorderTypeInfo();
    ASSERT_NE(recorder->info, nullptr);
    recorder->child = new Recorder;  // no type information
    object = NewObjectBlock();
    object->iface = static_cast<IUnknown*>(recorder);
  }
  void TearDown() override { freeObject(object); }

  const Call& lastCall() { return recorder->calls.back(); }

  Recorder* recorder = nullptr;
  ObjectRef object = nullptr;
};

// As in the running program: OLE started by the runtime and calls on its thread, so
// the runtime keeps what names bound to. The runtime's state comes back at the end
// of the scope, an assertion that ends the test early included.
struct StartedAsInTheProgram {
  const MainThread saved = CurrentMainThread();
  StartedAsInTheProgram() { SetMainThread({GetCurrentThreadId(), true}); }
  ~StartedAsInTheProgram() { SetMainThread(saved); }
};

std::string text(Text t) {
  std::string s = t ? t : "";
  FreeMemory(t);
  return s;
}

ArgRecord windowUnit() { return {0x5201EA05, 0x1601EA5F, type::WindowUnit}; }

// ---- Objects and names ----

TEST_F(Automation, EmptyObjectGivesEmptyValuesAndMinusOne) {
  ObjectRef empty = NewObjectBlock();
  EXPECT_EQ(readText(empty, "Pattern"), nullptr);
  EXPECT_EQ(LastResult(), kEmptyObject);
  EXPECT_EQ(readNumber(empty, "Count"), 0.0);
  ObjectRef o = readObject(empty, "Item", {arg::integer(0)});
  ASSERT_NE(o, nullptr) << "a failed object read still gives a fresh block";
  EXPECT_TRUE(o->iface == nullptr && o->record == nullptr);
  VariantRef v = readVariant(empty, "Value");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(V_VT(AsVariant(v)), VT_EMPTY);
  EXPECT_FALSE(writeProperty(empty, "Global", {arg::logical(true)}));
  EXPECT_EQ(LastResult(), kEmptyObject);
  EXPECT_TRUE(isObjectEmpty(empty));
  freeObject(o);
  freeVariant(v);
  freeObject(empty);
}

TEST_F(Automation, CreateObjectByProgIdClassIdAndTypeLibrary) {
  ObjectRef re = NewObjectBlock();
  ASSERT_TRUE(createObject(re, "VBScript.RegExp"));
  EXPECT_FALSE(isObjectEmpty(re));
  void* first = re->iface;

  // An unknown name or a malformed class id leaves the old object in place.
  EXPECT_FALSE(createObject(re, "Linkwright.NoSuchComponent"));
  EXPECT_FALSE(createObject(re, "{not-a-class-id}"));
  EXPECT_EQ(re->iface, first);
  EXPECT_TRUE(writeProperty(re, "Pattern", {arg::text("a+")}));
  EXPECT_EQ(text(readText(re, "Pattern")), "a+");

  // The regular expression component's class id.
  ObjectRef byClass = NewObjectBlock();
  EXPECT_TRUE(createObject(byClass, "{3F4DACA4-160D-11D2-A8E9-00104B365C9F}"));
  EXPECT_TRUE(writeProperty(byClass, "Pattern", {arg::text("x")}));

  // The type name looked up in the script control's library file.
  ObjectRef script = NewObjectBlock();
  EXPECT_TRUE(createObject(script, "ScriptControl", "msscript.ocx"));
  EXPECT_TRUE(writeProperty(script, "Language", {arg::text("JScript")}));
  EXPECT_EQ(callNumber(script, "Eval", {arg::text("6*7")}), 42.0);

  // A type name the library does not hold falls back to the class lookup.
  ObjectRef fallback = NewObjectBlock();
  EXPECT_TRUE(createObject(fallback, "VBScript.RegExp", "msscript.ocx"));
  freeObject(re);
  freeObject(byClass);
  freeObject(script);
  freeObject(fallback);
}

TEST_F(Automation, AssignAndReleaseCountReferences) {
  EXPECT_EQ(recorder->refs, 1);
  ObjectRef copy = NewObjectBlock();
  assignObject(copy, object);
  EXPECT_EQ(copy->iface, object->iface);
  EXPECT_EQ(recorder->refs, 2);
  releaseObject(copy);
  EXPECT_TRUE(isObjectEmpty(copy));
  EXPECT_EQ(recorder->refs, 1);
  releaseObject(copy);  // releasing an empty object does nothing
  EXPECT_EQ(recorder->refs, 1);

  // Creating into a variable releases what it held.
  assignObject(copy, object);
  ASSERT_TRUE(createObject(copy, "VBScript.RegExp"));
  EXPECT_EQ(recorder->refs, 1);
  freeObject(copy);
}

TEST_F(Automation, ObjectsAndVariantsInArrays) {
  // A runtime array of objects becomes an array of base interfaces, each held once more.
  ArrayBlock objects = MakeArray(2, sizeof(ObjectRef));
  ObjectRef empty = NewObjectBlock();
  static_cast<ObjectRef*>(ArrayElements(objects))[0] = object;
  static_cast<ObjectRef*>(ArrayElements(objects))[1] = empty;
  VariantRef v = NewVariantBlock();
  ASSERT_TRUE(setVariantValue(v, {reinterpret_cast<Word>(objects), 0, type::Object | type::ArrayFlag}));
  EXPECT_EQ(V_VT(AsVariant(v)), VT_ARRAY | VT_UNKNOWN);
  EXPECT_EQ(recorder->refs, 2);
  clearVariant(v);
  EXPECT_EQ(recorder->refs, 1);

  // An object stored into an element of an array of automation interfaces.
  V_VT(AsVariant(v)) = VT_ARRAY | VT_DISPATCH;
  V_ARRAY(AsVariant(v)) = SafeArrayCreateVector(VT_DISPATCH, 0, 2);
  EXPECT_TRUE(setVariantValue(v, arg::object(object), 2));
  EXPECT_EQ(recorder->refs, 2);
  freeVariant(v);
  EXPECT_EQ(recorder->refs, 1);

  // Variants are copied into an array of VARIANTs.
  VariantRef item = NewVariantBlock();
  setVariantValue(item, arg::text("inner"));
  ArrayBlock variants = MakeArray(1, sizeof(VariantRef));
  static_cast<VariantRef*>(ArrayElements(variants))[0] = item;
  VariantRef w = NewVariantBlock();
  ASSERT_TRUE(setVariantValue(w, {reinterpret_cast<Word>(variants), 0, type::Variant | type::ArrayFlag}));
  EXPECT_EQ(V_VT(AsVariant(w)), VT_ARRAY | VT_VARIANT);
  freeVariant(item);
  EXPECT_EQ(text(variantToText(w, 1)), "inner");
  freeVariant(w);
  FreeMemory(variants);
  FreeMemory(objects);
  FreeMemory(empty);
}

TEST_F(Automation, UnknownNamesAndComponentFailuresGiveTheirCodes) {
  EXPECT_EQ(readText(object, "NoSuchMember"), nullptr);
  EXPECT_EQ(LastResult(), kUnknownName);
  EXPECT_TRUE(recorder->calls.empty()) << "a name that does not bind is never invoked";

  callNumber(object, "Late");
  EXPECT_EQ(LastResult(), kMemberNotFound);
  callNumber(object, "Raise");
  EXPECT_EQ(LastResult(), kException);

  // A member that takes no arguments, given one.
  callNumber(object, "Late", {arg::integer(1)});
  EXPECT_EQ(LastResult(), kTooManyArguments);

  // An argument the table cannot pass fails before the component is called.
  size_t before = recorder->calls.size();
  callNumber(object, "Echo", {windowUnit()});
  EXPECT_EQ(LastResult(), kBadArgumentType);
  EXPECT_EQ(recorder->calls.size(), before);

  // An object result asked for as a number cannot be converted.
  EXPECT_EQ(readNumber(object, "Child"), 0.0);
  EXPECT_EQ(LastResult(), kBadResultType);

  ObjectRef re = NewObjectBlock();
  ASSERT_TRUE(createObject(re, "VBScript.RegExp"));
  readText(re, "NoSuchProperty");
  EXPECT_EQ(LastResult(), kUnknownName);
  freeObject(re);
}

// ---- Arguments ----

TEST_F(Automation, ArgumentsArriveInReverseWithMissingMarkers) {
  EXPECT_EQ(callNumber(object, "Echo", {arg::integer(7), arg::omitted(), arg::text("c")}), 7.0);
  const Call& c = lastCall();
  EXPECT_EQ(c.id, kEcho);
  EXPECT_EQ(c.flags, DISPATCH_METHOD);
  ASSERT_EQ(c.types.size(), 3u);
  EXPECT_EQ(c.types[0], VT_I4);
  EXPECT_EQ(c.types[1], VT_ERROR);
  EXPECT_EQ(uint32_t(V_ERROR(&c.values[1])), kMissingArgument);
  EXPECT_EQ(c.types[2], VT_BSTR);
  EXPECT_STREQ(V_BSTR(&c.values[2]), L"c");
  EXPECT_TRUE(c.named.empty());

  // Trailing omitted arguments are not passed at all: the component's own
  // dispatch supplies its optional parameters.
  callNumber(object, "Echo", {arg::integer(1), arg::omitted(), arg::omitted()});
  EXPECT_EQ(lastCall().types.size(), 1u);

  // An empty variant given as an argument is a missing argument too.
  VariantRef empty = NewVariantBlock();
  callNumber(object, "Echo", {arg::integer(1), arg::variant(empty)});
  EXPECT_EQ(lastCall().types[1], VT_ERROR);
  FreeMemory(empty);
}

TEST_F(Automation, RuntimeTypesBecomeTheirVariantTypes) {
  float f = 1.5f;
  uint32_t fbits;
  memcpy(&fbits, &f, 4);
  std::vector<ArgRecord> values = {
      arg::logical(true), {0, 0, type::DateTime}, {200, 0, type::Byte}, {Word(uint16_t(-3)), 0, type::Short},
      {Word(0xFFFFFFFF), 5, type::Long}, {fbits, 0, type::Single}, arg::number(2.25),
  };
  const VARTYPE expected[] = {VT_BOOL, VT_DATE, VT_UI1, VT_I2, VT_I4, VT_R4, VT_R8};
  for (size_t i = 0; i < values.size(); ++i) {
    callNumber(object, "Echo", {values[i]});
    ASSERT_EQ(LastResult(), kOk);
    EXPECT_EQ(lastCall().types[0], expected[i]) << "value " << i;
  }
  callNumber(object, "Echo", {arg::logical(true)});
  EXPECT_EQ(V_BOOL(&lastCall().values[0]), VARIANT_TRUE);
  callNumber(object, "Echo", {{Word(0xFFFFFFFF), 5, type::Long}});
  EXPECT_EQ(V_I4(&lastCall().values[0]), -1) << "a long integer passes its low 32 bits";
  callNumber(object, "Echo", {arg::text("\xD6\xD0\xCE\xC4")});  // 中文 in GBK
  EXPECT_STREQ(V_BSTR(&lastCall().values[0]), L"\x4e2d\x6587");
}

TEST_F(Automation, LogicalPropertyWriteIsPutWithNamedArgument) {
  EXPECT_TRUE(writeProperty(object, "Flag", {arg::logical(true)}));
  const Call& c = lastCall();
  EXPECT_EQ(c.flags, DISPATCH_PROPERTYPUT);
  ASSERT_EQ(c.named.size(), 1u);
  EXPECT_EQ(c.named[0], DISPID_PROPERTYPUT);
  ASSERT_EQ(c.types.size(), 1u);
  EXPECT_EQ(c.types[0], VT_BOOL);
  EXPECT_EQ(V_BOOL(&c.values[0]), -1);
  EXPECT_TRUE(recorder->flag);

  // Read back through the property get, as a variant and as a number.
  VariantRef v = readVariant(object, "Flag");
  EXPECT_EQ(V_VT(AsVariant(v)), VT_BOOL);
  EXPECT_EQ(lastCall().flags, DISPATCH_PROPERTYGET);
  EXPECT_EQ(readNumber(object, "Flag"), -1.0);
  freeVariant(v);

  // The regular expression component's own logical property.
  ObjectRef re = NewObjectBlock();
  ASSERT_TRUE(createObject(re, "VBScript.RegExp"));
  EXPECT_TRUE(writeProperty(re, "IgnoreCase", {arg::logical(true)}));
  EXPECT_EQ(readNumber(re, "IgnoreCase"), -1.0);
  EXPECT_TRUE(writeProperty(re, "IgnoreCase", {arg::logical(false)}));
  EXPECT_EQ(readNumber(re, "IgnoreCase"), 0.0);
  freeObject(re);
}

TEST_F(Automation, BindingsKeptOnTheMainThreadAnswerLikeFreshOnes) {
  StartedAsInTheProgram started;
  for (int round = 0; round < 2; ++round) {
    // One name, read and written: each use keeps its own binding.
    EXPECT_TRUE(writeProperty(object, "Size", {arg::integer(7 + round)}));
    EXPECT_EQ(lastCall().flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(readNumber(object, "Size"), 7.0 + round);
    EXPECT_EQ(lastCall().flags, DISPATCH_PROPERTYGET);
    // The same name on a component of another type binds to that type's member.
    ObjectRef re = NewObjectBlock();
    ASSERT_TRUE(createObject(re, "VBScript.RegExp"));
    EXPECT_TRUE(writeProperty(re, "Pattern", {arg::text("a+")}));
    EXPECT_EQ(text(readText(re, "Pattern")), "a+");
    freeObject(re);
  }
  // The kept bindings hold the type information until shutdown gives them back.
  recorder->info->AddRef();
  const ULONG held = recorder->info->Release();
  RunCleanupRoutines();
  recorder->info->AddRef();
  EXPECT_LT(recorder->info->Release(), held);
}

TEST_F(Automation, NamesOfAnObjectWithoutTypeInformationAreKeptWhileItsBlockHoldsIt) {
  StartedAsInTheProgram started;
  Recorder* child = recorder->child;  // no type information
  auto holdChild = [&](ObjectRef target) {
    ObjectRef c = readObject(object, "Child");
    assignObject(target, c);
    freeObject(c);
  };
  ObjectRef a = NewObjectBlock();
  holdChild(a);
  ObjectRef b = NewObjectBlock();
  Recorder* other = new Recorder;  // the same kind, numbering its members its own way
  other->idShift = 50;
  b->iface = static_cast<IUnknown*>(other);

  callNumber(a, "Flag");
  callNumber(a, "Flag");
  EXPECT_EQ(child->namesAsked, 1) << "the second call uses the kept number";
  callNumber(b, "Flag");
  EXPECT_EQ(other->calls.back().id, kFlag + 50) << "another object of the kind is asked itself";

  // Released and given its object again: the object is asked anew, so an object
  // that came to live at a released one's address is never called by old numbers.
  releaseObject(a);
  child->idShift = 100;
  holdChild(a);
  callNumber(a, "Flag");
  EXPECT_EQ(child->namesAsked, 2);
  EXPECT_EQ(child->calls.back().id, kFlag + 100);
  freeObject(a);
  freeObject(b);
}

TEST_F(Automation, VariableBecomesPropertyGetAndPut) {
  EXPECT_TRUE(writeProperty(object, "Size", {arg::integer(41)}));
  EXPECT_EQ(lastCall().flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(recorder->size, 41);
  EXPECT_EQ(readNumber(object, "Size"), 41.0);
  EXPECT_EQ(lastCall().flags, DISPATCH_PROPERTYGET);
  EXPECT_TRUE(lastCall().types.empty());
}

TEST_F(Automation, OutputParametersUpdateTheCallersVariables) {
  Text s = MakeText("old", 3);
  int32_t n = 5;
  Text notOut = MakeText("kept", 4);
  callNumber(object, "Swap", {arg::textRef(&s), arg::integerRef(&n), arg::textRef(&notOut)});
  ASSERT_EQ(LastResult(), kOk);
  const Call& c = lastCall();
  EXPECT_EQ(c.types[0], VT_BSTR | VT_BYREF);
  EXPECT_EQ(c.types[1], VT_I4 | VT_BYREF);
  EXPECT_STREQ(s, "\xD0\xC2\xCE\xC4\xD7\xD6") << "新文字 in GBK";
  EXPECT_EQ(n, 105);
  EXPECT_STREQ(notOut, "kept") << "a parameter that is not an output is not written back";

  // A text given by value is passed by reference to the holding copy only.
  callNumber(object, "Swap", {arg::text("value"), arg::integer(1), arg::text("x")});
  EXPECT_EQ(LastResult(), kOk);
  FreeMemory(s);
  FreeMemory(notOut);
}

TEST_F(Automation, VariableArgumentListTravelsAsOneArray) {
  EXPECT_EQ(callNumber(object, "Sum", {arg::text("label"), arg::integer(1), arg::text("two"), arg::number(3)}), 2.0);
  const Call& c = lastCall();
  ASSERT_EQ(c.types.size(), 2u);
  EXPECT_EQ(c.types[0], VT_BSTR);
  EXPECT_EQ(c.types[1], VT_ARRAY | VT_VARIANT | VT_BYREF);
  SAFEARRAY* sa = V_ARRAY(&c.values[1]);
  ASSERT_EQ(sa->rgsabound[0].cElements, 3u);
  VARIANT* items = static_cast<VARIANT*>(sa->pvData);
  EXPECT_EQ(V_VT(&items[0]), VT_I4);
  EXPECT_EQ(V_VT(&items[1]), VT_BSTR);
  EXPECT_EQ(V_VT(&items[2]), VT_R8);

  // No surplus arguments: the array is still there, empty.
  callNumber(object, "Sum", {arg::text("label")});
  ASSERT_EQ(lastCall().types.size(), 2u);
  EXPECT_EQ(V_ARRAY(&lastCall().values[1])->rgsabound[0].cElements, 0u);

  // The script control's Run takes its arguments this way.
  ObjectRef script = NewObjectBlock();
  ASSERT_TRUE(createObject(script, "ScriptControl", "msscript.ocx"));
  ASSERT_TRUE(writeProperty(script, "Language", {arg::text("JScript")}));
  callNumber(script, "ExecuteStatement", {arg::text("function add(a,b){return a+b;} function k(){return 'k';}")});
  EXPECT_EQ(LastResult(), kOk);
  EXPECT_EQ(callNumber(script, "Run", {arg::text("add"), arg::integer(2), arg::integer(40)}), 42.0);
  EXPECT_EQ(text(callText(script, "Run", {arg::text("k")})), "k");
  freeObject(script);
}

TEST_F(Automation, ObjectArgumentsFollowTheDeclaredType) {
  ObjectRef child = readObject(object, "Child");
  ASSERT_FALSE(isObjectEmpty(child));
  callNumber(object, "Take", {arg::object(child), arg::object(child), arg::object(child)});
  const Call& c = lastCall();
  EXPECT_EQ(c.types[0], VT_DISPATCH);
  EXPECT_EQ(c.types[1], VT_DISPATCH) << "a VARIANT parameter receives the object itself";
  EXPECT_EQ(c.types[2], VT_UNKNOWN);
  EXPECT_EQ(V_UNKNOWN(&c.values[2]), nullptr) << "any other declared type receives a null object";
  freeObject(child);
}

// ---- Objects without type information ----

TEST_F(Automation, NamesOfUntypedObjectsBindThroughTheirOwnLookup) {
  ObjectRef child = readObject(object, "Child");
  Recorder* untyped = recorder->child;

  // Read tries property get first, then method.
  EXPECT_EQ(readNumber(child, "Echo", {arg::integer(9)}), 9.0);
  ASSERT_EQ(untyped->calls.size(), 2u);
  EXPECT_EQ(untyped->calls[0].flags, DISPATCH_PROPERTYGET);
  EXPECT_EQ(untyped->calls[1].flags, DISPATCH_METHOD);

  // Write tries put first, with the named argument.
  EXPECT_TRUE(writeProperty(child, "Size", {arg::integer(3)}));
  EXPECT_EQ(untyped->calls.back().flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(untyped->calls.back().named.size(), 1u);
  EXPECT_EQ(untyped->size, 3);

  readText(child, "NoSuchMember");
  EXPECT_EQ(LastResult(), kUnknownName);
  readText(child, "Late");
  EXPECT_EQ(LastResult(), kMemberNotFound);

  // Neither type information nor a name lookup; no automation interface at all.
  untyped->namesImplemented = false;
  readText(child, "Echo");
  EXPECT_EQ(LastResult(), kNoTypeInfo);
  untyped->offersDispatch = false;
  readText(child, "Echo");
  EXPECT_EQ(LastResult(), kNoDispatch);
  freeObject(child);
}

TEST_F(Automation, RegexCollectionsWithoutTypeInformation) {
  ObjectRef re = NewObjectBlock();
  ASSERT_TRUE(createObject(re, "VBScript.RegExp"));
  writeProperty(re, "Pattern", {arg::text("(\\d+)-(x)?")});
  writeProperty(re, "Global", {arg::logical(true)});
  ObjectRef matches = callObject(re, "Execute", {arg::text("a 12- b 345-x")});
  ASSERT_EQ(LastResult(), kOk);
  EXPECT_EQ(readNumber(matches, "Count"), 2.0);
  ObjectRef second = readObject(matches, "Item", {arg::number(1)});
  EXPECT_EQ(LastResult(), kOk);
  EXPECT_EQ(text(readText(second, "Value")), "345-x");
  EXPECT_EQ(readNumber(second, "FirstIndex"), 8.0);
  ObjectRef groups = readObject(second, "SubMatches");
  EXPECT_EQ(readNumber(groups, "Count"), 2.0);
  EXPECT_EQ(text(readText(groups, "Item", {arg::integer(0)})), "345");
  ObjectRef first = readObject(matches, "Item", {arg::integer(0)});
  ObjectRef firstGroups = readObject(first, "SubMatches");
  VariantRef unmatched = readVariant(firstGroups, "Item", {arg::integer(1)});
  EXPECT_EQ(V_VT(AsVariant(unmatched)), VT_EMPTY) << "a group that did not take part";
  EXPECT_EQ(variantToText(unmatched), nullptr);
  readObject(matches, "Item", {arg::integer(5)});
  EXPECT_NE(LastResult(), kOk);
  for (ObjectRef o : {re, matches, second, groups, first, firstGroups}) freeObject(o);
  freeVariant(unmatched);
}

TEST_F(Automation, RegexResultsAreDescribedByTheDualInterfaceTheyAnswerFor) {
  // In the running program the component's own description is bound first, and
  // with it the library its match objects' interfaces belong to.
  StartedAsInTheProgram started;
  ObjectRef re = NewObjectBlock();
  ASSERT_TRUE(createObject(re, "VBScript.RegExp"));
  writeProperty(re, "Pattern", {arg::text("(\\d+)")});
  writeProperty(re, "Global", {arg::logical(true)});
  ObjectRef matches = callObject(re, "Execute", {arg::text("a 12 b 345")});
  for (int k = 0; k < 2; ++k) {
    ObjectRef m = readObject(matches, "Item", {arg::number(k)});
    ObjectRef groups = readObject(m, "SubMatches");
    EXPECT_EQ(text(readText(groups, "Item", {arg::integer(0)})), k ? "345" : "12");
    // Bound through the description: a surplus argument is refused before the call.
    freeObject(readObject(m, "SubMatches", {arg::integer(1)}));
    EXPECT_EQ(LastResult(), kTooManyArguments);
    for (ObjectRef o : {m, groups}) freeObject(o);
  }
  for (ObjectRef o : {re, matches}) freeObject(o);
  RunCleanupRoutines();
}

// ---- Variants ----

TEST(AutomationVariant, ScalarsTextsAndEmptiness) {
  VariantRef v = NewVariantBlock();
  EXPECT_EQ(variantToText(v), nullptr) << "an empty variant gives the empty text";
  ASSERT_TRUE(setVariantValue(v, arg::integer(5)));
  EXPECT_EQ(V_VT(AsVariant(v)), VT_I4);
  EXPECT_EQ(text(variantToText(v)), "5");
  ASSERT_TRUE(setVariantValue(v, arg::text("\xD6\xD0")));  // 中
  ByteSet bytes = variantToByteSet(v);
  ASSERT_NE(bytes, nullptr);
  ASSERT_EQ(bytes->length, 2u) << "a string gives its UTF-16LE bytes without terminator";
  EXPECT_EQ(byteSetData(bytes)[0], 0x2D);
  EXPECT_EQ(byteSetData(bytes)[1], 0x4E);
  FreeMemory(bytes);
  ASSERT_TRUE(setVariantValue(v, arg::logical(true)));
  EXPECT_EQ(V_BOOL(AsVariant(v)), VARIANT_TRUE);
  EXPECT_EQ(variantToByteSet(v), nullptr) << "a logical has no byte form";
  EXPECT_FALSE(setVariantValue(v, windowUnit()));
  EXPECT_EQ(V_VT(AsVariant(v)), VT_EMPTY) << "a value outside the table leaves the variant empty";

  // A text made in place holds exactly the units written into it.
  char16_t* units = makeVariantText(v, 2);
  ASSERT_NE(units, nullptr);
  units[0] = 0x4E2D;  // 中
  units[1] = u'a';
  EXPECT_EQ(V_VT(AsVariant(v)), VT_BSTR);
  EXPECT_EQ(SysStringLen(V_BSTR(AsVariant(v))), 2u);
  EXPECT_EQ(text(variantToText(v)), "\xD6\xD0" "a");
  ASSERT_NE(makeVariantText(v, 0), nullptr);
  EXPECT_EQ(SysStringLen(V_BSTR(AsVariant(v))), 0u) << "no units give the empty text";

  VariantRef copy = NewVariantBlock();
  setVariantValue(v, arg::text("abc"));
  copyVariant(copy, v);
  clearVariant(v);
  EXPECT_EQ(V_VT(AsVariant(v)), VT_EMPTY);
  EXPECT_EQ(text(variantToText(copy)), "abc");
  freeVariant(copy);
  freeVariant(v);
}

TEST(AutomationVariant, ByteSetsAndArraysBecomeSafeArrays) {
  VariantRef v = NewVariantBlock();
  uint8_t raw[] = {1, 2, 3};
  ByteSet b = MakeByteSet(raw, 3);
  ASSERT_TRUE(setVariantValue(v, arg::byteSet(b)));
  EXPECT_EQ(V_VT(AsVariant(v)), VT_ARRAY | VT_UI1);
  ByteSet back = variantToByteSet(v);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->length, 3u);
  EXPECT_EQ(text(variantToText(v)), "") << "a whole array has no text";
  FreeMemory(back);
  FreeMemory(b);
  ASSERT_TRUE(setVariantValue(v, arg::byteSet(nullptr)));
  EXPECT_EQ(V_ARRAY(AsVariant(v))->rgsabound[0].cElements, 0u) << "the empty byte set is an empty array";

  // One array per runtime element type: the SAFEARRAY's type and element 2.
  struct Row { TypeWord type; size_t size; VARTYPE vt; const char* second; };
  const Row rows[] = {
      {type::Byte, 1, VT_UI1, "2"},      {type::Short, 2, VT_I2, "2"},     {type::Int, 4, VT_I4, "2"},
      {type::Long, 8, VT_I4, "2"},       {type::Single, 4, VT_R4, "2"},   {type::Double, 8, VT_R8, "2"},
      {type::Logical, 4, VT_BOOL, "-1"}, {type::Text, sizeof(void*), VT_BSTR, "t2"},
  };
  for (const Row& row : rows) {
    ArrayBlock a = MakeArray(3, row.size);
    uint8_t* e = static_cast<uint8_t*>(ArrayElements(a));
    for (int i = 0; i < 3; ++i) {
      double d = i + 1;
      float f = float(d);
      int64_t n = i + 1;
      if (row.type == type::Double) memcpy(e + i * 8, &d, 8);
      else if (row.type == type::Single) memcpy(e + i * 4, &f, 4);
      else if (row.type == type::Text) {
        Text t = MakeText(i == 1 ? "t2" : "tx", 2);
        memcpy(e + i * sizeof(void*), &t, sizeof t);
      } else memcpy(e + i * row.size, &n, row.size);
    }
    ASSERT_TRUE(setVariantValue(v, {reinterpret_cast<Word>(a), 0, row.type | type::ArrayFlag})) << row.vt;
    EXPECT_EQ(V_VT(AsVariant(v)), VT_ARRAY | row.vt);
    EXPECT_EQ(text(variantToText(v, 2)), row.second) << "element 2 of an array of type " << row.vt;
    if (row.type == type::Text) FreePointerArray(a);
    else FreeMemory(a);
  }
  freeVariant(v);
}

TEST(AutomationVariant, ElementsOfEveryPlatformType) {
  const VARTYPE types[] = {VT_I1,  VT_UI1, VT_I2,   VT_UI2,  VT_I4,   VT_UI4,      VT_I8,   VT_UI8,
                           VT_INT, VT_UINT, VT_R4,  VT_R8,   VT_CY,   VT_DATE,     VT_BSTR, VT_BOOL,
                           VT_DECIMAL, VT_VARIANT};
  for (VARTYPE t : types) {
    VariantRef v = NewVariantBlock();
    V_VT(AsVariant(v)) = VT_ARRAY | t;
    V_ARRAY(AsVariant(v)) = SafeArrayCreateVector(t, 1, 4);
    ASSERT_NE(V_ARRAY(AsVariant(v)), nullptr) << t;
    EXPECT_TRUE(setVariantValue(v, arg::integer(1), 3)) << "element type " << t;
    std::string got = text(variantToText(v, 3));
    // The platform's own text forms: a true logical is -1, day 1 a date.
    const char* expected = t == VT_BOOL ? "-1" : "1";
    if (t != VT_DATE) {
      EXPECT_EQ(got, expected) << "element type " << t;
    }
    EXPECT_FALSE(got.empty());
    EXPECT_FALSE(setVariantValue(v, arg::integer(1), 5)) << "beyond the array";
    ArgRecord belowOne[3] = {arg::variant(v), arg::integer(1), arg::integer(0)};
    EXPECT_EQ(kServices.callLibraryCommand(&core::SetVariantValue, 3, belowOne).low, 0u) << "below 1";
    EXPECT_EQ(variantToText(v, 5), nullptr);
    freeVariant(v);
  }

  // Objects and arrays as elements: objects into object arrays, a byte set only
  // into an array of VARIANTs.
  VariantRef v = NewVariantBlock();
  V_VT(AsVariant(v)) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(AsVariant(v)) = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  uint8_t raw[] = {9, 8};
  ByteSet b = MakeByteSet(raw, 2);
  EXPECT_TRUE(setVariantValue(v, arg::byteSet(b), 2));
  ByteSet back = variantToByteSet(v, 2);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->length, 2u);
  FreeMemory(back);
  VariantRef ints = NewVariantBlock();
  setVariantValue(ints, arg::byteSet(b));
  EXPECT_FALSE(setVariantValue(ints, arg::byteSet(b), 1)) << "a byte set into a byte array";
  FreeMemory(b);
  freeVariant(ints);
  freeVariant(v);
}

TEST(AutomationVariant, TwoByThreeByteArrayGivesSixBytes) {
  SAFEARRAYBOUND bounds[2] = {{3, 0}, {2, 1}};
  SAFEARRAY* sa = SafeArrayCreate(VT_UI1, 2, bounds);
  ASSERT_NE(sa, nullptr);
  for (int i = 0; i < 6; ++i) static_cast<uint8_t*>(sa->pvData)[i] = uint8_t(10 + i);
  VariantRef v = NewVariantBlock();
  V_VT(AsVariant(v)) = VT_ARRAY | VT_UI1;
  V_ARRAY(AsVariant(v)) = sa;
  ByteSet b = variantToByteSet(v);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->length, 6u);
  EXPECT_EQ(byteSetData(b)[5], 15);
  FreeMemory(b);
  // Element indexes run through storage order, first dimension fastest.
  EXPECT_EQ(text(variantToText(v, 1)), "10");
  EXPECT_EQ(text(variantToText(v, 4)), "13");
  EXPECT_EQ(text(variantToText(v, 6)), "15");
  EXPECT_EQ(variantToText(v, 7), nullptr);
  EXPECT_TRUE(setVariantValue(v, arg::integer(77), 5));
  EXPECT_EQ(static_cast<uint8_t*>(sa->pvData)[4], 77);
  freeVariant(v);
}

}  // namespace
}  // namespace lw
