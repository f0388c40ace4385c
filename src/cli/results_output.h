// The three forms of quorvant-cli results: plain lines for people, JSON for
// programs and RFC 4180 CSV for spreadsheets. Each reads the survey's
// results list as the last compute left it.
#pragma once

#include <cstdint>
#include <string>

namespace quorvant {
class TSurvey;
}

namespace quorvant::cli {

// "Filter: " and the analysis filter's expression, or "Filter: None".
std::string FilterLine(const TSurvey& survey);

// records: the number of records counted.
std::string ResultsPlain(TSurvey& survey, uint32_t records);
std::string ResultsJson(TSurvey& survey, uint32_t records);
std::string ResultsCsv(TSurvey& survey, uint32_t records);

}  // namespace quorvant::cli
