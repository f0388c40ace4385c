#include "core/analysis/chi_square.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <vector>

#include "core/analysis/cross_table.h"

namespace quorvant {
namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
constexpr int kMaxTerms = 100000;

// x^a e^-x / Γ(a), from logarithms so that neither factor overflows.
double Front(double a, double x) { return std::exp(a * std::log(x) - x - std::lgamma(a)); }

// P(a, x) by its power series; converges fast for x < a + 1.
double LowerSeries(double a, double x) {
  double term = 1.0 / a;
  double sum = term;
  for (int n = 1; n < kMaxTerms; ++n) {
    term *= x / (a + n);
    sum += term;
    if (std::fabs(term) < std::fabs(sum) * kEpsilon) break;
  }
  return sum * Front(a, x);
}

// Q(a, x) by its continued fraction (modified Lentz); converges fast for
// x >= a + 1 and keeps full relative accuracy however small Q is.
double UpperFraction(double a, double x) {
  constexpr double kTiny = std::numeric_limits<double>::min() / kEpsilon;
  double b = x + 1.0 - a;
  double c = 1.0 / kTiny;
  double d = 1.0 / b;
  double h = d;
  for (int n = 1; n < kMaxTerms; ++n) {
    const double an = -n * (n - a);
    b += 2.0;
    d = an * d + b;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = b + an / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    const double delta = d * c;
    h *= delta;
    if (std::fabs(delta - 1.0) < kEpsilon) break;
  }
  return Front(a, x) * h;
}

}  // namespace

double UpperGammaQ(double a, double x) {
  assert(a > 0);
  if (!(x > 0)) return 1.0;
  if (std::isinf(x)) return 0.0;
  // One degree of freedom: erfc keeps its accuracy in both tails.
  if (a == 0.5) return std::erfc(std::sqrt(x));
  if (x < a + 1.0) return 1.0 - LowerSeries(a, x);
  return UpperFraction(a, x);
}

double ChiSquareUpperTail(double chi_square, int df) {
  assert(df >= 1);
  return UpperGammaQ(df / 2.0, chi_square / 2.0);
}

IndependenceTest TestIndependence(const CrossTable& table) {
  IndependenceTest test;
  if (table.row.Overlapping() || table.column.Overlapping()) {
    test.reason = kOverlapNoTest;
    return test;
  }
  std::vector<size_t> rows, columns;
  for (size_t r = 0; r < table.Rows(); ++r) {
    if (table.row_totals[r] > 0) rows.push_back(r);
  }
  for (size_t c = 0; c < table.Columns(); ++c) {
    if (table.column_totals[c] > 0) columns.push_back(c);
  }
  if (rows.size() < 2 || columns.size() < 2) {
    test.reason = kTooFewForTest;
    return test;
  }
  const double n = static_cast<double>(table.total);
  double chi = 0;
  for (const size_t r : rows) {
    for (const size_t c : columns) {
      const double expected = static_cast<double>(table.row_totals[r]) *
                              static_cast<double>(table.column_totals[c]) / n;
      const double diff = static_cast<double>(table.Cell(r, c)) - expected;
      chi += diff * diff / expected;
      if (expected < 5) ++test.small_cells;
    }
  }
  test.done = true;
  test.cells = static_cast<int>(rows.size() * columns.size());
  test.chi_square = chi;
  test.df = static_cast<int>((rows.size() - 1) * (columns.size() - 1));
  test.p = ChiSquareUpperTail(chi, test.df);
  const double k = static_cast<double>(std::min(rows.size(), columns.size()) - 1);
  test.cramers_v = std::sqrt(chi / (n * k));
  return test;
}

}  // namespace quorvant
