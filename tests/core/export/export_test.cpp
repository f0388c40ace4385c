// The research exports' own rules: the dictionary follows the table layout,
// cuts never split a character, and a write that fails at any point leaves
// the old file as it was and no temporary file behind. What the peers read
// is tested end to end (tests/e2e/research_export_test.py).
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "core/export/export_limits.h"
#include "core/export/response_file_export.h"
#include "core/responses/response_fields.h"
#include "core/shell/atomic_file.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"
#include "../responses/response_test_util.h"
#include "support/fault_env.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

TEST(ExportLimits, CutsNeverSplitACharacter) {
  struct Row {
    const char* text;
    TextLimit limit;
    const char* want;
  } rows[] = {
      {"ÄÖÜ", {.bytes = 5}, "ÄÖ"},
      {"ÄÖÜ", {.bytes = 6}, "ÄÖÜ"},
      {"abc", {.characters = 2}, "ab"},
      {"\xF0\x9F\x98\x80x", {.bytes = 3}, ""},
      {"a\xF0\x9F\x98\x80" "b", {.characters = 2}, "a\xF0\x9F\x98\x80"},
      {"ĉĝĥĵ", {.bytes = 7, .characters = 2}, "ĉĝ"},
      {"\xFF\xFEz", {.characters = 2}, "\xFF\xFE"},
  };
  std::string got, want;
  for (const Row& r : rows) {
    got += std::string(CutText(r.text, r.limit)) + "|";
    want += std::string(r.want) + "|";
  }
  EXPECT_EQ(got, want);

  CutReport report;
  report.Cut("short", {.bytes = 10}, "first");
  EXPECT_TRUE(report.Empty());
  report.Cut("longer text", {.bytes = 3}, "the label of QVX1");
  report.Cut("longer text", {.bytes = 3}, "the label of QVX2");
  EXPECT_EQ(report.Text(".sav"),
            "Some names, labels or texts were longer than .sav files allow and were cut (the "
            "first: the label of QVX1).");
}

class ExportFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = temp_.path();
    testing::AddQuestion(survey_, kStyleSingleChoice, "One?", {"a~A", "b~B"}, true);
    testing::AddQuestion(survey_, kStyleMultipleChoice, "Many?", {"x", "y"}, true);
    testing::AddQuestion(survey_, kStyleSlidingScale, "Scale?", {"1", "2", "3"});
    testing::AddQuestion(survey_, kStyleText, "Short?", {}, false, 20);
    testing::AddQuestion(survey_, kStyleText, "Long?", {}, false, -1);
    testing::AddQuestion(survey_, kStyleNumeric, "Number?");
    testing::AddQuestion(survey_, kStyleHeader, "A header");
    testing::AddQuestion(survey_, kStylePulldown, "Pick?", {"p", "q"});
    table_path_ = dir_ + "/t.dbf";
    Table::Create(table_path_, ResponseTableFields(survey_));
    table_.Open(table_path_);
    for (int i = 0; i < 3000; ++i) {
      table_.Append({{"REMOTEIP", "10.0.0." + std::to_string(i % 250)},
                     {"DATERCVD", "20261209123000"},
                     {"QVX1", i % 3 == 2 ? "Oth" : std::to_string(i % 3)},
                     {"QVX1OT", "typed ä"},
                     {"QVX2_0", i % 2 ? "Y" : "N"},
                     {"QVX4", "line\r\nbreak " + std::to_string(i)},
                     {"QVX5", std::string(static_cast<size_t>(i % 400), 'm')},
                     {"QVX6", std::to_string(i % 7 ? i % 100 : -9999)}});
    }
    table_.Commit();
  }

  testing::TempDir temp_;
  std::string dir_;
  SettingsStore settings_;
  TSurvey survey_{settings_};
  std::string table_path_;
  Table table_;
};

TEST_F(ExportFiles, DictionaryFollowsTheTableLayout) {
  std::string names, fields;
  for (const ExportVariable& v : BuildVariableDictionary(survey_, table_.Fields()).variables) {
    names += v.name + (v.field >= 0 ? " " : "? ");
  }
  for (const FieldDef& f : table_.Fields()) fields += f.name + " ";
  EXPECT_EQ(names, fields);
}

TEST_F(ExportFiles, AFailedWriteLeavesTheOldFile) {
  for (const auto& [extension, format] :
       {std::pair{".csv", ExportFormat::kCsv}, {".sav", ExportFormat::kSav},
        {".dta", ExportFormat::kDta}}) {
    const std::string path = dir_ + "/out" + extension;
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    testing::FaultEnv env;
    bool finished = false;
    for (int n = 1; n < 200 && !finished; ++n) {
      env.FailFrom(n);
      try {
        const ExportSummary summary = WriteResponseFile(survey_, table_, path, format, {}, env);
        EXPECT_EQ(summary.records, 3000u) << extension;
        finished = !env.Reached();
      } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Unable to write to " + path, 0), 0u) << e.what();
        EXPECT_EQ(ReadWholeFile(path).value_or(""), "old") << extension << " failing at " << n;
      }
      size_t files = 0;
      for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
        files += entry.path().string().find(".part") != std::string::npos;
      }
      EXPECT_EQ(files, 0u) << extension << " failing at " << n;
    }
    EXPECT_TRUE(finished) << extension;
    EXPECT_NE(ReadWholeFile(path).value_or("old"), "old") << extension;
  }
}

}  // namespace
}  // namespace quorvant
