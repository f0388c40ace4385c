// Evaluation of compiled expressions, and the Expression class around it.
#include <bit>
#include <cassert>
#include <charconv>
#include <cstring>

#include "core/shell/text_helpers.h"
#include "core/tableengine/expression_lexer.h"
#include "core/tableengine/expression_node.h"
#include "core/tableengine/key_index.h"

namespace quorvant {
namespace {

Value Text(std::string_view text) {
  Value v;
  v.type = ValueType::kString;
  v.text = text;
  return v;
}

Value Number(double n) {
  Value v;
  v.type = ValueType::kNumber;
  v.number = n;
  return v;
}

Value Logical(bool b) {
  Value v;
  v.type = ValueType::kLogical;
  v.logical = b;
  return v;
}

// VAL(): the number at the start of the text after blanks; 0 when none.
double LeadingNumber(std::string_view text) {
  text = TrimBlanks(text);
  size_t skip = !text.empty() && text[0] == '+' ? 1 : 0;
  double value = 0;
  std::from_chars(text.data() + skip, text.data() + text.size(), value);
  return value;
}

Value FieldValue(ExpressionNode& n, RecordSource& r) {
  switch (n.field_type) {
    case 'N':
    case 'F':
      return Number(DecodeNumber(r.RawField(n.field)).value_or(0));
    case 'L': {
      const std::string_view raw = r.RawField(n.field);
      return Logical(!raw.empty() && std::strchr("TtYy", raw[0]) != nullptr && raw[0] != '\0');
    }
    case 'M':
      n.scratch = r.MemoText(n.field);
      return Text(n.scratch);
    default:
      return Text(r.RawField(n.field));
  }
}

bool Compare(CompareOp op, const Value& a, const Value& b) {
  int c = 0;
  if (a.type == ValueType::kString) {
    c = CompareKeys(a.text, b.text);
  } else if (a.type == ValueType::kNumber) {
    c = a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
  } else {
    c = a.logical == b.logical ? 0 : 1;
  }
  switch (op) {
    case CompareOp::kEqual:
      return c == 0;
    case CompareOp::kNotEqual:
      return c != 0;
    case CompareOp::kGreater:
      return c > 0;
    case CompareOp::kLess:
      return c < 0;
    case CompareOp::kGreaterEqual:
      return c >= 0;
    case CompareOp::kLessEqual:
      return c <= 0;
  }
  return false;
}

bool IsEmpty(const Value& v) {
  switch (v.type) {
    case ValueType::kString:
      return TrimBlanks(v.text).empty();
    case ValueType::kNumber:
      return v.number == 0;
    case ValueType::kLogical:
      return !v.logical;
  }
  return true;
}

Value Call(ExpressionNode& n, RecordSource& r) {
  auto arg = [&](size_t i) { return EvaluateNode(*n.args[i], r); };
  switch (n.function) {
    case Function::kEmpty:
      return Logical(IsEmpty(arg(0)));
    case Function::kDeleted:
      return Logical(r.Deleted());
    case Function::kRecNo:
      return Number(r.RecNo());
    case Function::kVal:
      return Number(LeadingNumber(arg(0).text));
    case Function::kTrim:
      return Text(TrimRight(arg(0).text));
    case Function::kLTrim: {
      std::string_view t = arg(0).text;
      while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
      return Text(t);
    }
    case Function::kAllTrim:
      return Text(TrimBlanks(arg(0).text));
    case Function::kUpper: {
      n.scratch.assign(arg(0).text);
      for (char& c : n.scratch) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      }
      return Text(n.scratch);
    }
    case Function::kLeft: {
      // Counts characters, so that a cut never splits one.
      const std::string_view text = arg(0).text;
      const double count = arg(1).number;
      if (count >= static_cast<double>(Utf8Length(text))) return Text(text);
      n.scratch = FitToWidth(text, count < 1 ? 0 : static_cast<int>(count));
      return Text(n.scratch);
    }
  }
  return Logical(false);
}

}  // namespace

Value EvaluateNode(ExpressionNode& n, RecordSource& r) {
  switch (n.kind) {
    case NodeKind::kLiteral:
      return n.literal;
    case NodeKind::kField:
      return FieldValue(n, r);
    case NodeKind::kNot:
      return Logical(!EvaluateNode(*n.args[0], r).logical);
    case NodeKind::kAnd:
      return Logical(EvaluateNode(*n.args[0], r).logical && EvaluateNode(*n.args[1], r).logical);
    case NodeKind::kOr:
      return Logical(EvaluateNode(*n.args[0], r).logical || EvaluateNode(*n.args[1], r).logical);
    case NodeKind::kCompare: {
      const Value a = EvaluateNode(*n.args[0], r);
      return Logical(Compare(n.op, a, EvaluateNode(*n.args[1], r)));
    }
    case NodeKind::kJoin: {
      const Value a = EvaluateNode(*n.args[0], r);
      // The left text may live in a child's buffer that the right side
      // reuses, so it is copied first.
      std::string joined(a.text);
      joined += EvaluateNode(*n.args[1], r).text;
      n.scratch = std::move(joined);
      return Text(n.scratch);
    }
    case NodeKind::kAdd: {
      const double a = EvaluateNode(*n.args[0], r).number;
      return Number(a + EvaluateNode(*n.args[1], r).number);
    }
    case NodeKind::kSubtract: {
      const double a = EvaluateNode(*n.args[0], r).number;
      return Number(a - EvaluateNode(*n.args[1], r).number);
    }
    case NodeKind::kNegate:
      return Number(-EvaluateNode(*n.args[0], r).number);
    case NodeKind::kCall:
      return Call(n, r);
  }
  return Logical(false);
}

std::string NumberKey(double value) {
  if (value == 0) value = 0;  // -0 and 0 share one key
  uint64_t bits = std::bit_cast<uint64_t>(value);
  bits = (bits & 0x8000000000000000ull) ? ~bits : bits | 0x8000000000000000ull;
  std::string key(8, '\0');
  for (int i = 0; i < 8; ++i) key[i] = static_cast<char>(bits >> (56 - 8 * i) & 0xFF);
  return key;
}

Expression::Expression() = default;
Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

Expression Expression::Compile(std::string_view text, const std::vector<FieldDef>& fields) {
  Expression e;
  e.text_ = std::string(text);
  e.root_ = ParseExpression(text, fields);
  return e;
}

Expression Expression::CompileCondition(std::string_view text,
                                        const std::vector<FieldDef>& fields) {
  Expression e = Compile(text, fields);
  if (e.type() != ValueType::kLogical) ThrowExpressionError(text, "it is not a condition");
  return e;
}

ValueType Expression::type() const { return root_ ? root_->type : ValueType::kLogical; }

Value Expression::Evaluate(RecordSource& record) {
  assert(root_);
  return EvaluateNode(*root_, record);
}

bool Expression::Test(RecordSource& record) { return Evaluate(record).logical; }

std::string Expression::Key(RecordSource& record) {
  const Value v = Evaluate(record);
  switch (v.type) {
    case ValueType::kString:
      return std::string(TrimRight(v.text));
    case ValueType::kNumber:
      return NumberKey(v.number);
    case ValueType::kLogical:
      return v.logical ? "T" : "F";
  }
  return {};
}

std::string Expression::KeyForText(std::string_view text) const {
  switch (type()) {
    case ValueType::kString:
      return std::string(TrimRight(text));
    case ValueType::kNumber:
      return NumberKey(DecodeNumber(text).value_or(0));
    case ValueType::kLogical: {
      const std::string_view t = TrimBlanks(text);
      return !t.empty() && std::strchr("TtYy", t[0]) != nullptr ? "T" : "F";
    }
  }
  return {};
}

}  // namespace quorvant
