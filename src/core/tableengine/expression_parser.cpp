// The recursive-descent parser of expressions, with type checking as it
// builds each node.
#include <algorithm>
#include <charconv>
#include <map>

#include "core/tableengine/expression_lexer.h"
#include "core/tableengine/expression_node.h"

namespace quorvant {
namespace {

using Kind = Token::Kind;
using NodePtr = std::unique_ptr<ExpressionNode>;

constexpr int kMaxNesting = 100;
constexpr int kMaxDepth = 1000;

struct FunctionInfo {
  Function function;
  ValueType result;
  std::vector<ValueType> args;  // an empty type list for EMPTY means "any one"
};

const std::map<std::string, FunctionInfo>& Functions() {
  using T = ValueType;
  static const std::map<std::string, FunctionInfo> kFunctions = {
      {"EMPTY", {Function::kEmpty, T::kLogical, {}}},
      {"LEFT", {Function::kLeft, T::kString, {T::kString, T::kNumber}}},
      {"DELETED", {Function::kDeleted, T::kLogical, {}}},
      {"UPPER", {Function::kUpper, T::kString, {T::kString}}},
      {"TRIM", {Function::kTrim, T::kString, {T::kString}}},
      {"RTRIM", {Function::kTrim, T::kString, {T::kString}}},
      {"LTRIM", {Function::kLTrim, T::kString, {T::kString}}},
      {"ALLTRIM", {Function::kAllTrim, T::kString, {T::kString}}},
      {"VAL", {Function::kVal, T::kNumber, {T::kString}}},
      {"RECNO", {Function::kRecNo, T::kNumber, {}}},
  };
  return kFunctions;
}

const char* TypeName(ValueType t) {
  switch (t) {
    case ValueType::kString:
      return "text";
    case ValueType::kNumber:
      return "number";
    case ValueType::kLogical:
      return "logical";
  }
  return "";
}

ValueType FieldValueType(char type) {
  switch (type) {
    case 'N':
    case 'F':
      return ValueType::kNumber;
    case 'L':
      return ValueType::kLogical;
    default:
      return ValueType::kString;
  }
}

class Parser {
 public:
  Parser(std::string_view text, const std::vector<FieldDef>& fields)
      : text_(text), fields_(fields), tokens_(TokenizeExpression(text)) {}

  NodePtr ParseAll() {
    if (Peek().kind == Kind::kEnd) Fail("it is empty");
    NodePtr root = ParseOr();
    if (Peek().kind != Kind::kEnd) Fail("unexpected " + Describe(Peek()));
    return root;
  }

 private:
  const Token& Peek() const { return tokens_[pos_]; }
  const Token& Take() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }
  bool Accept(Kind k) {
    if (Peek().kind != k) return false;
    ++pos_;
    return true;
  }
  void Expect(Kind k, const char* what) {
    if (!Accept(k)) Fail(std::string("expected ") + what + " but found " + Describe(Peek()));
  }
  [[noreturn]] void Fail(const std::string& detail) const { ThrowExpressionError(text_, detail); }

  static std::string Describe(const Token& t) {
    if (t.kind == Kind::kEnd) return "the end";
    return "\"" + t.text + "\" at position " + std::to_string(t.position);
  }

  void Require(const ExpressionNode& n, ValueType t, const std::string& where) const {
    if (n.type != t) {
      Fail(where + " needs a " + TypeName(t) + " value, not a " + TypeName(n.type) + " value");
    }
  }

  static NodePtr Make(NodeKind kind, ValueType type) {
    auto n = std::make_unique<ExpressionNode>();
    n->kind = kind;
    n->type = type;
    return n;
  }

  NodePtr Binary(NodeKind kind, ValueType type, NodePtr a, NodePtr b) {
    NodePtr n = Make(kind, type);
    n->args.push_back(std::move(a));
    n->args.push_back(std::move(b));
    return Deepen(std::move(n));
  }

  // Evaluating and freeing the tree recurse once per level, so its depth is
  // bounded: a hostile expression must not exhaust the stack.
  NodePtr Deepen(NodePtr n) {
    for (const NodePtr& arg : n->args) n->depth = std::max(n->depth, arg->depth + 1);
    if (n->depth > kMaxDepth) Fail("it is too long");
    return n;
  }

  // Parsing recurses once per parenthesis, function call, .NOT. and sign.
  class Nest {
   public:
    explicit Nest(Parser& p) : p_(p) {
      if (++p_.nesting_ > kMaxNesting) p_.Fail("it is nested too deeply");
    }
    ~Nest() { --p_.nesting_; }

   private:
    Parser& p_;
  };

  // left (op right)... for .OR. and .AND., whose operands must be logical.
  NodePtr ParseLogical(Kind op, NodeKind kind, const char* name, NodePtr (Parser::*operand)()) {
    NodePtr left = (this->*operand)();
    while (Accept(op)) {
      NodePtr right = (this->*operand)();
      Require(*left, ValueType::kLogical, name);
      Require(*right, ValueType::kLogical, name);
      left = Binary(kind, ValueType::kLogical, std::move(left), std::move(right));
    }
    return left;
  }

  NodePtr ParseOr() { return ParseLogical(Kind::kOr, NodeKind::kOr, ".OR.", &Parser::ParseAnd); }
  NodePtr ParseAnd() {
    return ParseLogical(Kind::kAnd, NodeKind::kAnd, ".AND.", &Parser::ParseNot);
  }

  // A prefix operator: its operand must have the result's type.
  NodePtr Prefix(NodeKind kind, ValueType type, const char* name, NodePtr (Parser::*operand)()) {
    const Nest nest(*this);
    NodePtr arg = (this->*operand)();
    Require(*arg, type, name);
    NodePtr n = Make(kind, type);
    n->args.push_back(std::move(arg));
    return Deepen(std::move(n));
  }

  NodePtr ParseNot() {
    if (!Accept(Kind::kNot)) return ParseComparison();
    return Prefix(NodeKind::kNot, ValueType::kLogical, ".NOT.", &Parser::ParseNot);
  }

  NodePtr ParseComparison() {
    NodePtr left = ParseSum();
    static const std::map<Kind, CompareOp> kOps = {{Kind::kEqual, CompareOp::kEqual},
                                                   {Kind::kNotEqual, CompareOp::kNotEqual},
                                                   {Kind::kGreater, CompareOp::kGreater},
                                                   {Kind::kLess, CompareOp::kLess},
                                                   {Kind::kGreaterEqual, CompareOp::kGreaterEqual},
                                                   {Kind::kLessEqual, CompareOp::kLessEqual}};
    const auto op = kOps.find(Peek().kind);
    if (op == kOps.end()) return left;
    const Token& token = Take();
    NodePtr right = ParseSum();
    if (left->type != right->type) {
      Fail(std::string("cannot compare a ") + TypeName(left->type) + " value with a " +
           TypeName(right->type) + " value at position " + std::to_string(token.position));
    }
    if (left->type == ValueType::kLogical && op->second != CompareOp::kEqual &&
        op->second != CompareOp::kNotEqual) {
      Fail("logical values can only be compared with = and <>");
    }
    NodePtr n = Binary(NodeKind::kCompare, ValueType::kLogical, std::move(left), std::move(right));
    n->op = op->second;
    return n;
  }

  NodePtr ParseSum() {
    NodePtr left = ParseUnary();
    while (Peek().kind == Kind::kPlus || Peek().kind == Kind::kMinus) {
      const bool plus = Take().kind == Kind::kPlus;
      NodePtr right = ParseUnary();
      if (plus && left->type == ValueType::kString && right->type == ValueType::kString) {
        left = Binary(NodeKind::kJoin, ValueType::kString, std::move(left), std::move(right));
        continue;
      }
      Require(*left, ValueType::kNumber, plus ? "+" : "-");
      Require(*right, ValueType::kNumber, plus ? "+" : "-");
      left = Binary(plus ? NodeKind::kAdd : NodeKind::kSubtract, ValueType::kNumber,
                    std::move(left), std::move(right));
    }
    return left;
  }

  NodePtr ParseUnary() {
    if (Accept(Kind::kMinus)) {
      return Prefix(NodeKind::kNegate, ValueType::kNumber, "-", &Parser::ParseUnary);
    }
    if (Accept(Kind::kPlus)) {
      const Nest nest(*this);
      NodePtr operand = ParseUnary();
      Require(*operand, ValueType::kNumber, "+");
      return operand;
    }
    return ParsePrimary();
  }

  NodePtr Literal(ValueType type) {
    NodePtr n = Make(NodeKind::kLiteral, type);
    n->literal.type = type;
    return n;
  }

  NodePtr ParsePrimary() {
    const Token& t = Take();
    switch (t.kind) {
      case Kind::kOpen: {
        const Nest nest(*this);
        NodePtr inner = ParseOr();
        Expect(Kind::kClose, "\")\"");
        return inner;
      }
      case Kind::kString: {
        NodePtr n = Literal(ValueType::kString);
        n->scratch = t.text;
        n->literal.text = n->scratch;
        return n;
      }
      case Kind::kNumber: {
        NodePtr n = Literal(ValueType::kNumber);
        const auto [end, ec] =
            std::from_chars(t.text.data(), t.text.data() + t.text.size(), n->literal.number);
        if (ec != std::errc() || end != t.text.data() + t.text.size()) {
          Fail("\"" + t.text + "\" is not a number");
        }
        return n;
      }
      case Kind::kTrue:
      case Kind::kFalse: {
        NodePtr n = Literal(ValueType::kLogical);
        n->literal.logical = t.kind == Kind::kTrue;
        return n;
      }
      case Kind::kName:
        return Peek().kind == Kind::kOpen ? ParseCall(t) : ParseField(t);
      case Kind::kEnd:
        Fail("it ends where a value is expected");
      default:
        Fail("unexpected " + Describe(t));
    }
  }

  NodePtr ParseField(const Token& t) {
    for (size_t i = 0; i < fields_.size(); ++i) {
      if (fields_[i].name != t.text) continue;
      NodePtr n = Make(NodeKind::kField, FieldValueType(fields_[i].type));
      n->field = static_cast<int>(i);
      n->field_type = fields_[i].type;
      return n;
    }
    Fail("the table has no field " + t.text);
  }

  NodePtr ParseCall(const Token& name) {
    const auto f = Functions().find(name.text);
    if (f == Functions().end()) Fail("there is no function " + name.text);
    Expect(Kind::kOpen, "\"(\"");
    const Nest nest(*this);
    NodePtr n = Make(NodeKind::kCall, f->second.result);
    n->function = f->second.function;
    if (!Accept(Kind::kClose)) {
      do {
        n->args.push_back(ParseOr());
      } while (Accept(Kind::kComma));
      Expect(Kind::kClose, "\")\"");
    }
    const std::vector<ValueType>& want = f->second.args;
    const size_t count = f->second.function == Function::kEmpty ? 1 : want.size();
    if (n->args.size() != count) {
      Fail(name.text + "() takes " + std::to_string(count) + " argument" + (count == 1 ? "" : "s"));
    }
    for (size_t i = 0; i < want.size(); ++i) Require(*n->args[i], want[i], name.text + "()");
    return Deepen(std::move(n));
  }

  std::string_view text_;
  const std::vector<FieldDef>& fields_;
  std::vector<Token> tokens_;
  size_t pos_ = 0;
  int nesting_ = 0;
};

}  // namespace

std::unique_ptr<ExpressionNode> ParseExpression(std::string_view text,
                                                const std::vector<FieldDef>& fields) {
  return Parser(text, fields).ParseAll();
}

}  // namespace quorvant
