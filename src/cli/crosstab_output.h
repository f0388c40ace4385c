// The three forms of quorvant-cli crosstab: the table and its statistics
// as plain text, JSON for programs and RFC 4180 CSV of the cells.
#pragma once

#include <string>

namespace quorvant {
struct CrossTable;
struct IndependenceTest;
}  // namespace quorvant

namespace quorvant::cli {

// filter: the filter line the plain form begins with, the expression in JSON.
std::string CrossTablePlain(const CrossTable& table, const IndependenceTest& test,
                            const std::string& filter_line);
// {"row", "column", "filter", "cells", "row_totals", "column_totals",
// "total", "blank", "chi_square", "df", "p", "cramers_v"}; the four
// statistics are null where there is no test.
std::string CrossTableJson(const CrossTable& table, const IndependenceTest& test,
                           const std::string& filter);
// The header row_label,column_label,count and one line per cell, row by row.
std::string CrossTableCsv(const CrossTable& table);

}  // namespace quorvant::cli
