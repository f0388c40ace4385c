// The cross table and its chi-square test: the tail probability against
// known values, the counts against a plain reference count on random
// records under random filters, and the counts, chi-square and p against
// PSPP's CROSSTABS on the same random data.
#include "core/analysis/cross_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "core/analysis/chi_square.h"
#include "core/analysis/cross_table_counting.h"
#include "core/analysis/cross_table_text.h"
#include "core/analysis/numeric_groups.h"
#include "core/analysis/result_counting.h"
#include "core/responses/response_table.h"
#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

double Relative(double got, double want) {
  return want == 0 ? std::fabs(got) : std::fabs(got - want) / std::fabs(want);
}

// Upper-tail probabilities of the chi-square distribution: the 5 %, 1 %
// and 0.1 % points of the printed tables (their quantiles to full
// precision), and far tails, down to 1e-302, whose values were worked out
// to 40 digits in multiple-precision arithmetic.
TEST(ChiSquareTest, UpperTailMatchesKnownValues) {
  struct Row {
    double chi;
    int df;
    double p;
  };
  const Row rows[] = {
      {3.841458820694124, 1, 0.050000000000000057},
      {6.634896601021214, 1, 0.010000000000000009},
      {10.827566170662733, 1, 0.00099999999999999969},
      {0.4549364231195724, 1, 0.50000000000000017},
      {0.001, 1, 0.97477287936996039},
      {1e-08, 1, 0.99992021154405269},
      {100, 1, 1.5239706048321052e-23},
      {1000, 1, 1.7958327848007262e-219},
      {5.991464547107979, 2, 0.050000000000000074},
      {2.0, 3, 0.57240670447087983},
      {0.001, 3, 0.99999159208094195},
      {9.487729036781154, 4, 0.050000000000000057},
      {1400, 4, 6.9116332571755994e-302},
      {0.5, 7, 0.99944648139042497},
      {250, 9, 9.9761514692988247e-49},
      {18.307038053275146, 10, 0.050000000000000007},
      {30, 20, 0.069853660699409768},
      {59.70306, 30, 0.0010000011957891934},
      {1500, 30, 3.9605925288243987e-297},
      {124.342, 100, 0.050000715769971768},
      {500, 100, 1.7201210053695375e-54},
  };
  std::string wrong;
  for (const Row& row : rows) {
    const double p = ChiSquareUpperTail(row.chi, row.df);
    if (Relative(p, row.p) > 1e-12) {
      wrong += std::to_string(row.chi) + " df " + std::to_string(row.df) + ": " +
               std::to_string(p) + "\n";
    }
  }
  // Even df have a closed form: Q(k, x) = e^-x (1 + x + ... + x^(k-1)/(k-1)!).
  for (int k = 1; k <= 40; k += 3) {
    for (const double x : {0.3, 4.0, 37.5, 300.0}) {
      double term = 1, sum = 1;
      for (int i = 1; i < k; ++i) sum += term *= x / i;
      const double want = std::exp(-x) * sum;
      const double p = ChiSquareUpperTail(2 * x, 2 * k);
      if (Relative(p, want) > 1e-12) {
        wrong += "closed form k " + std::to_string(k) + " x " + std::to_string(x) + "\n";
      }
    }
  }
  EXPECT_EQ(wrong, "");
  EXPECT_EQ(ChiSquareUpperTail(0, 3), 1.0);
  EXPECT_EQ(ChiSquareUpperTail(1e6, 1), 0.0);
  EXPECT_EQ(PValueText(0.0123456), "0.0123");
  EXPECT_EQ(PValueText(1.5239706048321052e-23), "1.52e-23");
}

class CrossTableTest : public testing::CoreTest {
 protected:
  CrossTableTest() { survey_.SetFileName(dir_.File("s.qvx")); }

  void AddItem(int style, const std::vector<std::string>& options, bool other, int min = 0,
               int max = 0, int step = 0) {
    survey_.AddItem("Question " + std::to_string(survey_.ItemCount() + 1), style, step, max, min,
                    other, 20, JoinCommaText(options));
  }

  std::string Field(const std::string& name) {
    return std::string(TrimBlanks(table_.table().Get(name)));
  }

  // The categories of the current record for q, by the rules written out:
  // an option's index (the last one for "Oth"), each ticked box, or the
  // group whose bounds hold the answer cut to a whole number.
  std::vector<size_t> Categories(const TQuestion& q) {
    const std::string id = "QVX" + std::to_string(q.ID);
    const size_t options = q.OptionLines().size() + (q.IncludeOther ? 1 : 0);
    std::vector<size_t> out;
    if (q.Style == kStyleMultipleChoice) {
      for (size_t j = 0; j < options; ++j) {
        const bool other = q.IncludeOther && j + 1 == options;
        if (Field(other ? id : id + "_" + std::to_string(j)) == "Y") out.push_back(j);
      }
    } else if (q.Style == kStyleNumeric) {
      const std::string text = Field(id);
      if (text.empty() || std::stod(text) == -9999) return out;
      const double x = std::trunc(std::stod(text));
      const std::vector<TCountResults> groups =
          MakeNumericGroups(q.ID, q.MinValue, q.MaxValue, q.StepValue);
      for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].Low <= x && x <= groups[g].High) out.push_back(g);
      }
    } else {
      const std::string text = Field(id);
      if (ToLowerAscii(text) == "oth") {
        out.push_back(options - 1);
      } else if (!text.empty() && text.size() < 4 &&
                 text.find_first_not_of("0123456789") == std::string::npos &&
                 static_cast<size_t>(std::stoi(text)) < options) {
        out.push_back(static_cast<size_t>(std::stoi(text)));
      }
    }
    return out;
  }

  // The cross table as "blank=N records=N" and each non-zero cell, read
  // record by record with GoTo and Get, the filter tested by `passes`.
  std::string Reference(const TQuestion& row, const TQuestion& column,
                        const std::function<bool()>& passes) {
    std::map<std::pair<size_t, size_t>, int> cells;
    int blank = 0, records = 0;
    Table& t = table_.table();
    t.SetQuery("");
    for (uint32_t r = 1; r <= t.RecCount(); ++r) {
      t.GoTo(r);
      if (!passes()) continue;
      ++records;
      const std::vector<size_t> rows = Categories(row), columns = Categories(column);
      if (rows.empty() || columns.empty()) ++blank;
      if (rows.empty() || columns.empty()) continue;
      for (const size_t i : rows) {
        for (const size_t j : columns) ++cells[{i, j}];
      }
    }
    std::string out = "blank=" + std::to_string(blank) + " records=" + std::to_string(records);
    for (const auto& [at, n] : cells) {
      out += " " + std::to_string(at.first) + "," + std::to_string(at.second) + "=" +
             std::to_string(n);
    }
    return out;
  }

  static std::string Counted(const CrossTable& t) {
    std::string out = "blank=" + std::to_string(t.blank) + " records=" + std::to_string(t.records);
    uint64_t total = 0;
    for (size_t r = 0; r < t.Rows(); ++r) {
      for (size_t c = 0; c < t.Columns(); ++c) {
        if (t.Cell(r, c) == 0) continue;
        out +=
            " " + std::to_string(r) + "," + std::to_string(c) + "=" + std::to_string(t.Cell(r, c));
        total += t.Cell(r, c);
      }
    }
    // The totals must add up to the cells.
    uint64_t rows = 0, columns = 0;
    for (const uint64_t n : t.row_totals) rows += n;
    for (const uint64_t n : t.column_totals) columns += n;
    if (rows != total || columns != total || t.total != total) out += " totals do not add up";
    return out;
  }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
  TResponseTable table_{prompts_};
};

TEST_F(CrossTableTest, EveryPairEqualsAPlainCountUnderRandomFilters) {
  AddItem(kStyleSingleChoice, {"a", "b", "c", "d"}, true);
  AddItem(kStylePulldown, {"x~1", "y~2", "z~3"}, false);
  AddItem(kStyleSlidingScale, {"1", "2", "3", "4", "5"}, false);
  AddItem(kStyleMultipleChoice, {"p", "q", "r"}, true);
  AddItem(kStyleNumeric, {}, false, 0, 50, 9);
  AddItem(kStyleText, {}, false);
  AddItem(kStyleNumeric, {}, false, -5, 5, 0);
  ASSERT_TRUE(table_.Create(survey_));
  RebuildQuestionList(survey_);

  std::mt19937 random(20261210);
  auto pick = [&](std::initializer_list<const char*> values) {
    return std::string(*(values.begin() + random() % values.size()));
  };
  for (int i = 0; i < 2000; ++i) {
    const int n = static_cast<int>(random() % 70) - 10;
    table_.table().Append({
        {"QVX1", pick({"0", "1", "2", "3", "Oth", "oth", "", "x", "-1", "9"})},
        {"QVX2", pick({"0", "1", "2", "", "Oth"})},
        {"QVX3", pick({"0", "1", "2", "3", "4", "5", ""})},
        {"QVX4_0", pick({"Y", "N", ""})},
        {"QVX4_1", pick({"Y", "N"})},
        {"QVX4_2", pick({"Y", "N", "y"})},
        {"QVX4", pick({"Y", "N"})},
        {"QVX5", random() % 8 == 0 ? pick({"", "-9999", "51"}) : std::to_string(n)},
        {"QVX6", pick({"free text", ""})},
        {"QVX7", pick({"-6", "-5", "0", "3", "5", "6", "-9999", "", "2.7"})},
    });
  }
  table_.table().Commit();

  const std::vector<int> axes = {1, 2, 3, 4, 5, 7};
  for (int round = 0; round < 12; ++round) {
    survey_.ActiveFilter().Clear();
    std::function<bool()> passes = [] { return true; };
    if (round % 3 == 1) {
      const int k = static_cast<int>(random() % 4);
      survey_.ActiveFilter().AddChoiceCondition(survey_.Item(0), false, k);
      passes = [this, k] { return Field("QVX1") != std::to_string(k); };
    } else if (round % 3 == 2) {
      const int v = static_cast<int>(random() % 40);
      survey_.ActiveFilter().AddChoiceCondition(survey_.Item(3), true, 1);
      survey_.ActiveFilter().AddNumericCondition(survey_.Item(4), 0, std::to_string(v));
      passes = [this, v] {
        const std::string n = Field("QVX5");
        return Field("QVX4_1") == "Y" && !n.empty() && std::stod(n) > v;
      };
    }
    ASSERT_TRUE(ComputeResults(survey_, table_, prompts_));
    ASSERT_FALSE(survey_.Results().FilterSetAside());
    const int row = axes[random() % axes.size()], column = axes[random() % axes.size()];
    const CrossTable counted = ComputeCrossTable(survey_, table_, row, column);
    EXPECT_EQ(Counted(counted), Reference(survey_.Item(row - 1), survey_.Item(column - 1), passes))
        << "round " << round << ": " << row << " by " << column;
  }

  // Text questions, headers and IDs the survey lacks make no axis.
  for (const int bad : {6, 99, 0}) {
    EXPECT_THROW(ComputeCrossTable(survey_, table_, bad, 1), ECrossTableError) << bad;
  }
}

TEST_F(CrossTableTest, MultipleChoiceAxisHasNoTestAndNotesSayWhy) {
  AddItem(kStyleMultipleChoice, {"<b>p</b>", "q"}, false);
  AddItem(kStyleSingleChoice, {"a & b", "c"}, false);
  ASSERT_TRUE(table_.Create(survey_));
  RebuildQuestionList(survey_);
  table_.table().Append({{"QVX1_0", "Y"}, {"QVX1_1", "Y"}, {"QVX2", "0"}});
  table_.table().Append({{"QVX1_0", "N"}, {"QVX1_1", "Y"}, {"QVX2", "1"}});
  table_.table().Append({{"QVX1_0", "N"}, {"QVX1_1", "N"}, {"QVX2", "1"}});
  table_.table().Commit();
  ComputeResults(survey_, table_, prompts_);
  const CrossTable t = ComputeCrossTable(survey_, table_, 1, 2);
  const IndependenceTest test = TestIndependence(t);
  EXPECT_FALSE(test.done);
  EXPECT_EQ(Counted(t), "blank=1 records=3 0,0=1 1,0=1 1,1=1");
  const std::string html = CrossTableHtml(t, test, {.row = true}, "");
  EXPECT_NE(html.find("&lt;b&gt;p&lt;/b&gt;"), std::string::npos) << html;
  EXPECT_NE(html.find("a &amp; b"), std::string::npos);
  EXPECT_EQ(html.find("<b>"), std::string::npos);
  EXPECT_NE(html.find(kOverlapNoTest), std::string::npos);
  const std::string text = CrossTableText(t, test, {.row = true, .column = true}, "");
  EXPECT_NE(text.find("<b>p</b>\tCount\t1\t0\t1\n\tRow %\t100.0%\t0.0%\t100.0%\n"
                      "\tColumn %\t50.0%\t0.0%\t33.3%\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Records counted: 3; left out for a blank answer: 1"), std::string::npos);
}

// PSPP's CROSSTABS reads the same records from a CSV file (with the same
// two conditions as SELECT IF and the Numeric question's groups as RECODE)
// and gives its counts, Pearson chi-square and p with 16 digits.
class PsppCrossTableTest : public CrossTableTest {
 protected:
  struct Pspp {
    std::map<std::pair<int, int>, double> cells;  // (row value, column value) -> count
    double chi = -1, df = -1, p = -1;
  };

  Pspp RunPspp(const std::string& syntax) {
    testing::WriteFileOrDie(dir_.File("t.sps"), syntax);
    const std::string command = "cd '" + dir_.path() + "' && pspp t.sps -o out.csv > pspp.log 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << testing::ReadFileOrDie(dir_.File("pspp.log"));
    std::istringstream in(testing::ReadFileOrDie(dir_.File("out.csv")));
    Pspp out;
    std::string line;
    std::vector<int> columns;
    int row_value = 0;
    bool in_table = false;
    while (std::getline(in, line)) {
      const std::vector<std::string> f = SplitCommaFields(line);
      if (line.rfind("Table: a \xC3\x97 g", 0) == 0) {
        in_table = true;
        std::getline(in, line);
        std::getline(in, line);
        const std::vector<std::string> head = SplitCommaFields(line);
        for (size_t k = 3; k + 1 < head.size(); ++k) columns.push_back(std::stoi(head[k]));
        continue;
      }
      if (in_table && !f.empty() && f[0] == "Total") in_table = false;
      if (in_table && f.size() == columns.size() + 4) {
        if (!f[1].empty()) row_value = std::stoi(f[1]);
        for (size_t k = 0; k < columns.size(); ++k) {
          out.cells[{row_value, columns[k]}] = std::stod(f[3 + k]);
        }
      }
      if (!f.empty() && f[0] == "Pearson Chi-Square" && f.size() >= 4) {
        out.chi = std::stod(f[1]);
        out.df = std::stod(f[2]);
        out.p = std::stod(f[3]);
      }
    }
    return out;
  }

  static std::vector<std::string> SplitCommaFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (const char c : line) {
      if (c == ',') {
        fields.emplace_back();
      } else if (c != '"') {
        fields.back() += c;
      }
    }
    return fields;
  }
};

TEST_F(PsppCrossTableTest, CountsChiSquareAndPEqualPspp) {
  AddItem(kStyleSingleChoice, {"a", "b", "c", "d", "never"}, true);
  AddItem(kStyleNumeric, {}, false, 0, 100, 19);
  ASSERT_TRUE(table_.Create(survey_));
  RebuildQuestionList(survey_);

  // Option 4 is never chosen: neither side gives it a row or a degree of
  // freedom. Blank, -9999 and 100 (beyond the last group) are left out.
  std::mt19937 random(20261211);
  std::string csv = "a,c\n";
  for (int i = 0; i < 5000; ++i) {
    const int r = static_cast<int>(random() % 20);
    const std::string a = r == 0 ? "" : r < 3 ? "Oth" : std::to_string(random() % 4);
    const int s = static_cast<int>(random() % 25);
    // Answers lean on the option, so that the test finds something.
    const std::string c = s == 0   ? ""
                          : s == 1 ? "-9999"
                          : s == 2 ? "100"
                                   : std::to_string((random() % 90 + (a == "1" ? 10 : 0)) % 100);
    table_.table().Append({{"QVX1", a}, {"QVX2", c}});
    csv += (a == "Oth" ? "5" : a) + "," + c + "\n";
  }
  table_.table().Commit();
  testing::WriteFileOrDie(dir_.File("data.csv"), csv);

  std::string recode = "RECODE g";
  for (const TCountResults& g : MakeNumericGroups(2, 0, 100, 19)) {
    recode += " (" + std::to_string(g.Low) + " THRU " + std::to_string(g.High) + "=" +
              std::to_string(g.Index) + ")";
  }
  recode += " (ELSE=SYSMIS).\n";

  for (const bool filtered : {false, true}) {
    survey_.ActiveFilter().Clear();
    std::string select;
    if (filtered) {
      survey_.ActiveFilter().AddChoiceCondition(survey_.Item(0), false, 2);
      survey_.ActiveFilter().AddNumericCondition(survey_.Item(1), 0, "10");
      select = "SELECT IF (MISSING(a) OR a <> 2) AND c > 10.\n";
    }
    ASSERT_TRUE(ComputeResults(survey_, table_, prompts_));
    const CrossTable ours = ComputeCrossTable(survey_, table_, 1, 2);
    const IndependenceTest test = TestIndependence(ours);
    ASSERT_TRUE(test.done);

    const Pspp pspp = RunPspp(
        "SET FORMAT=E24.16.\n"
        "GET DATA /TYPE=TXT /FILE='data.csv' /ARRANGEMENT=DELIMITED /DELCASE=LINE "
        "/FIRSTCASE=2 /DELIMITERS=\",\" /VARIABLES=a F8.0 c F8.0.\n"
        "MISSING VALUES c (-9999).\n" +
        select + "COMPUTE g = TRUNC(c).\n" + recode +
        "FORMATS g (F8.0).\n"
        "OUTPUT MODIFY /SELECT TABLES /TABLECELLS SELECT=[SIGNIFICANCE] FORMAT=E24.16.\n"
        "CROSSTABS /TABLES=a BY g /STATISTICS=CHISQ.\n");

    std::map<std::pair<int, int>, double> cells;
    for (size_t r = 0; r < ours.Rows(); ++r) {
      for (size_t c = 0; c < ours.Columns(); ++c) {
        if (ours.row_totals[r] > 0 && ours.column_totals[c] > 0) {
          cells[{static_cast<int>(r), static_cast<int>(c)}] = static_cast<double>(ours.Cell(r, c));
        }
      }
    }
    EXPECT_EQ(cells, pspp.cells) << (filtered ? "filtered" : "all records");
    EXPECT_EQ(test.df, pspp.df);
    EXPECT_LT(Relative(test.chi_square, pspp.chi), 1e-6) << test.chi_square << " " << pspp.chi;
    EXPECT_LT(Relative(test.p, pspp.p), 1e-6) << test.p << " " << pspp.p;
    EXPECT_EQ(ours.row_totals[4], 0u);
  }
}

}  // namespace
}  // namespace quorvant
