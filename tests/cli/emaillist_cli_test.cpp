// quorvant-cli emaillist, run as the real program.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/shell/atomic_file.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class EmailListCliTest : public testing::CoreTest {
 protected:
  int Cli(const std::string& args) {
    const std::string command = "QUORVANT_CONFIG_DIR='" + dir_.File("config") + "' '" +
                                QUORVANT_CLI_PATH + "' emaillist " + args + " >'" +
                                dir_.File("out") + "' 2>'" + dir_.File("err") + "'";
    const int raw = std::system(command.c_str());
    out_ = ReadWholeFile(dir_.File("out")).value_or("");
    err_ = ReadWholeFile(dir_.File("err")).value_or("");
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  std::string F(const std::string& name) { return "'" + dir_.File(name) + "'"; }
  // Creates l.eml and imports the comma-separated text into it.
  void NewListFrom(const std::string& csv) {
    ASSERT_EQ(Cli("new " + F("l.eml")), 0) << err_;
    testing::WriteFileOrDie(dir_.File("in.csv"), csv);
    ASSERT_EQ(Cli("import " + F("l.eml") + " " + F("in.csv")), 0) << err_;
  }

  std::string out_, err_;
};

TEST_F(EmailListCliTest, NewImportShowFindExport) {
  NewListFrom("First,Last,Mail\r\nCarl,\"Diaz, Jr.\",cd@x\r\nAda,Zorn,az@x\r\nBea,Abel,ba@x\r\n");
  EXPECT_EQ(out_, "Imported 3 records\n");
  ASSERT_EQ(Cli("show " + F("l.eml")), 0) << err_;
  EXPECT_EQ(out_, "Bea\tAbel\tba@x\nCarl\tDiaz, Jr.\tcd@x\nAda\tZorn\taz@x\n");
  ASSERT_EQ(Cli("show " + F("l.eml") + " --order FNAME --find Ca"), 0) << err_;
  EXPECT_EQ(out_, "Carl\tDiaz, Jr.\tcd@x\n");
  EXPECT_EQ(Cli("show " + F("l.eml") + " --order EMAIL --find q"), 1);
  EXPECT_NE(err_.find(" Could not find Email Address of \"q\""), std::string::npos) << err_;

  ASSERT_EQ(Cli("export " + F("l.eml") + " " + F("o.csv") + " --order EMAIL"), 0) << err_;
  EXPECT_EQ(testing::ReadFileOrDie(dir_.File("o.csv")),
            "FNAME,LNAME,EMAIL\r\nAda,Zorn,az@x\r\nBea,Abel,ba@x\r\nCarl,\"Diaz, Jr.\",cd@x\r\n");
  ASSERT_EQ(Cli("export " + F("l.eml") + " " + F("o.txt")), 0) << err_;
  const std::string text = testing::ReadFileOrDie(dir_.File("o.txt"));
  EXPECT_EQ(text.size(), 5u * 262u);
  EXPECT_EQ(text.substr(2 * 262, 35), "Bea                           Abel ");
}

// A quote never closed costs only its line, and the output names the line.
TEST_F(EmailListCliTest, ImportMendsAnUnclosedQuote) {
  NewListFrom("First,Last,Mail\r\nAda,Zorn,az@x\r\nBea,\"Abel,ba@x\r\nCarl,Diaz,cd@x\r\n");
  EXPECT_EQ(out_,
            "Line 3 has a quote that is never closed; it was read as plain text\n"
            "Imported 3 records\n");
  ASSERT_EQ(Cli("show " + F("l.eml") + " --order EMAIL"), 0) << err_;
  EXPECT_EQ(out_, "Ada\tZorn\taz@x\nBea\t\"Abel\tba@x\nCarl\tDiaz\tcd@x\n");
}

TEST_F(EmailListCliTest, WrongArgumentsAndBadFiles) {
  EXPECT_EQ(Cli("show"), 2);
  EXPECT_EQ(Cli("frobnicate " + F("l.eml")), 2);
  EXPECT_EQ(Cli("export " + F("l.eml") + " " + F("o.xls")), 2);
  EXPECT_EQ(Cli("import " + F("l.eml") + " " + F("in.csv") + " --find x"), 2);
  EXPECT_EQ(Cli("show " + F("missing.eml")), 1);
  ASSERT_EQ(Cli("new " + F("l.eml")), 0) << err_;
  EXPECT_EQ(Cli("show " + F("l.eml") + " --order PHONE"), 1);
  testing::WriteFileOrDie(dir_.File("bad.eml"), "not a table at all");
  EXPECT_EQ(Cli("show " + F("bad.eml")), 1);
  EXPECT_EQ(testing::ReadFileOrDie(dir_.File("bad.eml")), "not a table at all");
}

// The printed list read back from the PDF with poppler's pdftotext.
TEST_F(EmailListCliTest, PrintWritesAPdfOfTheList) {
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftotext";
  ASSERT_EQ(Cli("new " + F("l.eml")), 0) << err_;
  std::string csv = "h\r\n";
  for (int i = 0; i < 120; ++i)
    csv += "Name" + std::to_string(i) + ",Müller,m" + std::to_string(i) + "@x\r\n";
  testing::WriteFileOrDie(dir_.File("in.csv"), csv);
  ASSERT_EQ(Cli("import " + F("l.eml") + " " + F("in.csv")), 0) << err_;
  ASSERT_EQ(Cli("print " + F("l.eml") + " " + F("l.pdf")), 0) << err_;
  ASSERT_EQ(std::system(("pdftotext -layout " + F("l.pdf") + " " + F("l.txt")).c_str()), 0);
  const std::string text = testing::ReadFileOrDie(dir_.File("l.txt"));
  EXPECT_NE(text.find("Email List Manager - " + dir_.File("l.eml")), std::string::npos);
  EXPECT_NE(text.find("Last Name *"), std::string::npos);
  EXPECT_NE(text.find("Name119"), std::string::npos);
  EXPECT_NE(text.find("Müller"), std::string::npos);
  EXPECT_NE(text.find("Page 1"), std::string::npos);
  EXPECT_NE(text.find("Page 2"), std::string::npos);
  EXPECT_FALSE(FileExists(dir_.File("l.pdf.part")));
}

}  // namespace
}  // namespace quorvant
