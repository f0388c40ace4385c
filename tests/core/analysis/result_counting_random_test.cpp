// Compute results against a plain reference: random records (valid and
// invalid values alike) and random filters, every entry compared with a
// per-record linear count that reads each field by name and evaluates each
// condition itself, as a person would from the rules.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "core/analysis/filter_list.h"
#include "core/analysis/result_counting.h"
#include "core/responses/response_table.h"
#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

// One condition as the reference evaluates it.
struct Condition {
  std::string field;
  bool numeric = false;
  std::string op;     // "=", "<>", ">", "<"
  std::string value;  // the text compared with, or the number
};

class ResultCountingRandomTest : public testing::CoreTest {
 protected:
  ResultCountingRandomTest() { survey_.SetFileName(dir_.File("s.qvx")); }

  void AddItem(int style, const std::vector<std::string>& options, bool other, int min = 0,
               int max = 0, int step = 0) {
    survey_.AddItem("Question", style, step, max, min, other, 20, JoinCommaText(options));
  }

  std::string Field(const std::string& name) {
    return std::string(TrimBlanks(table_.table().Get(name)));
  }

  bool Passes(const Condition& c) {
    // xBase compares texts as if padded with blanks: trailing blanks do not count.
    std::string text = table_.table().Get(c.field);
    text.erase(text.find_last_not_of(' ') + 1);
    if (c.numeric) {
      const double x = text.empty() ? 0 : std::stod(text);  // a blank number reads as 0
      const double v = std::stod(c.value);
      return c.op == ">" ? x > v : c.op == "<" ? x < v : x == v;
    }
    return c.op == "=" ? text == c.value : text != c.value;
  }

  // The counts by the rules, one record at a time, each entry found by a
  // search of the whole list.
  std::string Reference(const std::vector<Condition>& conditions, bool& eliminated) {
    std::map<std::pair<int, int>, int> counts;  // (id, index) -> count
    struct Stats {
      double total = 0, count = 0, high = 0, low = -100000;
      std::map<int, int> groups;
    };
    std::map<int, Stats> stats;
    std::map<int, int> answered;  // records whose answer counted somewhere
    Table& t = table_.table();
    auto pass = [&](bool filtered) {
      int passed = 0;
      for (uint32_t r = 1; r <= t.RecCount(); ++r) {
        t.GoTo(r);
        bool ok = true;
        for (const Condition& c : conditions) ok = ok && (!filtered || Passes(c));
        if (!ok) continue;
        ++passed;
        for (const TQuestion& q : survey_.Items()) {
          const std::string id = std::to_string(q.ID);
          const int options = static_cast<int>(q.OptionLines().size()) + q.IncludeOther;
          if (q.Style == kStyleMultipleChoice) {
            bool ticked = false;
            for (int j = 0; j < options; ++j) {
              const bool other = q.IncludeOther && j == options - 1;
              if (Field("QVX" + id + (other ? "" : "_" + std::to_string(j))) == "Y") {
                ++counts[{q.ID, j}];
                ticked = true;
              }
            }
            if (ticked) ++answered[q.ID];
          } else if (IsChoiceStyle(q.Style)) {
            const std::string text = Field("QVX" + id);
            int index = -1;
            if (ToLowerAscii(text) == "oth") {
              index = options - 1;
            } else {
              const size_t sign = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
              if (text.size() > sign && text.size() < 6 &&
                  text.find_first_not_of("0123456789", sign) == std::string::npos) {
                index = std::stoi(text);
              }
            }
            if (index >= 0 && index < options) {
              ++counts[{q.ID, index}];
              ++answered[q.ID];
            }
          } else if (q.Style == kStyleNumeric) {
            const std::string text = Field("QVX" + id);
            if (text.empty() || std::stod(text) == -9999) continue;
            const double x = std::stod(text);
            Stats& s = stats[q.ID];
            ++answered[q.ID];
            s.total += x;
            s.count += 1;
            if (x > s.high || s.count == 1) s.high = x;
            if (x < s.low || s.low == -100000) s.low = x;
            // Groups as written: the first from Min to Min+Step, then Step+1 wide, cut to Max.
            int lo = q.MinValue, hi = lo + q.StepValue, g = 0;
            do {
              if (lo <= x && x <= hi) {
                ++s.groups[g];
                break;
              }
              lo = hi + 1;
              hi = std::min(lo + q.StepValue, q.MaxValue);
              ++g;
            } while (q.MaxValue > lo);
          }
        }
      }
      return passed;
    };
    eliminated = false;
    if (!conditions.empty() && pass(true) == 0) {
      eliminated = true;
      pass(false);
    }
    if (conditions.empty()) pass(false);

    std::string out = eliminated ? "filter set aside\n" : "";
    for (const TQuestion& q : survey_.Items()) {
      if (q.Style == kStyleNumeric || IsChoiceStyle(q.Style)) {
        out += std::to_string(q.ID) + " answered=" + std::to_string(answered[q.ID]) + "\n";
      }
      if (q.Style == kStyleNumeric) {
        const Stats& s = stats[q.ID];
        out += std::to_string(q.ID) + " n=" + std::to_string(s.count) +
               " t=" + std::to_string(s.total) + " h=" + std::to_string(s.high) +
               " l=" + std::to_string(s.low);
        for (const auto& [g, c] : s.groups)
          out += " g" + std::to_string(g) + "=" + std::to_string(c);
        out += "\n";
      } else if (IsChoiceStyle(q.Style)) {
        const int options = static_cast<int>(q.OptionLines().size()) + q.IncludeOther;
        for (int j = 0; j < options; ++j) {
          out += std::to_string(q.ID) + "/" + std::to_string(j) + "=" +
                 std::to_string(counts[{q.ID, j}]) + "\n";
        }
      }
    }
    return out;
  }

  std::string Computed() {
    const TResultsList& results = survey_.Results();
    std::string out = results.FilterSetAside() ? "filter set aside\n" : "";
    int last_id = -1;
    for (const auto& e : results.Entries()) {
      if (e->QuestionID != last_id) {
        last_id = e->QuestionID;
        out += std::to_string(last_id) +
               " answered=" + std::to_string(results.AnsweredOf(last_id)) + "\n";
      }
      if (auto* c = dynamic_cast<TCountResults*>(e.get())) {
        out += std::to_string(c->QuestionID) + "/" + std::to_string(c->Index) + "=" +
               std::to_string(c->Count) + "\n";
      } else if (auto* n = dynamic_cast<TNumericResults*>(e.get())) {
        out += std::to_string(n->QuestionID) + " n=" + std::to_string(n->Count) +
               " t=" + std::to_string(n->Total) + " h=" + std::to_string(n->Highest) +
               " l=" + std::to_string(n->Lowest);
        for (size_t g = 0; g < n->Groups.size(); ++g) {
          if (n->Groups[g].Count > 0) {
            out += " g" + std::to_string(g) + "=" + std::to_string(n->Groups[g].Count);
          }
        }
        if (n->Count > 0 && n->Average != n->Total / n->Count) out += " bad average";
        out += "\n";
      }
    }
    return out;
  }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
  TResponseTable table_{prompts_};
};

TEST_F(ResultCountingRandomTest, EveryEntryEqualsAPlainLinearCount) {
  AddItem(kStyleSingleChoice, {"a", "b", "c", "d"}, true);
  AddItem(kStylePulldown, {"x~1", "y~2", "z~3"}, false);
  AddItem(kStyleSlidingScale, {"1", "2", "3", "4", "5"}, true);
  AddItem(kStyleMultipleChoice, {"p", "q", "r"}, true);
  AddItem(kStyleMultipleChoice, {"s", "t"}, false);
  AddItem(kStyleNumeric, {}, false, 0, 50, 9);
  AddItem(kStyleNumeric, {}, false, -5, 5, 0);
  AddItem(kStyleText, {}, false);
  AddItem(kStyleNumeric, {}, false, -50, 0, 10);  // every answer below 0
  ASSERT_TRUE(table_.Create(survey_));

  std::mt19937 random(20261209);
  auto pick = [&](std::initializer_list<const char*> values) {
    return std::string(*(values.begin() + random() % values.size()));
  };
  auto number = [&] {
    const int r = random() % 10;
    if (r == 0) return std::string("-9999");
    if (r == 1) return std::string();
    return std::to_string(static_cast<int>(random() % 91) - 20);
  };
  for (int i = 0; i < 3000; ++i) {
    table_.table().Append({
        {"QVX1", pick({"0", "1", "2", "3", "4", "Oth", "oth", "", "x", "-1", "+1", " 2"})},
        {"QVX2", pick({"0", "1", "2", "3", "", "Oth"})},
        {"QVX3", pick({"0", "1", "2", "3", "4", "OTH", "99"})},
        {"QVX4_0", pick({"Y", "N", ""})},
        {"QVX4_1", pick({"Y", "N"})},
        {"QVX4_2", pick({"Y", "N", "y"})},
        {"QVX4", pick({"Y", "N"})},
        {"QVX5_0", pick({"Y", "N"})},
        {"QVX5_1", pick({"Y", ""})},
        {"QVX6", number()},
        {"QVX7", pick({"-6", "-5", "0", "3", "5", "6", "-9999", ""})},
        {"QVX8", pick({"free text", ""})},
        {"QVX9", pick({"-3", "-12", "-40", "-9999", ""})},
    });
  }
  table_.table().Commit();

  for (int round = 0; round < 30; ++round) {
    survey_.ActiveFilter().Clear();
    std::vector<Condition> conditions;
    const int n = static_cast<int>(random() % 3);
    for (int c = 0; c < n; ++c) {
      const int kind = static_cast<int>(random() % 4);
      if (kind == 0) {
        const int k = static_cast<int>(random() % 4);
        const bool selected = random() % 2;
        survey_.ActiveFilter().AddChoiceCondition(survey_.Item(0), selected, k);
        conditions.push_back({"QVX1", false, selected ? "=" : "<>", std::to_string(k)});
      } else if (kind == 1) {
        const int k = static_cast<int>(random() % 3);
        const bool selected = random() % 2;
        survey_.ActiveFilter().AddChoiceCondition(survey_.Item(3), selected, k);
        conditions.push_back({"QVX4_" + std::to_string(k), false, "=", selected ? "Y" : "N"});
      } else {
        const int op = static_cast<int>(random() % 3);
        // Sometimes a value nothing reaches, so that the filter eliminates all.
        const std::string v = random() % 8 == 0 ? "500" : std::to_string(random() % 60 - 10);
        survey_.ActiveFilter().AddNumericCondition(survey_.Item(5), op, v);
        conditions.push_back({"QVX6", true, op == 0 ? ">" : op == 1 ? "<" : "=", v});
      }
    }
    prompts_.log.clear();
    bool eliminated = false;
    const std::string expected = Reference(conditions, eliminated);
    ASSERT_TRUE(ComputeResults(survey_, table_, prompts_));
    ASSERT_EQ(Computed(), expected) << "filter " << survey_.ActiveFilter().FilterExpression();
    EXPECT_EQ(prompts_.log.size(), eliminated ? 1u : 0u);
  }
}

}  // namespace
}  // namespace quorvant
