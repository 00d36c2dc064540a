#include <gtest/gtest.h>

#include "app/text_encoding.h"
#include "bridge/device_arguments.h"

namespace vorna::test {
namespace {

ArgValue S(const char* utf8) { return ArgValue::String(Utf8ToUtf16(utf8)); }
ArgValue N(double v) { return ArgValue::Number(v); }

TEST(ScalePortName, ComPrefixInAnyCaseAndLongerThanThree) {
  struct Case {
    ArgList args;
    std::u16string port;
  };
  const std::vector<Case> cases = {
      {{S("com3")}, u"com3"},         {{S("COM12")}, u"COM12"},  {{S("cOm1")}, u"cOm1"},
      {{S("\\\\.\\COM3")}, u""},      {{S("COM")}, u""},         {{ArgValue::Undefined()}, u""},
      {{N(3)}, u""},                  {{S("LPT1")}, u""},        {{S("COM3"), S("COM4")}, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(ScalePortNameFrom(c.args), c.port);
}

TEST(CardWriteRequest, AcceptedAndRejectedObjects) {
  struct Case {
    std::vector<ArgProperty> properties;
    bool accepted;
  };
  std::u16string sixteen(16, u'1');
  std::u16string seventeen(17, u'1');
  const std::vector<Case> cases = {
      {{{u"uid", S("04A1")}}, true},
      {{}, false},                                             // uid missing
      {{{u"uid", N(1)}}, false},                               // uid not a string
      {{{u"uid", S("1")}, {u"key", S("ABCDEF")}}, true},
      {{{u"uid", S("1")}, {u"key", S("ABCDE")}}, false},       // key of 5
      {{{u"uid", S("1")}, {u"key", S("ABCDEFG")}}, false},     // key of 7
      {{{u"uid", S("1")}, {u"key", N(123456)}}, true},         // non-string key: zero key
      {{{u"uid", S("1")}, {u"name", ArgValue::String(sixteen)}}, true},
      {{{u"uid", S("1")}, {u"name", ArgValue::String(seventeen)}}, false},
      {{{u"uid", S("1")}, {u"total", N(12)}}, true},           // non-string fields ignored
      {{{u"uid", S("1")}, {u"consume", S("")}}, false},        // consume needs 1 to 16
      {{{u"uid", S("1")}, {u"phone", S("")}}, true},
  };
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(CardWriteRequestFrom(ArgValue::Object(cases[i].properties)).has_value(),
              cases[i].accepted)
        << "case " << i;

  std::optional<CardWriteRequest> card = CardWriteRequestFrom(ArgValue::Object(
      {{u"uid", S("04A1")}, {u"key", N(1)}, {u"name", S("王")}, {u"points", N(5)}}));
  ASSERT_TRUE(card);
  EXPECT_EQ(card->uid, u"04A1");
  EXPECT_FALSE(card->key);
  EXPECT_EQ(card->name, u"王");
  EXPECT_FALSE(card->points);
  EXPECT_FALSE(CardWriteRequestFrom(S("{}")));
}

TEST(CardReadRequest, NeedsASixCharacterKey) {
  EXPECT_TRUE(CardReadRequestFrom(ArgValue::Object({{u"key", S("123456")}})));
  EXPECT_FALSE(CardReadRequestFrom(ArgValue::Object({{u"uid", S("1")}})));
  EXPECT_FALSE(CardReadRequestFrom(ArgValue::Object({{u"key", S("1234567")}})));
  std::optional<CardReadRequest> r =
      CardReadRequestFrom(ArgValue::Object({{u"uid", N(7)}, {u"key", S("123456")}}));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->uid, u"");
}

TEST(TagWriteRequest, IntegerNumberAnyPriceStringName) {
  auto tag = [](ArgValue number, ArgValue price, ArgValue name) {
    return TagWriteRequestFrom(
        ArgValue::Object({{u"number", number}, {u"price", price}, {u"name", name}}));
  };
  std::optional<TagWriteRequest> ok = tag(N(7), N(2.5), S("苹果"));
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->number, 7);
  EXPECT_EQ(ok->price, 2.5);
  EXPECT_EQ(ok->name, u"苹果");
  EXPECT_FALSE(tag(N(7.5), N(2.5), S("a")));
  EXPECT_FALSE(tag(S("7"), N(2.5), S("a")));
  EXPECT_FALSE(tag(N(7), S("2.5"), S("a")));
  EXPECT_FALSE(tag(N(7), N(2.5), N(1)));
}

}  // namespace
}  // namespace vorna::test
