#include "cli/results_output.h"

#include <cstdio>
#include <functional>

#include "cli/json_text.h"
#include "core/analysis/results.h"
#include "core/emaillists/csv_text.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"

namespace quorvant::cli {
namespace {

std::string Percent(int count, uint32_t records) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f",
                records == 0 ? 0.0 : 100.0 * count / static_cast<double>(records));
  return buffer;
}

// Calls visit for every question that has results, with its list line.
void ForEachCounted(TSurvey& survey,
                    const std::function<void(const TQuestion&, const std::string&)>& visit) {
  const QuestionListing listing = RebuildQuestionList(survey);
  for (const QuestionListLine& line : listing.lines) {
    const TQuestion& q = survey.Item(line.item_index);
    if (q.Style == kStyleNumeric || IsChoiceStyle(q.Style)) visit(q, line.line);
  }
}

std::string JsonQuestionHead(const TQuestion& q) {
  return "{\"id\": " + std::to_string(q.ID) + ", \"number\": " + JsonString(q.DisplayNumber) +
         ", \"text\": " + JsonString(q.Text) + ", \"style\": " + std::to_string(q.Style);
}

}  // namespace

std::string FilterLine(const TSurvey& survey) {
  const std::string expression = survey.ActiveFilter().FilterExpression();
  return "Filter: " + (expression.empty() ? std::string("None") : expression);
}

std::string ResultsPlain(TSurvey& survey, uint32_t records) {
  std::string out = FilterLine(survey) + "\nRecords counted: " + std::to_string(records) + "\n";
  const TResultsList& results = survey.Results();
  ForEachCounted(survey, [&](const TQuestion& q, const std::string& line) {
    out += "\n" + line + "\n";
    if (q.Style != kStyleNumeric) {
      for (const TCountResults* e : results.CountsOf(q.ID)) {
        out += e->Label + "\t" + std::to_string(e->Count) + "\n";
      }
      return;
    }
    const TNumericResults* n = results.NumericOf(q.ID);
    if (n == nullptr) return;
    out += "Count\t" + JsonNumber(n->Count) + "\nTotal\t" + JsonNumber(n->Total) + "\nAverage\t" +
           JsonNumber(n->Average) + "\nHighest\t" + JsonNumber(n->Highest) + "\nLowest\t" +
           JsonNumber(n->Lowest) + "\n";
    for (const TCountResults& g : n->Groups) out += g.Label + "\t" + std::to_string(g.Count) + "\n";
  });
  return out;
}

std::string ResultsJson(TSurvey& survey, uint32_t records) {
  std::string out = "{\"filter\": " + JsonString(survey.ActiveFilter().FilterExpression()) +
                    ", \"descriptions\": [";
  const std::vector<std::string>& descriptions = survey.ActiveFilter().Descriptions();
  for (size_t i = 0; i < descriptions.size(); ++i) {
    out += (i > 0 ? ", " : "") + JsonString(descriptions[i]);
  }
  out += "], \"records\": " + std::to_string(records) + ", \"questions\": [";
  const TResultsList& results = survey.Results();
  bool first = true;
  ForEachCounted(survey, [&](const TQuestion& q, const std::string&) {
    out += (first ? "\n  " : ",\n  ") + JsonQuestionHead(q);
    first = false;
    if (q.Style != kStyleNumeric) {
      out += ", \"entries\": [";
      bool first_entry = true;
      for (const TCountResults* e : results.CountsOf(q.ID)) {
        out += (first_entry ? "" : ", ") + std::string("{\"index\": ") + std::to_string(e->Index) +
               ", \"label\": " + JsonString(e->Label) + ", \"count\": " + std::to_string(e->Count) +
               "}";
        first_entry = false;
      }
      out += "]}";
      return;
    }
    const TNumericResults* n = results.NumericOf(q.ID);
    const TNumericResults none(q.ID);
    const TNumericResults& r = n != nullptr ? *n : none;
    out += ", \"total\": " + JsonNumber(r.Total) + ", \"count\": " + JsonNumber(r.Count) +
           ", \"average\": " + JsonNumber(r.Average) + ", \"highest\": " + JsonNumber(r.Highest) +
           ", \"lowest\": " + JsonNumber(r.Lowest) + ", \"groups\": [";
    for (size_t i = 0; i < r.Groups.size(); ++i) {
      const TCountResults& g = r.Groups[i];
      out += (i > 0 ? ", " : "") + std::string("{\"label\": ") + JsonString(g.Label) +
             ", \"low\": " + std::to_string(g.Low) + ", \"high\": " + std::to_string(g.High) +
             ", \"count\": " + std::to_string(g.Count) + "}";
    }
    out += "]}";
  });
  return out + (first ? "]}\n" : "\n]}\n");
}

std::string ResultsCsv(TSurvey& survey, uint32_t records) {
  std::string out = "question_id,question,label,count,percent\r\n";
  const TResultsList& results = survey.Results();
  auto row = [&](const TQuestion& q, const std::string& label, int count) {
    out += std::to_string(q.ID) + "," + CsvField(q.Text) + "," + CsvField(label) + "," +
           std::to_string(count) + "," + Percent(count, records) + "\r\n";
  };
  ForEachCounted(survey, [&](const TQuestion& q, const std::string&) {
    if (q.Style != kStyleNumeric) {
      for (const TCountResults* e : results.CountsOf(q.ID)) row(q, e->Label, e->Count);
    } else if (const TNumericResults* n = results.NumericOf(q.ID)) {
      for (const TCountResults& g : n->Groups) row(q, g.Label, g.Count);
    }
  });
  return out;
}

}  // namespace quorvant::cli
