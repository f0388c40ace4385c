#include "collector/store_copy.h"

#include <sodium.h>

#include <filesystem>
#include <map>
#include <tuple>
#include <vector>

#include "collector/sqlite_statement.h"
#include "collector/sqlite_submission_store.h"

namespace quorvant::collector {
namespace {

// Hex of a hash over the row's contents; the parts are length-prefixed so
// that no two rows share a text.
std::string ContentKey(int64_t stamp, const std::string& remote, const std::string& agent,
                       const std::string& fields) {
  std::string text = std::to_string(stamp);
  for (const std::string* part : {&remote, &agent, &fields}) {
    text += '/' + std::to_string(part->size()) + ':' + *part;
  }
  unsigned char hash[crypto_generichash_BYTES];
  crypto_generichash(hash, sizeof hash, reinterpret_cast<const unsigned char*>(text.data()),
                     text.size(), nullptr, 0);
  char hex[2 * sizeof hash + 1];
  sodium_bin2hex(hex, sizeof hex, hash, sizeof hash);
  return hex;
}

class SqliteSource {
 public:
  explicit SqliteSource(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw StoreError("cannot open the database " + path + ": " + why);
    }
  }
  ~SqliteSource() { sqlite3_close(db_); }
  sqlite3* db() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace

CopyCounts CopySqliteStore(const std::string& path, PostgresSubmissionStore& target) {
  if (!std::filesystem::is_regular_file(path)) {
    throw StoreError("cannot open the database " + path + ": no such file");
  }
  { SqliteSubmissionStore upgrade(path); }
  SqliteSource source(path);
  CopyCounts counts;
  std::vector<std::string> surveys;
  {
    Statement rows(source.db(),
                   "SELECT name, account, password_hash, registered FROM surveys ORDER BY name");
    while (rows.Step()) {
      surveys.push_back(rows.Text(0));
      ++(target.CopySurvey(rows.Text(0), rows.Text(1), rows.Text(2), rows.Int(3))
             ? counts.surveys
             : counts.surveys_present);
    }
  }
  for (const std::string& survey : surveys) {
    std::vector<CopiedSubmission> copies;
    std::map<std::string, int> seen;  // content key -> rows with it so far
    Statement rows(source.db(),
                   "SELECT stamp, remote, agent, fields FROM submissions WHERE survey = ? "
                   "ORDER BY id");
    rows.Bind(1, survey);
    while (rows.Step()) {
      CopiedSubmission c{"", rows.Int(0), rows.Text(1), rows.Text(2), rows.Text(3)};
      const std::string content = ContentKey(c.stamp, c.remote, c.agent, c.fields);
      c.key = content + "-" + std::to_string(seen[content]++);
      copies.push_back(std::move(c));
    }
    const size_t copied = target.CopySubmissions(survey, copies);
    counts.submissions += copied;
    counts.submissions_present += copies.size() - copied;
  }
  return counts;
}

std::string CopyCountsText(const CopyCounts& counts) {
  return "copied " + std::to_string(counts.surveys) + " surveys (" +
         std::to_string(counts.surveys_present) + " already there) and " +
         std::to_string(counts.submissions) + " submissions (" +
         std::to_string(counts.submissions_present) + " already there)";
}

}  // namespace quorvant::collector
