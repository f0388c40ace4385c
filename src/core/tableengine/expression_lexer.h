// The tokens of xBase expressions: field and function names, strings in
// double (or single) quotes, numbers, the operators = == <> # != > < >= <=
// + - and the dotted words .AND. .OR. .NOT. .T. .F. (any letter case).
//
// Thread-safety: pure functions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

struct Token {
  enum class Kind {
    kName,
    kString,
    kNumber,
    kAnd,
    kOr,
    kNot,
    kTrue,
    kFalse,
    kEqual,
    kNotEqual,
    kGreater,
    kLess,
    kGreaterEqual,
    kLessEqual,
    kPlus,
    kMinus,
    kOpen,
    kClose,
    kComma,
    kEnd,
  };
  Kind kind = Kind::kEnd;
  std::string text;     // a name in upper case, a string's contents, a number as written
  size_t position = 0;  // 1-based character position in the expression
};

// Splits the whole expression. Throws ETableError (kExpression) for an
// unterminated string or a character that belongs to no token.
std::vector<Token> TokenizeExpression(std::string_view expression);

// "The expression "<expression>" is not valid: " + detail, as thrown by
// the lexer, parser and evaluator.
[[noreturn]] void ThrowExpressionError(std::string_view expression, const std::string& detail);

}  // namespace quorvant
