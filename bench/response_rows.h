// The 30-question layout and the random response rows of the analysis
// benchmarks: every style, Other answers, numeric groups, invalid and blank
// numbers, and text answers in a third of the records.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/responses/response_table.h"
#include "core/shell/quiet_prompts.h"
#include "core/shell/settings_store.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"

namespace quorvant::bench {

// 30 questions: single choice (with and without Other), sliding scales,
// pull-down lists, multiple choice (with and without Other), numeric
// questions with groups, short texts and one comment.
inline void AddAnalysisQuestions(TSurvey& s) {
  const std::string four = JoinCommaText({"a", "b", "c", "d"});
  const std::string five = JoinCommaText({"1~Poor", "2~Fair", "3~Good", "4~Very good", "5~Best"});
  const std::string three = JoinCommaText({"North", "South", "West"});
  for (int i = 0; i < 8; ++i) s.AddItem("single", kStyleSingleChoice, 0, 0, 0, false, 0, four);
  for (int i = 0; i < 3; ++i) s.AddItem("other", kStyleSingleChoice, 0, 0, 0, true, 0, four);
  for (int i = 0; i < 2; ++i) s.AddItem("scale", kStyleSlidingScale, 0, 0, 0, false, 0, five);
  for (int i = 0; i < 2; ++i) s.AddItem("pulldown", kStylePulldown, 0, 0, 0, false, 0, three);
  for (int i = 0; i < 5; ++i) s.AddItem("multi", kStyleMultipleChoice, 0, 0, 0, false, 0, four);
  for (int i = 0; i < 2; ++i)
    s.AddItem("multi other", kStyleMultipleChoice, 0, 0, 0, true, 0, four);
  for (int i = 0; i < 4; ++i) {
    s.AddItem("number", kStyleNumeric, i % 2 ? 9 : 19, 100, 0, false, 0, "");
  }
  for (int i = 0; i < 3; ++i) s.AddItem("text", kStyleText, 0, 0, 0, false, 20, "");
  s.AddItem("comment", kStyleText, 0, 0, 0, false, -1, "");
}

// The value of every field of one record, in field order; "" for blank.
inline void RandomRecord(const std::vector<FieldDef>& fields, const TSurvey& survey, int i,
                         std::mt19937& random, std::vector<std::string>& values) {
  values.assign(fields.size(), "");
  values[0] = "10." + std::to_string(i % 250) + "." + std::to_string(i / 250 % 250) + ".1";
  values[1] = "respondent" + std::to_string(i) + "@example.org";
  values[3] = "20261208" + std::to_string(100000 + i % 100000).substr(0, 6);
  size_t f = 4;
  for (const TQuestion& q : survey.Items()) {
    const int options = static_cast<int>(q.OptionLines().size());
    switch (q.Style) {
      case kStyleMultipleChoice:
        for (int j = 0; j < options + (q.IncludeOther ? 1 : 0); ++j) {
          values[f++] = random() % 2 ? "Y" : "N";
        }
        if (q.IncludeOther) values[f++] = random() % 4 ? "" : "typed";
        break;
      case kStyleNumeric: {
        const int r = static_cast<int>(random() % 20);
        values[f++] = r == 0 ? "-9999" : r == 1 ? "" : std::to_string(random() % 101);
        break;
      }
      case kStyleText:
        values[f++] = random() % 3 ? "" : "an answer";
        break;
      default:
        if (q.IncludeOther && random() % 6 == 0) {
          values[f++] = "Oth";
          values[f++] = "something else";
        } else {
          values[f++] = std::to_string(random() % options);
          if (q.IncludeOther) ++f;
        }
    }
  }
}

// The two-condition filter of the analysis benchmarks: option 2 of the
// first question selected and the first Numeric question's answer above 30.
// Sets it as the survey's analysis filter (with on) or clears that filter;
// returns the same as an SQL WHERE clause ("" without on).
inline std::string SetBenchFilter(TSurvey& survey, bool on) {
  survey.ActiveFilter().Clear();
  if (!on) return "";
  const TQuestion& first = survey.Item(0);
  const TQuestion* numeric = nullptr;
  for (const TQuestion& q : survey.Items()) {
    if (q.Style == kStyleNumeric && numeric == nullptr) numeric = &q;
  }
  survey.ActiveFilter().AddChoiceCondition(first, true, 2);
  survey.ActiveFilter().AddNumericCondition(*numeric, 0, "30");
  return " WHERE QVX" + std::to_string(first.ID) + "='2' AND QVX" + std::to_string(numeric->ID) +
         ">30";
}

inline void CheckSqlite(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "SQLite failed at %s: %s\n", what, sqlite3_errmsg(db));
    std::exit(1);
  }
}

// Fills the empty response table with `records` random rows and writes the
// same rows to a new SQLite database at sqlite_path (blank fields as NULL,
// numbers as integers), opened for its fastest reading; returns it.
inline sqlite3* BuildResponses(const TSurvey& survey, Table& table, int records,
                               const std::string& sqlite_path) {
  const std::vector<FieldDef> fields = table.Fields();
  sqlite3* db = nullptr;
  CheckSqlite(sqlite3_open(sqlite_path.c_str(), &db), db, "open");
  // The whole database mapped, and a cache as large.
  CheckSqlite(sqlite3_exec(db, "PRAGMA mmap_size=8000000000; PRAGMA cache_size=-4000000;", nullptr,
                           nullptr, nullptr),
              db, "pragma");
  std::string create = "CREATE TABLE responses(", insert = "INSERT INTO responses VALUES(";
  for (size_t f = 0; f < fields.size(); ++f) {
    create += (f ? "," : "") + fields[f].name + (fields[f].type == 'N' ? " INTEGER" : " TEXT");
    insert += f ? ",?" : "?";
  }
  CheckSqlite(sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr), db, "create");
  sqlite3_stmt* put = nullptr;
  CheckSqlite(sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &put, nullptr), db, "prepare");
  std::mt19937 random(20261209);
  std::vector<std::string> values;
  CheckSqlite(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
  for (int i = 0; i < records; ++i) {
    RandomRecord(fields, survey, i, random, values);
    table.AppendBlank();
    for (size_t f = 0; f < fields.size(); ++f) {
      const std::string& v = values[f];
      const int column = static_cast<int>(f + 1);
      if (v.empty()) {
        sqlite3_bind_null(put, column);
        continue;
      }
      table.ReplaceField(static_cast<int>(f), v);
      if (fields[f].type == 'N') {
        sqlite3_bind_int(put, column, std::atoi(v.c_str()));
      } else {
        sqlite3_bind_text(put, column, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
      }
    }
    CheckSqlite(sqlite3_step(put), db, "insert");
    sqlite3_reset(put);
  }
  table.Commit();
  CheckSqlite(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
  sqlite3_finalize(put);
  return db;
}

// What the analysis benchmarks start from: a fresh folder under $TMPDIR
// that holds the settings, the survey (the 30 questions, or those
// add_questions makes) and its response table of `records` rows, and the
// same rows in SQLite. Everything goes at the end.
class BenchResponses {
 public:
  BenchResponses(const char* name, int records,
                 void (*add_questions)(TSurvey&) = AddAnalysisQuestions)
      : dir_(MakeFolder(name)), survey_(settings_), responses_(prompts_) {
    add_questions(survey_);
    survey_.SetFileName((dir_ / "s.qvx").string());
    responses_.Create(survey_);
    std::printf("%s: building %d records of %zu fields\n", name, records,
                responses_.table().Fields().size());
    db_ = BuildResponses(survey_, responses_.table(), records, (dir_ / "s.sqlite").string());
  }
  ~BenchResponses() {
    sqlite3_close(db_);
    responses_.Close();
    std::filesystem::remove_all(dir_);
  }
  BenchResponses(const BenchResponses&) = delete;
  BenchResponses& operator=(const BenchResponses&) = delete;

  TSurvey& survey() { return survey_; }
  TResponseTable& responses() { return responses_; }
  QuietPrompts& prompts() { return prompts_; }
  sqlite3* db() { return db_; }

 private:
  // The folder, made before the settings store reads its place from it.
  static std::filesystem::path MakeFolder(const char* name) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      (std::string(name) + "." + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ::setenv("QUORVANT_CONFIG_DIR", (dir / "config").c_str(), 1);
    return dir;
  }

  std::filesystem::path dir_;
  SettingsStore settings_;
  TSurvey survey_;
  QuietPrompts prompts_;
  TResponseTable responses_;
  sqlite3* db_ = nullptr;
};

}  // namespace quorvant::bench
