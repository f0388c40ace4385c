// Expression: a compiled xBase expression over the fields of one table, used
// for index keys, tag conditions, queries and view filters.
//
// The language: field names; strings in double quotes; numbers; .T. and .F.;
// comparisons = <> # > < >= <= (== and != as synonyms of = and <>); + (adds
// numbers, joins strings); - (numbers); .AND., .OR., .NOT. and "!";
// parentheses; the functions EMPTY(x), LEFT(s, n), DELETED(), UPPER(s),
// TRIM(s) (also RTRIM), LTRIM(s), ALLTRIM(s), VAL(s) and RECNO(). Names and
// dotted words are case-insensitive. Precedence from loosest: .OR., .AND.,
// .NOT., comparisons, + and -, unary minus.
//
// Strings compare byte by byte as if the shorter were padded with blanks,
// so = and <> are exact but for trailing blanks: "12" = "1" is false. A
// character field gives its text padded to its width; a numeric field its
// value (a blank field 0); a memo field its text; a date field YYYYMMDD; a
// logical field .T. or .F.
//
// Compile() checks names and types, so a valid expression cannot fail while
// it is evaluated. Thread-safety: none; evaluation reuses buffers inside the
// compiled tree, so each thread needs its own Expression.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/tableengine/field_codec.h"

namespace quorvant {

enum class ValueType { kString, kNumber, kLogical };

struct Value {
  ValueType type = ValueType::kLogical;
  bool logical = false;
  double number = 0;
  std::string_view text;  // valid until the expression is evaluated again
};

// What an expression reads: the current record of a table.
class RecordSource {
 public:
  virtual ~RecordSource() = default;
  virtual std::string_view RawField(int field) = 0;  // the field's bytes in the record
  virtual std::string MemoText(int field) = 0;
  virtual bool Deleted() = 0;
  virtual uint32_t RecNo() = 0;
};

struct ExpressionNode;

class Expression {
 public:
  Expression();
  ~Expression();
  Expression(Expression&&) noexcept;
  Expression& operator=(Expression&&) noexcept;

  // Throws ETableError (kExpression) quoting the text and saying what is
  // wrong: a syntax error, a name that is no field or function, or
  // operands of the wrong type.
  static Expression Compile(std::string_view text, const std::vector<FieldDef>& fields);
  // As Compile, and also requires a logical result.
  static Expression CompileCondition(std::string_view text, const std::vector<FieldDef>& fields);

  const std::string& text() const { return text_; }
  ValueType type() const;
  bool empty() const { return root_ == nullptr; }

  // Requires: !empty().
  Value Evaluate(RecordSource& record);
  // Requires: a logical expression.
  bool Test(RecordSource& record);
  // The index key: strings without trailing blanks, numbers as 8 bytes that
  // sort in numeric order, logicals as "T" or "F".
  std::string Key(RecordSource& record);

  // The key for a value the person typed, in the form Key() gives; for a
  // numeric expression the text is read as a number.
  std::string KeyForText(std::string_view text) const;

 private:
  std::string text_;
  std::unique_ptr<ExpressionNode> root_;
};

// The 8-byte form of a number that sorts bytewise in numeric order.
std::string NumberKey(double value);

}  // namespace quorvant
