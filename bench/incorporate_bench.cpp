// incorporate_bench: incorporating a saved results reply against SQLite, in
// one process, on the same reply. A reply of SUBMISSIONS lines for the
// 30-question layout (every tenth a repeated address, every seventh a
// repeated e-mail address) goes into a new response table with Only1IP and
// Only1Email on; SQLite reads the same lines with the same parser and, in
// one transaction, inserts the same rows after the same two duplicate checks
// on indexed columns. Prints both times and the ratio ours / SQLite (the
// target is at most 1.0), and checks that both kept the same number of rows.
//
// Usage: incorporate_bench [SUBMISSIONS] (default 100000). Files go to a
// fresh folder under $TMPDIR, removed at the end.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/responses/incorporation.h"
#include "core/responses/response_fields.h"
#include "core/responses/response_table.h"
#include "core/responses/result_reply.h"
#include "core/shell/quiet_prompts.h"
#include "core/shell/settings_store.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "survey_layout.h"

namespace {

using namespace quorvant;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// One submission line as the collector writes it, answering every question.
std::string SubmissionLine(const TSurvey& survey, int i, std::mt19937& random) {
  const int address = i % 10 == 9 ? i - 9 : i;  // every tenth repeats an address
  const int email = i % 7 == 6 ? i - 6 : i;     // every seventh repeats an e-mail
  std::vector<std::string> items = {
      "RemoteAddr=10." + std::to_string(address % 250) + "." + std::to_string(address / 250 % 250) +
          "." + std::to_string(address / 62500),
      "UserAgent=Mozilla/5.0 (X11; Linux x86_64; rv:" + std::to_string(100 + i % 30) +
          ".0) Gecko/20100101 Firefox",
      "DateRec=2026120816" + std::to_string(100000 + i / 50).substr(2),
      "QVXEMAILADDRESS=respondent" + std::to_string(email) + "@example.org"};
  for (const TQuestion& q : survey.Items()) {
    const std::string n = "qvx" + std::to_string(q.ID);
    switch (q.Style) {
      case kStyleSingleChoice:
        if (q.IncludeOther && random() % 5 == 0) {
          items.push_back(n + "=Other");
          items.push_back(n + "Other=something else");
        } else {
          items.push_back(n + "=" + std::to_string(random() % 4));
        }
        break;
      case kStyleMultipleChoice:
        for (int j = 0; j < 4; ++j) {
          if (random() % 2) items.push_back(n + "-" + std::to_string(j) + "=1");
        }
        break;
      case kStyleNumeric:
        items.push_back(n + "=" + std::to_string(random() % 101));
        break;
      default:
        if (random() % 3 == 0) {
          items.push_back(n + "=A comment&CR;&LF;of respondent " + std::to_string(i));
        }
    }
  }
  return JoinCommaText(items);
}

void WriteReply(const TSurvey& survey, const std::string& path, int n) {
  std::ofstream out(path, std::ios::binary);
  std::mt19937 random(42);
  out << "<DATA>\r\n";
  for (int i = 0; i < n; ++i) out << SubmissionLine(survey, i, random) << "\r\n";
  out << "</DATA>\r\n";
}

void Check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "SQLite failed at %s: %s\n", what, sqlite3_errmsg(db));
    std::exit(1);
  }
}

// The same work in SQLite: the reply read with the same parser, the two
// duplicate checks on indexed columns, one insert per kept submission.
int RunSqlite(const TSurvey& survey, const std::string& reply, const std::string& path) {
  const std::vector<FieldDef> fields = ResponseTableFields(survey);
  sqlite3* db = nullptr;
  Check(sqlite3_open(path.c_str(), &db), db, "open");
  std::string create = "CREATE TABLE responses(", insert = "INSERT INTO responses VALUES(";
  SubmissionItems items;
  std::vector<int> slots;
  for (size_t f = 0; f < fields.size(); ++f) {
    create += (f ? "," : "") + fields[f].name + (fields[f].type == 'N' ? " INTEGER" : " TEXT");
    insert += f ? ",?" : "?";
    // Field names map onto the posted names closely enough for a load of
    // the same size: QVX12 <- qvx12, QVX12_3 <- qvx12-3.
    std::string name = fields[f].name == "REMOTEIP"   ? "RemoteAddr"
                       : fields[f].name == "EMAIL"    ? "QVXEMAILADDRESS"
                       : fields[f].name == "AGENT"    ? "UserAgent"
                       : fields[f].name == "DATERCVD" ? "DateRec"
                                                      : fields[f].name;
    for (char& c : name) c = c == '_' ? '-' : c;
    slots.push_back(items.Slot(name));
  }
  Check(sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr), db, "create");
  Check(sqlite3_exec(db,
                     "CREATE INDEX ip ON responses(REMOTEIP); "
                     "CREATE INDEX em ON responses(EMAIL);",
                     nullptr, nullptr, nullptr),
        db, "index");
  sqlite3_stmt *put = nullptr, *by_ip = nullptr, *by_email = nullptr;
  Check(sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &put, nullptr), db, "prepare");
  Check(sqlite3_prepare_v2(db, "SELECT 1 FROM responses WHERE REMOTEIP=?", -1, &by_ip, nullptr), db,
        "prepare");
  Check(sqlite3_prepare_v2(db, "SELECT 1 FROM responses WHERE EMAIL=?", -1, &by_email, nullptr), db,
        "prepare");
  auto found = [&](sqlite3_stmt* s, const std::string& value) {
    sqlite3_bind_text(s, 1, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
    const bool hit = sqlite3_step(s) == SQLITE_ROW;
    sqlite3_reset(s);
    return hit;
  };
  Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
  ReplyLineReader reader(reply);
  std::string line;
  reader.Next(line);
  int kept = 0;
  while (reader.Next(line) && !IsEndOfData(line)) {
    items.Parse(line);
    if (found(by_ip, items.Value(slots[0])) || found(by_email, items.Value(slots[1]))) continue;
    for (size_t f = 0; f < slots.size(); ++f) {
      const std::string& v = items.Value(slots[f]);
      sqlite3_bind_text(put, static_cast<int>(f + 1), v.data(), static_cast<int>(v.size()),
                        SQLITE_STATIC);
    }
    Check(sqlite3_step(put), db, "insert");
    sqlite3_reset(put);
    ++kept;
  }
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
  sqlite3_finalize(put);
  sqlite3_finalize(by_ip);
  sqlite3_finalize(by_email);
  sqlite3_close(db);
  return kept;
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  if (n <= 0) {
    std::fprintf(stderr, "usage: incorporate_bench [SUBMISSIONS]\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::temp_directory_path() / ("incorporate_bench." + std::to_string(::getpid()));
  fs::create_directories(dir);
  SettingsStore settings((dir / "settings.ini").string());
  TSurvey survey(settings);
  bench::AddQuestions(survey);
  survey.SetUniqueName("BENCH");
  survey.SetOnly1IP(true);
  survey.SetOnly1Email(true);
  survey.SetFileName((dir / "bench.qvx").string());
  survey.Save();
  const std::string reply = (dir / "reply.dat").string();
  WriteReply(survey, reply, n);
  std::printf("reply: %d submissions, %.1f MB\n", n,
              static_cast<double>(fs::file_size(reply)) / 1e6);

  QuietPrompts prompts;
  TResponseTable table(prompts);
  TAddResponseResult result;
  auto start = Clock::now();
  Incorporate(survey, reply, result, prompts, table);
  table.Close();
  const double ours = Since(start);

  start = Clock::now();
  const int kept = RunSqlite(survey, reply, (dir / "bench.sqlite").string());
  const double sqlite = Since(start);

  std::printf("incorporate: %.3f s (added %d, eliminated %d)\n", ours, result.Added,
              result.Eliminated);
  std::printf("sqlite:      %.3f s (kept %d)\n", sqlite, kept);
  std::printf("ratio ours/sqlite: %.2f (target <= 1.0)\n", ours / sqlite);
  fs::remove_all(dir);
  if (!result.Completed || kept != result.Added) {
    std::fprintf(stderr, "the two runs kept different rows\n");
    return 1;
  }
  return 0;
}
