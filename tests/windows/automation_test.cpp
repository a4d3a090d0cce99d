// The automation bridge on the system's own objects under Wine.
#include "runtime/automation.h"

#include <windows.h>
// After windows.h.
#include <gtest/gtest.h>
#include <ole2.h>

#include "runtime/heap.h"

namespace {

class Automation : public testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitialize(nullptr); }
  void TearDown() override { rt::com_release(object); }
  RtComObject object;
};

TEST_F(Automation, EmptyObjectsRecordTheNullPointerStatus) {
  EXPECT_TRUE(rt::com_is_empty(object));
  EXPECT_EQ(rt::com_get_text(object, "Pattern"), "");
  EXPECT_EQ(object.status, RT_COM_NULL_OBJECT);
  EXPECT_FALSE(rt::com_set(object, "Pattern", std::vector<RtArg>{rt_text_arg("x")}));
  EXPECT_FALSE(rt::com_create(object, "No.Such.Object"));
  EXPECT_TRUE(rt::com_is_empty(object));
  EXPECT_NE(object.status, 0);
}

TEST_F(Automation, RegExpThroughTheBridge) {
  ASSERT_TRUE(rt::com_create(object, "VBScript.RegExp"));
  EXPECT_TRUE(rt::com_set(object, "Global", std::vector<RtArg>{rt_bool_arg(true)}));
  EXPECT_TRUE(rt::com_set(object, "Pattern", std::vector<RtArg>{rt_text_arg("\\d+")}));
  EXPECT_EQ(rt::com_get_text(object, "Pattern"), "\\d+");
  RtComObject matches =
      rt::com_call_object(object, "Execute", std::vector<RtArg>{rt_text_arg("a12中b345")});
  ASSERT_FALSE(rt::com_is_empty(matches));
  EXPECT_EQ(rt::com_get_number(matches, "Count"), 2);
  RtComObject second = rt::com_get_object(matches, "Item", std::vector<RtArg>{rt_int_arg(1)});
  EXPECT_EQ(rt::com_get_text(second, "Value"), "345");
  EXPECT_EQ(rt::com_get_number(second, "FirstIndex"), 5);  // characters, not bytes
  rt::com_release(second);
  rt::com_release(matches);
  EXPECT_EQ(rt::com_call_text(object, "Replace",
                              std::vector<RtArg>{rt_text_arg("a1b22"), rt_text_arg("#")}),
            "a#b#");
}

TEST_F(Automation, OmittedLastArgumentIsNotPassedAndAssignSharesTheObject) {
  ASSERT_TRUE(rt::com_create(object, "Scripting.Dictionary"));
  rt::com_call(object, "Add",
               std::vector<RtArg>{rt_text_arg("键"), rt_text_arg("值"), rt_omitted()});
  EXPECT_EQ(object.status, 0);
  EXPECT_EQ(rt::com_get_number(object, "Count"), 1);
  EXPECT_EQ(rt::com_call_number(object, "Exists", std::vector<RtArg>{rt_text_arg("键")}), -1);
  RtComObject other;
  rt::com_assign(other, object);
  EXPECT_EQ(rt::com_get_text(other, "Item", std::vector<RtArg>{rt_text_arg("键")}), "值");
  rt::com_release(other);
  EXPECT_TRUE(rt::com_is_empty(other));
  EXPECT_EQ(rt::com_get_number(object, "Count"), 1);  // still held by `object`
}

TEST(VariantText, BooleansNumbersAndArrays) {
  RtVariant v;
  auto* raw = reinterpret_cast<VARIANT*>(&v);
  raw->vt = VT_BOOL;
  raw->boolVal = VARIANT_TRUE;
  EXPECT_EQ(rt::variant_text(v), "真");
  raw->boolVal = VARIANT_FALSE;
  EXPECT_EQ(rt::variant_text(v), "假");
  raw->vt = VT_I4;
  raw->lVal = 5;
  EXPECT_EQ(rt::variant_text(v), "5");

  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  VARIANT* items = nullptr;
  SafeArrayAccessData(array, reinterpret_cast<void**>(&items));
  items[0].vt = VT_BSTR;
  items[0].bstrVal = SysAllocString(L"甲");
  items[1].vt = VT_I4;
  items[1].lVal = 7;
  SafeArrayUnaccessData(array);
  raw->vt = VT_ARRAY | VT_VARIANT;
  raw->parray = array;
  EXPECT_EQ(rt::variant_text(v), "甲");
  EXPECT_EQ(rt::variant_text(v, 2), "7");
  EXPECT_EQ(rt::variant_text(v, 3), "");
  rt::variant_clear(v);
  EXPECT_EQ(raw->vt, VT_EMPTY);
}

}  // namespace

namespace {

TEST_F(Automation, CommandsDecodeTheirTriples) {
  RtArg create[] = {rt_pointer_arg(&object, RT_COM_OBJECT | RT_BY_REF),
                    rt_text_arg("Scripting.Dictionary")};
  ASSERT_TRUE(rt_com_create(2, create));
  RtArg add[] = {create[0], rt_text_arg("Add"), rt_text_arg("k"), rt_int_arg(5)};
  rt_com_call(4, add);
  RtArg item[] = {create[0], rt_text_arg("Item"), rt_text_arg("k")};
  EXPECT_EQ(rt_com_get_number(3, item), 5);
  RtVariant* value = rt_com_get_variant(3, item);
  RtArg variant[] = {rt_pointer_arg(value, RT_VARIANT | RT_BY_REF)};
  rt::Text text = rt::Text::adopt(rt_variant_text(1, variant));
  EXPECT_EQ(text, "5");
  rt_variant_clear(1, variant);
  rt_free(value);
  RtArg empty[] = {create[0]};
  EXPECT_FALSE(rt_com_is_empty(1, empty));
  rt_com_release(1, empty);
  EXPECT_TRUE(rt_com_is_empty(1, empty));
}

}  // namespace

namespace {

// A small automation object of the tests' own, with type information made
// at run time: Append(text by reference) adds "!" to the caller's text,
// Add(a, b) adds two numbers.
class Echo {
 public:
  virtual HRESULT STDMETHODCALLTYPE Append(BSTR* text) {
    std::wstring grown = std::wstring(*text ? *text : L"") + L"!";
    SysFreeString(*text);
    *text = SysAllocString(grown.c_str());
    return S_OK;
  }
  // Dispatch-only type information calls it as declared: the sum is the
  // function's own result.
  virtual LONG STDMETHODCALLTYPE Add(LONG a, LONG b) { return a + b; }
  // Changes every variable it is given by reference.
  virtual HRESULT STDMETHODCALLTYPE Flip(VARIANT_BOOL* flag, LONG* number, DOUBLE* value) {
    *flag = *flag ? VARIANT_FALSE : VARIANT_TRUE;
    *number += 1;
    *value *= 2;
    return S_OK;
  }
  // Whether the object variable it is given by reference holds an object.
  virtual LONG STDMETHODCALLTYPE Holds(IDispatch** object) { return *object ? 1 : 0; }
};

RtComObject make_echo(Echo& echo) {
  static PARAMDATA append_params[] = {{const_cast<OLECHAR*>(L"text"), VT_BSTR | VT_BYREF}};
  static PARAMDATA add_params[] = {{const_cast<OLECHAR*>(L"a"), VT_I4},
                                   {const_cast<OLECHAR*>(L"b"), VT_I4}};
  static PARAMDATA flip_params[] = {{const_cast<OLECHAR*>(L"flag"), VT_BOOL | VT_BYREF},
                                    {const_cast<OLECHAR*>(L"number"), VT_I4 | VT_BYREF},
                                    {const_cast<OLECHAR*>(L"value"), VT_R8 | VT_BYREF}};
  static PARAMDATA holds_params[] = {{const_cast<OLECHAR*>(L"object"), VT_DISPATCH | VT_BYREF}};
  static METHODDATA methods[] = {
      {const_cast<OLECHAR*>(L"Append"), append_params, 1, 0, CC_STDCALL, 1, DISPATCH_METHOD,
       VT_EMPTY},
      {const_cast<OLECHAR*>(L"Add"), add_params, 2, 1, CC_STDCALL, 2, DISPATCH_METHOD, VT_I4},
      {const_cast<OLECHAR*>(L"Flip"), flip_params, 3, 2, CC_STDCALL, 3, DISPATCH_METHOD, VT_EMPTY},
      {const_cast<OLECHAR*>(L"Holds"), holds_params, 4, 3, CC_STDCALL, 1, DISPATCH_METHOD, VT_I4},
  };
  static INTERFACEDATA data = {methods, 4};
  ITypeInfo* info = nullptr;
  IUnknown* unknown = nullptr;
  if (FAILED(CreateDispTypeInfo(&data, LOCALE_SYSTEM_DEFAULT, &info))) return {};
  // The functions live in the interface the made class implements.
  HREFTYPE interface_ref = 0;
  ITypeInfo* interface_info = nullptr;
  if (SUCCEEDED(info->GetRefTypeOfImplType(0, &interface_ref)) &&
      SUCCEEDED(info->GetRefTypeInfo(interface_ref, &interface_info))) {
    CreateStdDispatch(nullptr, &echo, interface_info, &unknown);
    interface_info->Release();
  } else {
    CreateStdDispatch(nullptr, &echo, info, &unknown);
  }
  info->Release();
  return RtComObject{unknown, 0};
}

TEST_F(Automation, TextVariablesPassedByReferenceReceiveTheCalleesText) {
  Echo echo;
  object = make_echo(echo);
  ASSERT_FALSE(rt::com_is_empty(object));
  char* text = rt_text_make("中文");
  rt::com_call(object, "Append", std::vector<RtArg>{rt_pointer_arg(&text, RT_TEXT | RT_BY_REF)});
  EXPECT_EQ(object.status, 0);
  EXPECT_STREQ(text, "中文!");
  rt_free(text);
}

TEST_F(Automation, OmittedLastArgumentMeansOneArgumentFewer) {
  Echo echo;
  object = make_echo(echo);
  EXPECT_EQ(rt::com_call_number(object, "Add", std::vector<RtArg>{rt_int_arg(1), rt_int_arg(2)}),
            3);
  EXPECT_EQ(object.status, 0);
  rt::com_call_number(object, "Add", std::vector<RtArg>{rt_int_arg(1), rt_omitted()});
  EXPECT_EQ(object.status, int32_t(DISP_E_BADPARAMCOUNT));  // only one was passed
}

// Variables passed by reference come back as the callee left them: a flag
// set false reads false (its 16-bit value is not left in the low half of a
// 32-bit -1), and numbers and objects go through too.
TEST_F(Automation, BooleanNumberAndObjectVariablesPassedByReference) {
  Echo echo;
  object = make_echo(echo);
  for (int32_t start : {-1, 1, 0}) {
    int32_t flag = start;
    int32_t number = 41;
    double value = 1.25;
    rt::com_call(object, "Flip",
                 std::vector<RtArg>{rt_pointer_arg(&flag, RT_BOOL | RT_BY_REF),
                                    rt_pointer_arg(&number, RT_INT | RT_BY_REF),
                                    rt_pointer_arg(&value, RT_DOUBLE | RT_BY_REF)});
    EXPECT_EQ(object.status, 0);
    EXPECT_EQ(flag, start ? 0 : -1) << start;
    EXPECT_EQ(number, 42);
    EXPECT_EQ(value, 2.5);
  }
  RtComObject other = make_echo(echo);
  EXPECT_EQ(rt::com_call_number(object, "Holds",
                                std::vector<RtArg>{rt_pointer_arg(&other, RT_COM_OBJECT)}),
            1);
  EXPECT_EQ(object.status, 0);
  rt::com_release(other);
}

}  // namespace
