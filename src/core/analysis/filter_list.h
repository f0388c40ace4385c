// TFilterList: the analysis filter of the open survey. Each condition is held
// twice, as an xBase condition over the response table's fields and as a
// sentence for the author; the two lists have the same length and order
// (the order of adding). The filter expression is the conditions joined by
// " .AND. ", empty when there are none.
//
// Conditions are not checked for sense: one may be added twice, and two may
// contradict each other. Thread-safety: none.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

struct TQuestion;

// Numeric filter operators, as the Filter Builder lists them.
enum FilterOperator : int {
  kFilterGreaterThan = 0,
  kFilterLessThan = 1,
  kFilterEqualTo = 2,  // also any other index
};

// True when text is a number a numeric condition may compare with: an
// optional sign, digits, and an optional decimal point with more digits
// (".5" and "5." included), within the range of a double. Nothing else may
// reach an expression.
bool IsFilterNumber(std::string_view text);

// Why text is not IsFilterNumber, in a sentence for the author (blanks
// around it, a decimal comma, an exponent, a number too large, anything
// else); empty when it is one, and for an empty text, which needs no
// telling.
std::string FilterNumberProblem(std::string_view text);

class TFilterList {
 public:
  // A condition on option line k of a choice question: selected or not.
  // Returns the new entry's position. Requires: 0 <= k < its option lines.
  int AddChoiceCondition(const TQuestion& question, bool selected, int k);
  // A condition on a Numeric question's answer; returns the new position,
  // or -1, adding nothing, when value is not IsFilterNumber.
  int AddNumericCondition(const TQuestion& question, int op, const std::string& value);

  // Removes entry i from both lists; a position outside them does nothing.
  void Delete(int i);
  void Clear();
  int Count() const { return static_cast<int>(expressions_.size()); }
  // Replaces lines with the descriptions; returns their number.
  int GetDescriptions(std::vector<std::string>& lines) const;
  void Assign(const TFilterList& other);

  const std::vector<std::string>& Expressions() const { return expressions_; }
  const std::vector<std::string>& Descriptions() const { return descriptions_; }
  std::string FilterExpression() const;

 private:
  int Add(std::string expression, std::string description);

  std::vector<std::string> expressions_;
  std::vector<std::string> descriptions_;
};

}  // namespace quorvant
