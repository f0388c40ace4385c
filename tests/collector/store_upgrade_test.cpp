// Survey passwords kept as hashes: a database written before they were
// hashed, opened by today's collector and used over real HTTP, and a new
// database, whose file must never hold a password in clear.
#include <gtest/gtest.h>
#include <httplib.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "collector/collector_server.h"
#include "collector/sqlite_submission_store.h"
#include "support/test_env.h"

namespace quorvant::collector {
namespace {

// Passwords unlikely to occur in a file by chance, so finding one means it
// was written there.
constexpr const char* kAlphaPassword = "clear-alpha-7731x";
constexpr const char* kBetaPassword = "clear-beta-90422q";
// Many more surveys, so that the rows fill pages as in a collector used for
// a while and a leftover copy of an old row has somewhere to hide.
constexpr int kMoreSurveys = 30;
std::string MorePassword(int i) { return "more-clear-" + std::to_string(i) + "-zk"; }

// Where a clear password of the old database still occurs in bytes.
std::string ClearPasswordIn(const std::string& bytes) {
  for (int i = 0; i < kMoreSurveys; ++i) {
    if (bytes.find(MorePassword(i)) != std::string::npos) return MorePassword(i);
  }
  for (const char* password : {kAlphaPassword, kBetaPassword}) {
    if (bytes.find(password) != std::string::npos) return password;
  }
  return "";
}

class StoreUpgradeTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_.File("c.db"); }

  // The layout and rows an earlier collector wrote, made with plain SQL:
  // clear passwords, two surveys with submissions.
  void WriteOldDatabase() {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Path().c_str(), &db), SQLITE_OK);
    std::string sql = std::string(R"sql(
      CREATE TABLE surveys(
        name TEXT PRIMARY KEY, account TEXT NOT NULL, password TEXT NOT NULL,
        registered INTEGER NOT NULL);
      CREATE TABLE submissions(
        id INTEGER PRIMARY KEY AUTOINCREMENT, survey TEXT NOT NULL, stamp INTEGER NOT NULL,
        remote TEXT NOT NULL, agent TEXT NOT NULL, fields TEXT NOT NULL);
      CREATE INDEX submissions_by_stamp ON submissions(survey, stamp, id);
      CREATE TABLE clock(id INTEGER PRIMARY KEY CHECK (id = 1), highest INTEGER NOT NULL);
      INSERT INTO clock VALUES (1, 1765188002);
      INSERT INTO surveys VALUES ('Alpha', 'NA', ')sql") +
                      kAlphaPassword + "', 1765187000), ('Beta', 'NA', '" + kBetaPassword +
                      R"sql(', 1765187000);
      INSERT INTO submissions(survey, stamp, remote, agent, fields) VALUES
        ('Alpha', 20251208095959, '10.0.0.1', 'old', 'qvx1=yes'),
        ('Beta', 20251208100000, '10.0.0.2', 'old', 'qvx1=no'),
        ('Alpha', 20251208100001, '10.0.0.3', 'old', 'qvx1=a%20b&qvx2=2');
    )sql";
    for (int i = 0; i < kMoreSurveys; ++i) {
      sql += "INSERT INTO surveys VALUES ('More" + std::to_string(i) + "', 'NA', '" +
             MorePassword(i) + "', 1765187000);";
    }
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }

  void Serve() {
    store_ = std::make_unique<SqliteSubmissionStore>(Path());
    CollectorOptions options;
    options.port = 0;
    server_ = std::make_unique<CollectorServer>(options, *store_);
    ASSERT_TRUE(server_->Bind());
    thread_ = std::thread([this] { server_->Listen(); });
    client_ = std::make_unique<httplib::Client>("127.0.0.1", server_->port());
    client_->set_read_timeout(10, 0);
  }
  void Shut() {
    if (!server_) return;
    server_->Stop();
    thread_.join();
    server_.reset();
    store_.reset();
  }
  ~StoreUpgradeTest() override { Shut(); }

  std::string Get(const std::string& target) {
    auto r = client_->Get("/qvx/" + target);
    return r ? std::to_string(r->status) + " " + r->body : "no reply";
  }
  // Every byte the database keeps on disk: the file and its write-ahead log.
  std::string RawBytes() const {
    std::string bytes;
    for (const std::string& name : {Path(), Path() + "-wal", Path() + "-journal"}) {
      if (!std::filesystem::exists(name)) continue;
      std::ifstream in(name, std::ios::binary);
      std::ostringstream all;
      all << in.rdbuf();
      bytes += all.str();
    }
    return bytes;
  }
  int UserVersion() const {
    sqlite3* db = nullptr;
    sqlite3_open(Path().c_str(), &db);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr);
    const int version = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return version;
  }

  testing::TempDir dir_;
  std::unique_ptr<SubmissionStore> store_;
  std::unique_ptr<CollectorServer> server_;
  std::thread thread_;
  std::unique_ptr<httplib::Client> client_;
};

const std::string kAlphaData =
    "200 <DATA>\r\n"
    "RemoteAddr=10.0.0.1,UserAgent=old,DateRec=20251208095959,qvx1=yes\r\n"
    "RemoteAddr=10.0.0.3,UserAgent=old,DateRec=20251208100001,\"qvx1=a b\",qvx2=2\r\n"
    "</DATA>\r\n";
const std::string kWrong = "200 <ERROR>\r\nThe password of the survey Alpha is wrong.\r\n";

TEST_F(StoreUpgradeTest, ClearPasswordsOfAnOldDatabaseBecomeHashes) {
  WriteOldDatabase();
  ASSERT_EQ(ClearPasswordIn(RawBytes()), MorePassword(0));  // the check can see them
  Serve();
  const std::string alpha = std::string("SurveyFile=Alpha&ID=") + kAlphaPassword;
  const std::string beta = std::string("SurveyFile=Beta&ID=") + kBetaPassword;
  EXPECT_EQ(Get("GetResults?" + alpha + "&LastUpdate=Never"), kAlphaData);
  EXPECT_EQ(Get("GetResults?" + beta + "&LastUpdate=Never"),
            "200 <DATA>\r\nRemoteAddr=10.0.0.2,UserAgent=old,DateRec=20251208100000,qvx1=no\r\n"
            "</DATA>\r\n");
  EXPECT_NE(Get("RegisterSurvey?" + alpha + "&AccountID=NA").find("Registration Complete"),
            std::string::npos);
  EXPECT_NE(Get("ClearResults?" + beta).find("Results Cleared"), std::string::npos);
  EXPECT_EQ(Get("GetResults?" + beta + "&LastUpdate=Never"), "200 <DATA>\r\n</DATA>\r\n");
  {
    const std::string raw = RawBytes();
    EXPECT_EQ(ClearPasswordIn(raw), "");
    EXPECT_NE(raw.find("$argon2id$"), std::string::npos);
  }

  // Opened again, the hashes are kept as they are, not hashed once more.
  Shut();
  EXPECT_EQ(UserVersion(), 1);
  Serve();
  EXPECT_EQ(Get("GetResults?" + alpha + "&LastUpdate=Never"), kAlphaData);
  const std::string last = std::to_string(kMoreSurveys - 1);
  EXPECT_EQ(Get("GetResults?SurveyFile=More" + last + "&ID=" + MorePassword(kMoreSurveys - 1) +
                "&LastUpdate=Never"),
            "200 <DATA>\r\n</DATA>\r\n");
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Get("GetResults?SurveyFile=Alpha&ID=clear-alpha&LastUpdate=Never"), kWrong) << i;
  }
  EXPECT_EQ(Get("GetResults?" + alpha + "&LastUpdate=Never").substr(0, 4), "429 ");
  Shut();
  EXPECT_EQ(ClearPasswordIn(RawBytes()), "");
}

TEST_F(StoreUpgradeTest, ANewDatabaseNeverHoldsAClearPassword) {
  Serve();
  const std::string alpha = std::string("SurveyFile=Alpha&ID=") + kAlphaPassword;
  EXPECT_NE(Get("RegisterSurvey?" + alpha + "&AccountID=NA").find("Registration Complete"),
            std::string::npos);
  EXPECT_EQ(
      Get("RegisterSurvey?SurveyFile=Alpha&AccountID=NA&ID=other").find("Registration Complete"),
      std::string::npos);
  auto sent =
      client_->Post("/qvx", "QVXSURVEYFILE=Alpha&qvx1=x", "application/x-www-form-urlencoded");
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->status, 200);
  EXPECT_EQ(Get("GetResults?SurveyFile=Alpha&ID=other&LastUpdate=Never"), kWrong);
  EXPECT_EQ(RawBytes().find(kAlphaPassword), std::string::npos);
  EXPECT_NE(RawBytes().find("$argon2id$"), std::string::npos);
  Shut();
  EXPECT_EQ(UserVersion(), 1);
  EXPECT_EQ(RawBytes().find(kAlphaPassword), std::string::npos);
}

}  // namespace
}  // namespace quorvant::collector
