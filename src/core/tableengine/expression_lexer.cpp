#include "core/tableengine/expression_lexer.h"

#include "core/env/table_error.h"
#include "core/tableengine/field_codec.h"

namespace quorvant {
namespace {

using Kind = Token::Kind;

bool IsNameStart(char c) { return IsAsciiLetter(c) || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || IsAsciiDigit(c); }

// A dotted word such as ".AND." at text[i], or kEnd when there is none.
Kind DottedWord(std::string_view text, size_t i, size_t& length) {
  static const struct {
    const char* word;
    Kind kind;
  } kWords[] = {{".AND.", Kind::kAnd}, {".OR.", Kind::kOr},   {".NOT.", Kind::kNot},
                {".T.", Kind::kTrue},  {".F.", Kind::kFalse}, {".Y.", Kind::kTrue},
                {".N.", Kind::kFalse}};
  for (const auto& w : kWords) {
    const std::string_view word(w.word);
    if (text.size() - i >= word.size() && FieldKey(text.substr(i, word.size())) == word) {
      length = word.size();
      return w.kind;
    }
  }
  return Kind::kEnd;
}

// The operator at text[i]; length gets its length, kEnd when none.
Kind Operator(std::string_view text, size_t i, size_t& length) {
  const std::string_view two = text.substr(i, 2);
  static const struct {
    const char* op;
    Kind kind;
  } kOps[] = {{"==", Kind::kEqual},        {"<>", Kind::kNotEqual},  {"!=", Kind::kNotEqual},
              {">=", Kind::kGreaterEqual}, {"<=", Kind::kLessEqual}, {"=", Kind::kEqual},
              {"#", Kind::kNotEqual},      {">", Kind::kGreater},    {"<", Kind::kLess},
              {"+", Kind::kPlus},          {"-", Kind::kMinus},      {"(", Kind::kOpen},
              {")", Kind::kClose},         {",", Kind::kComma},      {"!", Kind::kNot}};
  for (const auto& o : kOps) {
    const std::string_view op(o.op);
    if (two.substr(0, op.size()) == op) {
      length = op.size();
      return o.kind;
    }
  }
  return Kind::kEnd;
}

}  // namespace

void ThrowExpressionError(std::string_view expression, const std::string& detail) {
  throw ETableError(ETableError::Code::kExpression,
                    "The expression \"" + std::string(expression) + "\" is not valid: " + detail);
}

std::vector<Token> TokenizeExpression(std::string_view text) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    Token t;
    t.position = i + 1;
    size_t length = 0;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (c == '"' || c == '\'') {
      const size_t close = text.find(c, i + 1);
      if (close == std::string_view::npos) {
        ThrowExpressionError(
            text, "the string at position " + std::to_string(i + 1) + " has no closing quote");
      }
      t.kind = Kind::kString;
      t.text = std::string(text.substr(i + 1, close - i - 1));
      i = close + 1;
    } else if (IsAsciiDigit(c) || (c == '.' && i + 1 < text.size() && IsAsciiDigit(text[i + 1]))) {
      size_t end = i;
      while (end < text.size() && (IsAsciiDigit(text[end]) || text[end] == '.')) ++end;
      t.kind = Kind::kNumber;
      t.text = std::string(text.substr(i, end - i));
      i = end;
    } else if (IsNameStart(c)) {
      size_t end = i;
      while (end < text.size() && IsNameChar(text[end])) ++end;
      t.kind = Kind::kName;
      t.text = FieldKey(text.substr(i, end - i));
      i = end;
    } else if ((c == '.' && (t.kind = DottedWord(text, i, length)) != Kind::kEnd) ||
               (t.kind = Operator(text, i, length)) != Kind::kEnd) {
      t.text = FieldKey(text.substr(i, length));
      i += length;
    } else {
      ThrowExpressionError(text, "unexpected character \"" + std::string(1, c) + "\" at position " +
                                     std::to_string(i + 1));
    }
    tokens.push_back(std::move(t));
  }
  Token end;
  end.position = text.size() + 1;
  tokens.push_back(end);
  return tokens;
}

}  // namespace quorvant
