// How answers are stored; the dialog itself is tested under Wine.
#include "runtime/input_box.h"

#include <gtest/gtest.h>

#include "runtime/heap.h"
#include "runtime/text.h"

namespace {

std::optional<std::string> next_answer;
rt::InputBoxRequest last_request;

std::optional<std::string> scripted(const rt::InputBoxRequest& request) {
  last_request = request;
  return next_answer;
}

class InputBox : public testing::Test {
 protected:
  void SetUp() override { rt_set_input_box_hook(scripted); }
  void TearDown() override { rt_set_input_box_hook(nullptr); }

  template <typename T>
  bool ask(std::optional<std::string> answer, T& variable, uint32_t type, int kind = 1) {
    next_answer = std::move(answer);
    return rt::input_box({"prompt", "caption", std::nullopt, kind},
                         rt_pointer_arg(&variable, type | RT_BY_REF));
  }
};

TEST_F(InputBox, TextTargetsGetANewTextAndReleaseTheOld) {
  char* text = rt_text_make("old");
  EXPECT_TRUE(ask(std::string("新的"), text, RT_TEXT));
  EXPECT_STREQ(text, "新的");
  EXPECT_TRUE(ask(std::string(""), text, RT_TEXT));
  EXPECT_EQ(text, nullptr);  // the empty text
}

TEST_F(InputBox, NumberTargetsTakeTheLeadingNumber) {
  int32_t i = 5;
  EXPECT_TRUE(ask(std::string("12abc"), i, RT_INT, 2));
  EXPECT_EQ(i, 12);
  EXPECT_TRUE(ask(std::string(""), i, RT_INT, 2));  // empty counts as "0"
  EXPECT_EQ(i, 0);
  int64_t big = 0;
  EXPECT_TRUE(ask(std::string("-9000000000"), big, RT_INT64));
  EXPECT_EQ(big, -9000000000LL);
  double d = 0;
  EXPECT_TRUE(ask(std::string("3.5e1x"), d, RT_DOUBLE, 3));
  EXPECT_DOUBLE_EQ(d, 35.0);
  float f = 0;
  EXPECT_TRUE(ask(std::string("-0.25"), f, RT_FLOAT, 3));
  EXPECT_FLOAT_EQ(f, -0.25f);
  uint8_t b = 0;
  EXPECT_TRUE(ask(std::string("200"), b, RT_BYTE));
  EXPECT_EQ(b, 200);
  int16_t s = 0;
  EXPECT_TRUE(ask(std::string("-300"), s, RT_SHORT));
  EXPECT_EQ(s, -300);
}

// Numbers past an integer target's range saturate, as the runtime's
// conversions do, instead of wrapping.
TEST_F(InputBox, IntegerTargetsSaturate) {
  int32_t i = 0;
  EXPECT_TRUE(ask(std::string("3000000000"), i, RT_INT, 2));
  EXPECT_EQ(i, INT32_MAX);
  EXPECT_TRUE(ask(std::string("-99999999999999999999"), i, RT_INT, 2));
  EXPECT_EQ(i, INT32_MIN);
  uint8_t b = 0;
  EXPECT_TRUE(ask(std::string("300"), b, RT_BYTE));
  EXPECT_EQ(b, 255);
  int16_t s = 0;
  EXPECT_TRUE(ask(std::string("-40000"), s, RT_SHORT));
  EXPECT_EQ(s, INT16_MIN);
  int64_t big = 0;
  EXPECT_TRUE(ask(std::string("99999999999999999999"), big, RT_INT64));
  EXPECT_EQ(big, INT64_MAX);
}

TEST_F(InputBox, CancelOrAnUnsupportedTargetStoresNothing) {
  int32_t i = 5;
  EXPECT_FALSE(ask(std::nullopt, i, RT_INT));
  EXPECT_EQ(i, 5);
  int32_t flag = 1;
  EXPECT_FALSE(ask(std::string("0"), flag, RT_BOOL));
  EXPECT_EQ(flag, 1);
  EXPECT_FALSE(rt::input_box({}, rt_int_arg(3)));  // not a variable
}

TEST_F(InputBox, KindsOutsideOneToFourAreFreeText) {
  char* text = nullptr;
  for (int kind : {0, 5, -1}) {
    ask(std::string("x"), text, RT_TEXT, kind);
    EXPECT_EQ(last_request.kind, 1);
  }
  ask(std::string("x"), text, RT_TEXT, 4);
  EXPECT_EQ(last_request.kind, 4);
  rt_free(text);
}

TEST_F(InputBox, CommandArgumentsReachTheDialog) {
  char* text = nullptr;
  next_answer = "answer";
  const RtArg args[] = {rt_omitted(), rt_text_arg("标题"), rt_text_arg("默认"),
                        rt_pointer_arg(&text, RT_TEXT | RT_BY_REF), rt_omitted()};
  EXPECT_TRUE(rt_input_box(5, args));
  EXPECT_FALSE(last_request.prompt.has_value());
  EXPECT_EQ(last_request.caption, "标题");
  EXPECT_EQ(last_request.default_text, "默认");
  EXPECT_EQ(last_request.kind, 1);
  EXPECT_STREQ(text, "answer");
  rt_free(text);
}

}  // namespace
