// The compiled tree of an Expression: made by the parser, walked by the
// evaluator. Internal to the table engine.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/tableengine/expression.h"

namespace quorvant {

enum class NodeKind {
  kField,
  kLiteral,
  kNot,
  kAnd,
  kOr,
  kCompare,
  kJoin,
  kAdd,
  kSubtract,
  kNegate,
  kCall,
};

enum class CompareOp { kEqual, kNotEqual, kGreater, kLess, kGreaterEqual, kLessEqual };

enum class Function { kEmpty, kLeft, kDeleted, kUpper, kTrim, kLTrim, kAllTrim, kVal, kRecNo };

struct ExpressionNode {
  NodeKind kind = NodeKind::kLiteral;
  ValueType type = ValueType::kLogical;
  Value literal;          // kLiteral (its text points into `scratch`)
  int field = -1;         // kField
  char field_type = 'C';  // kField
  CompareOp op = CompareOp::kEqual;
  Function function = Function::kEmpty;
  std::vector<std::unique_ptr<ExpressionNode>> args;
  int depth = 0;        // levels of nodes below this one
  std::string scratch;  // texts this node makes while evaluating
};

// Parses and type-checks; throws ETableError (kExpression).
std::unique_ptr<ExpressionNode> ParseExpression(std::string_view text,
                                                const std::vector<FieldDef>& fields);

// Evaluates node against the current record.
Value EvaluateNode(ExpressionNode& node, RecordSource& record);

}  // namespace quorvant
