#include "collector/form_decoding.h"

#include <gtest/gtest.h>

#include "collector/form_encoding.h"

namespace quorvant::collector {
namespace {

std::string Show(const std::optional<FormFields>& fields) {
  if (!fields) return "invalid";
  std::string out;
  for (const auto& [name, value] : *fields) out += "[" + name + "|" + value + "]";
  return out;
}

TEST(FormDecoding, Cases) {
  struct Case {
    const char* text;
    const char* fields;
  };
  const Case cases[] = {
      {"a=1&b=2", "[a|1][b|2]"},
      {"", ""},
      {"a=1&&b=", "[a|1][b|]"},
      {"flag", "[flag|]"},
      {"x=a+b%20c%2B%26%3d", "[x|a b c+&=]"},
      {"qvx1-0=1&qvx1-0=2", "[qvx1-0|1][qvx1-0|2]"},
      {"q=%E2%82%AC", "[q|\xE2\x82\xAC]"},
      {"q=%", "invalid"},
      {"q=%4", "invalid"},
      {"q=%G0", "invalid"},
      {"%zz=1", "invalid"},
      {"=v", "[|v]"},
  };
  for (const Case& c : cases) EXPECT_EQ(Show(DecodeForm(c.text)), c.fields) << c.text;
  EXPECT_EQ(Show(DecodeForm(std::string_view("q=%00", 5))), std::string("[q|\0]", 5));
}

TEST(FormDecoding, LimitsRefuseTheWholeText) {
  const FormLimits limits{3, 4, 5};
  EXPECT_EQ(Show(DecodeForm("a=1&b=2&c=3", limits)), "[a|1][b|2][c|3]");
  EXPECT_EQ(Show(DecodeForm("a=1&b=2&c=3&d=4", limits)), "invalid");
  EXPECT_EQ(Show(DecodeForm("name=12345", limits)), "[name|12345]");
  EXPECT_EQ(Show(DecodeForm("names=1", limits)), "invalid");
  EXPECT_EQ(Show(DecodeForm("n=123456", limits)), "invalid");
  EXPECT_EQ(Show(DecodeForm("n=%41%41%41%41%41%41", limits)), "invalid");  // counts decoded bytes
}

TEST(FormDecoding, EncodingRoundTripsAnyBytes) {
  FormFields fields = {{"plain", "value"}, {"odd name&=", "a+b %\r\n\"'<>"}, {"", ""}};
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  fields.emplace_back("bytes", all);
  EXPECT_EQ(DecodeForm(EncodeForm(fields), {10, 1000, 1000}), fields);
}

TEST(FormDecoding, FieldValueTakesTheFirst) {
  const FormFields fields = {{"a", "1"}, {"A", "2"}, {"a", "3"}};
  EXPECT_EQ(FieldValue(fields, "a"), "1");
  EXPECT_EQ(FieldValue(fields, "A"), "2");
  EXPECT_EQ(FieldValue(fields, "b"), std::nullopt);
}

}  // namespace
}  // namespace quorvant::collector
