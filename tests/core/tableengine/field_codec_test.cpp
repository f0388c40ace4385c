// Field values in their record form, one row per case.
#include "core/tableengine/field_codec.h"

#include <gtest/gtest.h>

namespace quorvant {
namespace {

TEST(FieldCodecTest, NumbersFitTheirWidthOrAreRefused) {
  const struct {
    double value;
    int width, decimals;
    const char* expected;  // nullptr: does not fit
  } cases[] = {
      {42, 5, 0, "   42"},
      {-9999, 5, 0, "-9999"},
      {99999, 5, 0, "99999"},
      {100000, 5, 0, nullptr},
      {-10000, 5, 0, nullptr},
      {12.5, 5, 0, "   12"},
      {-0.4, 3, 0, "  0"},
      {-3.25, 8, 2, "   -3.25"},
      {0.125, 6, 3, " 0.125"},
      {1e300, 20, 0, nullptr},
      {-0.0, 2, 0, " 0"},
      {-7, 2, 0, "-7"},
      {7, 1, 0, "7"},
      {-7, 1, 0, nullptr},
      {5, 6, 2, "  5.00"},
      {123456789012345678.0, 20, 0, "  123456789012345680"},
      {999999999999999.0, 15, 0, "999999999999999"},
  };
  for (const auto& c : cases) {
    const auto encoded = EncodeNumber(c.value, c.width, c.decimals);
    EXPECT_EQ(encoded.value_or("(none)"), c.expected ? c.expected : "(none)") << c.value;
  }
}

TEST(FieldCodecTest, DecodesNumbersAndMemoBlocks) {
  EXPECT_EQ(DecodeNumber("   42"), 42);
  EXPECT_EQ(DecodeNumber("+7"), 7);
  EXPECT_EQ(DecodeNumber(" -3.25 "), -3.25);
  EXPECT_EQ(DecodeNumber("     "), std::nullopt);
  EXPECT_EQ(DecodeNumber("*****"), std::nullopt);
  EXPECT_EQ(DecodeNumber("1 2"), std::nullopt);
  EXPECT_EQ(DecodeMemoBlock("         8"), 8u);
  EXPECT_EQ(DecodeMemoBlock("          "), 0u);
  EXPECT_EQ(DecodeMemoBlock(std::string("\x09\x01\0\0", 4)), 265u);  // Visual FoxPro
  EXPECT_EQ(EncodeMemoBlock(8, 10), "         8");
  EXPECT_EQ(EncodeMemoBlock(0, 10), "          ");
  EXPECT_EQ(EncodeCharacter("ab", 4), "ab  ");
  EXPECT_EQ(EncodeCharacter("aé", 2), "a ");  // never half a character
  EXPECT_EQ(FieldKey("qvx1_a"), "QVX1_A");
  EXPECT_FALSE(ValidName("é"));
  EXPECT_FALSE(ValidName("1A"));
  EXPECT_TRUE(ValidName("A_1"));
}

TEST(FieldCodecTest, TrimRightRemovesOnlyTrailingBlanks) {
  for (size_t lead = 0; lead < 3; ++lead) {
    for (size_t blanks = 0; blanks < 20; ++blanks) {
      const std::string text = std::string(lead, 'x') + " y" + std::string(blanks, ' ');
      EXPECT_EQ(TrimRight(text), text.substr(0, lead + 2)) << lead << "/" << blanks;
    }
  }
  EXPECT_EQ(TrimRight(std::string(40, ' ')), "");
  EXPECT_EQ(TrimRight(std::string("a\0        ", 10)), std::string("a\0", 2));
}

}  // namespace
}  // namespace quorvant
