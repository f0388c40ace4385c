// The expression language, one row per case: the expression and what it
// gives for one fixed record, or the error it raises.
#include "core/tableengine/expression.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "core/env/table_error.h"

namespace quorvant {
namespace {

const std::vector<FieldDef> kFields = {
    {"NAME", 'C', 10}, {"AGE", 'N', 5},   {"QVX7", 'C', 3},   {"NOTE", 'M', 10},
    {"BLANK", 'C', 4}, {"SCORE", 'N', 5}, {"ACTIVE", 'L', 1}, {"BORN", 'D', 8},
};

// The record: NAME "Müller", AGE 42, QVX7 "12", NOTE "memo text",
// BLANK empty, SCORE blank, ACTIVE T, BORN 1970-05-01; marked deleted.
class FixedRecord : public RecordSource {
 public:
  std::string_view RawField(int field) override {
    static const char* kRaw[] = {"Müller   ", "   42", "12 ", "         1",
                                 "    ",      "     ", "T",   "19700501"};
    return kRaw[field];
  }
  std::string MemoText(int) override { return "memo text"; }
  bool Deleted() override { return true; }
  uint32_t RecNo() override { return 7; }
};

std::string Evaluate(const std::string& text) {
  try {
    Expression e = Expression::Compile(text, kFields);
    FixedRecord record;
    const Value v = e.Evaluate(record);
    switch (v.type) {
      case ValueType::kString:
        return "\"" + std::string(v.text) + "\"";
      case ValueType::kLogical:
        return v.logical ? ".T." : ".F.";
      case ValueType::kNumber: {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", v.number);
        return buf;
      }
    }
  } catch (const ETableError& e) {
    EXPECT_EQ(e.code(), ETableError::Code::kExpression) << text;
    const std::string prefix = "The expression \"" + text + "\" is not valid: ";
    EXPECT_EQ(std::string(e.what()).substr(0, prefix.size()), prefix);
    return "error: " + std::string(e.what()).substr(prefix.size());
  }
  return "?";
}

struct Case {
  const char* expression;
  const char* expected;
};

TEST(ExpressionTest, EvaluatesAgainstARecord) {
  const Case cases[] = {
      // fields and literals
      {"NAME", "\"Müller   \""},  // padded to its width (ü is two bytes)
      {"name", "\"Müller   \""},
      {"AGE", "42"},
      {"SCORE", "0"},
      {"NOTE", "\"memo text\""},
      {"ACTIVE", ".T."},
      {"BORN", "\"19700501\""},
      {"\"a b\"", "\"a b\""},
      {"'single'", "\"single\""},
      {"3.5", "3.5"},
      {".t.", ".T."},
      // exact comparison but for trailing blanks
      {"QVX7=\"12\"", ".T."},
      {"QVX7=\"1\"", ".F."},
      {"QVX7=\"12   \"", ".T."},
      {"QVX7<>\"1\"", ".T."},
      {"QVX7#\"12\"", ".F."},
      {"QVX7!=\"12\"", ".F."},
      {"QVX7==\"12\"", ".T."},
      {"BLANK=\"\"", ".T."},
      {"NAME>\"M\"", ".T."},
      {"NAME<\"M\"", ".F."},
      {"NAME>=\"Müller\"", ".T."},
      {"NAME<=\"Müller\"", ".T."},
      {"\"a\"<\"a\x01\"", ".F."},  // a blank sorts above control characters
      // numbers
      {"AGE>30", ".T."},
      {"AGE<30", ".F."},
      {"AGE=42", ".T."},
      {"AGE=42.0", ".T."},
      {"AGE>-5", ".T."},
      {"AGE + 8", "50"},
      {"AGE - 50", "-8"},
      {"-AGE", "-42"},
      {"--AGE", "42"},
      {"AGE+1>42", ".T."},
      // precedence: .NOT. > .AND. > .OR., comparisons tighter still
      {".T. .OR. .T. .AND. .F.", ".T."},
      {"(.T. .OR. .T.) .AND. .F.", ".F."},
      {".NOT. .F. .AND. .F.", ".F."},
      {".NOT. AGE = 42", ".F."},
      {"!ACTIVE", ".F."},
      {"AGE>40 .and. QVX7=\"12\"", ".T."},
      {"AGE>50 .Or. QVX7=\"12\"", ".T."},
      // string joining
      {"QVX7+NAME", "\"12 Müller   \""},
      {"TRIM(QVX7)+\"x\"", "\"12x\""},
      // functions
      {"EMPTY(BLANK)", ".T."},
      {"EMPTY(NAME)", ".F."},
      {"EMPTY(SCORE)", ".T."},
      {"EMPTY(AGE)", ".F."},
      {".NOT. EMPTY( NOTE)", ".T."},
      {"LEFT( NAME, 2)", "\"Mü\""},  // characters, not bytes
      {"LEFT(NAME, 0)", "\"\""},
      {"LEFT(NAME, 99)", "\"Müller   \""},
      {"LEFT( BLANK, 1) > \" \"", ".F."},
      {"LEFT( NAME, 1) > \" \"", ".T."},
      {"DELETED()", ".T."},
      {".NOT. DELETED()", ".F."},
      {"UPPER(NAME)", "\"MüLLER   \""},
      {"TRIM(NAME)", "\"Müller\""},
      {"RTRIM(NAME)", "\"Müller\""},
      {"LTRIM(\"  x \")", "\"x \""},
      {"ALLTRIM(\"  x \")", "\"x\""},
      {"VAL(QVX7)", "12"},
      {"VAL(\" -3.5abc\")", "-3.5"},
      {"VAL(NAME)", "0"},
      {"RECNO()", "7"},
      {"upper(trim(name))=\"MüLLER\"", ".T."},
      // errors
      {"", "error: it is empty"},
      {"NOPE=1", "error: the table has no field NOPE"},
      {"QVX7=1", "error: cannot compare a text value with a number value at position 5"},
      {"AGE=\"1\"", "error: cannot compare a number value with a text value at position 4"},
      {"(AGE=1", "error: expected \")\" but found the end"},
      {"AGE=1)", "error: unexpected \")\" at position 6"},
      {"\"open", "error: the string at position 1 has no closing quote"},
      {"AGE ? 1", "error: unexpected character \"?\" at position 5"},
      {"FOO(1)", "error: there is no function FOO"},
      {"LEFT(NAME)", "error: LEFT() takes 2 arguments"},
      {"EMPTY()", "error: EMPTY() takes 1 argument"},
      {"UPPER(AGE)", "error: UPPER() needs a text value, not a number value"},
      {"NAME .AND. .T.", "error: .AND. needs a logical value, not a text value"},
      {".NOT. NAME", "error: .NOT. needs a logical value, not a text value"},
      {"NAME - \"a\"", "error: - needs a number value, not a text value"},
      {"ACTIVE > .F.", "error: logical values can only be compared with = and <>"},
      {"1.2.3", "error: \"1.2.3\" is not a number"},
      {"AGE = ", "error: it ends where a value is expected"},
      {"AGE = .AND.", "error: unexpected \".AND.\" at position 7"},
  };
  for (const Case& c : cases) EXPECT_EQ(Evaluate(c.expression), c.expected) << c.expression;
}

// Hostile lengths are refused before they can exhaust the stack.
TEST(ExpressionTest, RefusesExpressionsNestedTooDeeply) {
  EXPECT_EQ(Evaluate(std::string(100, '(') + "1" + std::string(100, ')')), "1");
  EXPECT_EQ(Evaluate(std::string(101, '(') + "1" + std::string(101, ')')),
            "error: it is nested too deeply");
  EXPECT_EQ(Evaluate(std::string(5000, '(')), "error: it is nested too deeply");
  EXPECT_EQ(Evaluate(std::string(200, '-') + "1"), "error: it is nested too deeply");
  std::string sum = "1";
  for (int i = 0; i < 1000; ++i) sum += "+1";
  EXPECT_EQ(Evaluate(sum), "1001");
  EXPECT_EQ(Evaluate(sum + "+1"), "error: it is too long");
}

TEST(ExpressionTest, ConditionsMustBeLogical) {
  EXPECT_NO_THROW(Expression::CompileCondition("AGE>1", kFields));
  try {
    Expression::CompileCondition("NAME", kFields);
    FAIL();
  } catch (const ETableError& e) {
    EXPECT_STREQ(e.what(), "The expression \"NAME\" is not valid: it is not a condition");
  }
}

TEST(ExpressionTest, KeysSortLikeTheirValues) {
  FixedRecord record;
  Expression text = Expression::Compile("NAME", kFields);
  EXPECT_EQ(text.Key(record), "Müller");
  EXPECT_EQ(text.KeyForText("Müller  "), "Müller");
  Expression number = Expression::Compile("AGE", kFields);
  EXPECT_EQ(number.Key(record), NumberKey(42));
  EXPECT_EQ(number.KeyForText(" 42 "), NumberKey(42));
  const double values[] = {-1e9, -42, -1.5, -0.0, 0, 0.25, 1, 42, 1e9};
  for (size_t i = 0; i + 1 < std::size(values); ++i) {
    EXPECT_LE(NumberKey(values[i]), NumberKey(values[i + 1])) << values[i];
  }
  EXPECT_EQ(NumberKey(-0.0), NumberKey(0));
  EXPECT_EQ(Expression::Compile("ACTIVE", kFields).Key(record), "T");
}

}  // namespace
}  // namespace quorvant
