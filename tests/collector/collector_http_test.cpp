// The collector over real HTTP on a loopback port.
#include <gtest/gtest.h>
#include <httplib.h>

#include <thread>

#include "collector/collector_server.h"
#include "store_kinds.h"
#include "support/test_env.h"

namespace quorvant::collector {
namespace {

class CollectorHttpTest : public ::testing::TestWithParam<StoreKind> {
 protected:
  CollectorHttpTest() : store_(GetParam().open(dir_.path(), [] { return clock_seconds; })) {
    clock_seconds = kStartSeconds;  // each store kind starts at the same second
    options_.port = 0;
    options_.trust_proxy = true;
    server_ = std::make_unique<CollectorServer>(options_, *store_);
    EXPECT_TRUE(server_->Bind());
    thread_ = std::thread([this] { server_->Listen(); });
    client_ = std::make_unique<httplib::Client>("127.0.0.1", server_->port());
    client_->set_read_timeout(10, 0);
  }
  ~CollectorHttpTest() override {
    server_->Stop();
    thread_.join();
  }
  httplib::Result Post(const std::string& body,
                       const char* type = "application/x-www-form-urlencoded") {
    return client_->Post("/qvx", body, type);
  }
  std::string Results(const std::string& query) {
    auto r = client_->Get("/qvx/GetResults?" + query);
    return r ? r->body : "no reply";
  }

  static constexpr int64_t kStartSeconds = 1765188000;  // 2025-12-08 10:00:00 UTC
  static inline int64_t clock_seconds = kStartSeconds;
  testing::TempDir dir_;
  std::unique_ptr<SubmissionStore> store_;
  CollectorOptions options_;
  std::unique_ptr<CollectorServer> server_;
  std::thread thread_;
  std::unique_ptr<httplib::Client> client_;
};

TEST_P(CollectorHttpTest, VerifyRegisterSubmitFetch) {
  auto verify = client_->Get("/qvx/VerifyServer");
  ASSERT_TRUE(verify);
  EXPECT_NE(verify->body.find("Quorvant"), std::string::npos);

  auto reg = client_->Get("/qvx/RegisterSurvey?SurveyFile=S1&AccountID=NA&ID=p%26ss%23");
  ASSERT_TRUE(reg);
  EXPECT_NE(reg->body.find("Registration Complete"), std::string::npos);
  auto steal = client_->Get("/qvx/RegisterSurvey?SurveyFile=S1&AccountID=NA&ID=mine");
  ASSERT_TRUE(steal);
  EXPECT_EQ(steal->body.find("Registration Complete"), std::string::npos);

  httplib::Headers headers = {{"X-Forwarded-For", "203.0.113.9, 198.51.100.4"}};
  auto sent = client_->Post("/qvx", headers, "QVXSURVEYFILE=S1&qvx1=2&qvx2=a+b",
                            "application/x-www-form-urlencoded");
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->status, 200);
  EXPECT_NE(sent->body.find("Thank you"), std::string::npos);
  auto redirected = Post("QVXSURVEYFILE=S1&QVXRESULTURL=https%3A%2F%2Fexample.org%2Fthanks");
  ASSERT_TRUE(redirected);
  EXPECT_EQ(redirected->status, 303);
  EXPECT_EQ(redirected->get_header_value("Location"), "https://example.org/thanks");
  auto no_script = Post("QVXSURVEYFILE=S1&QVXRESULTURL=javascript%3Aalert(1)");
  ASSERT_TRUE(no_script);
  EXPECT_EQ(no_script->status, 200);

  ++clock_seconds;
  EXPECT_EQ(Results("SurveyFile=S1&ID=p%26ss%23&LastUpdate=Never"),
            "<DATA>\r\n"
            "RemoteAddr=198.51.100.4,UserAgent=cpp-httplib/0.11.4,DateRec=20251208100000,qvx1=2,"
            "\"qvx2=a b\"\r\n"
            "RemoteAddr=127.0.0.1,UserAgent=cpp-httplib/0.11.4,DateRec=20251208100000\r\n"
            "RemoteAddr=127.0.0.1,UserAgent=cpp-httplib/0.11.4,DateRec=20251208100000\r\n"
            "</DATA>\r\n");
  EXPECT_EQ(Results("SurveyFile=S1&ID=p%26ss%23&LastUpdate=20251208100000"),
            "<DATA>\r\n</DATA>\r\n");
  EXPECT_EQ(Results("SurveyFile=S1&ID=wrong&LastUpdate=Never"),
            "<ERROR>\r\nThe password of the survey S1 is wrong.\r\n");
  EXPECT_EQ(Results("SurveyFile=S1&ID=p%26ss%23&LastUpdate=yesterday"),
            "<ERROR>\r\nLastUpdate must be Never or a time stamp of 14 digits.\r\n");
}

TEST_P(CollectorHttpTest, HostileRequestsChangeNothing) {
  store_->Register("S1", "", "pw");
  struct Case {
    std::string body;
    const char* type;
    int status;
  };
  std::string many = "QVXSURVEYFILE=S1";
  for (int i = 0; i < 6000; ++i) many += "&f" + std::to_string(i) + "=1";
  const Case cases[] = {
      {"QVXSURVEYFILE=S1&qvx1=%G1", "application/x-www-form-urlencoded", 400},
      {many, "application/x-www-form-urlencoded", 400},
      {"QVXSURVEYFILE=S1&big=" + std::string(2 << 20, 'x'), "application/x-www-form-urlencoded",
       413},
      {"QVXSURVEYFILE=S1", "multipart/form-data; boundary=x", 415},
      {"QVXSURVEYFILE=S9&qvx1=1", "application/x-www-form-urlencoded", 404},
      {"qvx1=1", "application/x-www-form-urlencoded", 404},
  };
  for (const Case& c : cases) {
    auto r = Post(c.body, c.type);
    // An oversized body is refused before it is read, so the client may see
    // the connection close while it still sends instead of the reply.
    if (!r && c.status == 413) continue;
    ASSERT_TRUE(r) << c.status;
    EXPECT_EQ(r->status, c.status);
  }
  auto bad_query = client_->Get("/qvx/RegisterSurvey?SurveyFile=%ZZ");
  ASSERT_TRUE(bad_query);
  EXPECT_EQ(bad_query->status, 400);
  ++clock_seconds;
  EXPECT_EQ(Results("SurveyFile=S1&ID=pw&LastUpdate=Never"), "<DATA>\r\n</DATA>\r\n");
}

INSTANTIATE_TEST_SUITE_P(Stores, CollectorHttpTest, ::testing::ValuesIn(StoreKinds()),
                         StoreKindName);

}  // namespace
}  // namespace quorvant::collector
