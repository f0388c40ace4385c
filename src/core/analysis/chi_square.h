// Pearson's chi-square test of independence on a cross table, and the
// distribution function it needs.
#pragma once

#include <string>

namespace quorvant {

struct CrossTable;

// The regularised upper incomplete gamma function Q(a, x) = Γ(a, x) / Γ(a),
// for a > 0 and x >= 0. Accurate to a few units in the last place of a
// double over the range the test needs, also where Q is tiny (down to the
// smallest normal double, then 0). Requires: a > 0.
double UpperGammaQ(double a, double x);

// The probability that a chi-square variable of df degrees of freedom
// exceeds chi_square: Q(df / 2, chi_square / 2). Requires: df >= 1.
double ChiSquareUpperTail(double chi_square, int df);

struct IndependenceTest {
  bool done = false;   // false: `reason` says why there is no test
  std::string reason;  // a sentence for the author
  double chi_square = 0;
  int df = 0;
  double p = 1;
  double cramers_v = 0;
  // The cells of the rows and columns that have answers, and how many of
  // them expect fewer than 5 answers.
  int cells = 0;
  int small_cells = 0;

  // More than one cell in five expects fewer than 5 answers.
  bool FewExpected() const { return done && small_cells * 5 > cells; }
};

// Said instead of the test when an axis is a Multiple Choice question.
inline constexpr char kOverlapNoTest[] =
    "No chi-square test: a respondent may tick several options of a Multiple Choice "
    "question, so the counts overlap and are not independent observations.";
// Said when fewer than two rows or two columns hold answers.
inline constexpr char kTooFewForTest[] =
    "No chi-square test: it needs answers in at least two rows and two columns.";

// The test over the rows and columns whose totals are not 0 (a category
// nobody chose expects nothing and adds no degree of freedom): df =
// (rows - 1) x (columns - 1), Cramér's V = sqrt(chi-square / (total x
// (min(rows, columns) - 1))).
IndependenceTest TestIndependence(const CrossTable& table);

}  // namespace quorvant
