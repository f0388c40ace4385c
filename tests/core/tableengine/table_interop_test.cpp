// Tables written here are read by other DBF programs (python3-dbf and GDAL's
// ogrinfo), and tables written by python3-dbf are read here.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <tuple>

#include "core/shell/atomic_file.h"
#include "core/shell/text_helpers.h"
#include "support/test_env.h"
#include "table_test_util.h"

namespace quorvant {
namespace {

// Runs a shell command and returns what it printed (stdout and stderr).
std::string Capture(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return "cannot run " + command;
  std::array<char, 65536> buf;
  size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) out.append(buf.data(), n);
  ::pclose(pipe);
  return out;
}

std::string Escape(std::string_view text) {
  return ReplaceAll(ReplaceAll(text, "\r", "\\r"), "\n", "\\n");
}

struct Row {
  std::string email;
  std::string code;
  int64_t number;
  bool blank_number;
  std::string memo;
};

Row RowFor(int i) {
  Row r;
  r.email = "person" + std::to_string(i) + "@example.org";
  if (i % 7 == 0) r.email = "Zoë Ærø " + std::to_string(i);
  r.code = i % 5 == 0 ? "" : std::to_string(i % 3);
  r.number = i % 11 == 0 ? -9999 : i % 1000;
  r.blank_number = i % 13 == 0;
  r.memo = i % 4 == 0 ? "" : "Answer " + std::to_string(i) + "\r\nsecond line, ü";
  if (i % 97 == 0) r.memo = std::string(3000, 'm');
  return r;
}

class TableInteropTest : public testing::CoreTest {
 protected:
  static constexpr int kRows = 3000;

  void SetUp() override {
    Table::Create(path_,
                  {{"EMAIL", 'C', 250}, {"QVX1", 'C', 3}, {"QVX2", 'N', 5}, {"QVX3", 'M', 10}});
    Table t;
    t.Open(path_);
    for (int i = 1; i <= kRows; ++i) {
      const Row r = RowFor(i);
      t.AppendBlank();
      t.Replace("EMAIL", r.email);
      t.Replace("QVX1", r.code);
      if (!r.blank_number) t.Replace("QVX2", r.number);
      t.Replace("QVX3", r.memo);
    }
    t.AddTag("EMAIL", "EMAIL");
    t.Close();
  }

  std::string path_ = dir_.File("answers.dbf");
};

TEST_F(TableInteropTest, PythonDbfReadsEveryFieldOfEveryRecord) {
  const std::string script =
      "import dbf,sys\n"
      "t = dbf.Table(sys.argv[1], codepage='utf8')\n"
      "t.open(dbf.READ_ONLY)\n"
      "for r in t:\n"
      "    n = r.qvx2\n"
      "    m = r.qvx3.replace('\\r', '\\\\r').replace('\\n', '\\\\n')\n"
      "    print('%s|%s|%s|%s' % (r.email.rstrip(), r.qvx1.rstrip(), '' if n is None else int(n), "
      "m))\n";
  ASSERT_TRUE(WriteFileAtomically(dir_.File("read.py"), script));
  std::string expected;
  for (int i = 1; i <= kRows; ++i) {
    const Row r = RowFor(i);
    expected += r.email + "|" + r.code + "|" + (r.blank_number ? "" : std::to_string(r.number)) +
                "|" + Escape(r.memo) + "\n";
  }
  EXPECT_EQ(Capture("/usr/bin/python3 '" + dir_.File("read.py") + "' '" + path_ + "'"), expected);
}

TEST_F(TableInteropTest, OgrinfoReadsTheCharacterAndNumericFields) {
  const std::string out = Capture("ogrinfo -ro -al -q '" + path_ + "'");
  // Each feature prints its fields as "  NAME (Type) = value".
  std::string actual;
  for (const std::string& line : SplitLines(out)) {
    const size_t eq = line.find(" = ");
    if (line.starts_with("  EMAIL ")) actual += line.substr(eq + 3);
    if (line.starts_with("  QVX1 ")) actual += "|" + line.substr(eq + 3);
    if (line.starts_with("  QVX2 ")) actual += "|" + line.substr(eq + 3) + "\n";
  }
  std::string expected;
  for (int i = 1; i <= kRows; ++i) {
    const Row r = RowFor(i);
    expected += r.email + "|" + (r.code.empty() ? "(null)" : r.code) + "|" +
                (r.blank_number ? "(null)" : std::to_string(r.number)) + "\n";
  }
  EXPECT_EQ(actual, expected) << out.substr(0, 2000);
}

TEST_F(TableInteropTest, ReadsATableWrittenByPythonDbf) {
  const std::string other = dir_.File("other.dbf");
  const std::string script =
      "import dbf,sys\n"
      "t = dbf.Table(sys.argv[1], 'NAME C(20); AGE N(5,0); NOTE M; BORN D; OK L',\n"
      "              dbf_type='fp', codepage='utf8')\n"
      "t.open(dbf.READ_WRITE)\n"
      "import datetime\n"
      "t.append(('Ann', 31, 'first\\r\\nnote ü', datetime.date(1970, 5, 1), True))\n"
      "t.append(('Bob', None, '', None, False))\n"
      "t.append(('Cy', -4, 'x' * 5000, datetime.date(2001, 12, 31), None))\n"
      "dbf.delete(t[1])\n"
      "t.close()\n";
  ASSERT_TRUE(WriteFileAtomically(dir_.File("write.py"), script));
  ASSERT_EQ(Capture("/usr/bin/python3 '" + dir_.File("write.py") + "' '" + other + "'"), "");
  Table t;
  t.Open(other);
  EXPECT_EQ(testing::Dump(t),
            "1:Ann|31|first\r\nnote ü|19700501|T\n"
            "2*:Bob||||F\n"
            "3:Cy|-4|" +
                std::string(5000, 'x') + "|20011231|?\n");
}

// python3-dbf writes no end-of-file byte after the last record of FoxPro and
// Visual FoxPro tables, and other writers leave stray bytes after it. Such
// tables open, copy, take new records and commit like ours, and each file we
// write ends with exactly its records and the byte, which python3-dbf reads.
TEST_F(TableInteropTest, TablesOfOtherWritersAreCopiedAndExtended) {
  const std::string writer =
      "import dbf,sys\n"
      "memo = sys.argv[1] == 'fp'\n"
      "layout = 'NAME C(20); AGE N(5,0)' + ('; NOTE M' if memo else '')\n"
      "t = dbf.Table(sys.argv[2], layout, dbf_type=sys.argv[1], codepage='utf8')\n"
      "t.open(dbf.READ_WRITE)\n"
      "rows = [('Grüße', 31, 'Zeile\\r\\nzwei ü'), ('Bob', 7, ''), ('Cy', -4, 'x' * 300)]\n"
      "for r in rows: t.append(r if memo else r[:2])\n"
      "t.close()\n";
  const std::string reader =
      "import dbf,sys\n"
      "t = dbf.Table(sys.argv[1], codepage='utf8')\n"
      "t.open(dbf.READ_ONLY)\n"
      "for r in t:\n"
      "    memo = r.note.replace('\\r\\n', '/') if 'note' in t.field_names else '-'\n"
      "    print('%s|%d|%s' % (r.name.rstrip(), r.age, memo))\n";
  ASSERT_TRUE(WriteFileAtomically(dir_.File("write.py"), writer));
  ASSERT_TRUE(WriteFileAtomically(dir_.File("read.py"), reader));
  const std::string stray("\x1A\x1A\0junk of a killed writer", 26);
  // dBase III (db3) writes the byte; FoxPro (fp, the one with memo) and
  // Visual FoxPro (vfp) do not.
  for (const auto& [type, with_stray] :
       {std::pair{"fp", false}, std::pair{"vfp", false}, std::pair{"db3", false},
        std::pair{"fp", true}, std::pair{"vfp", true}}) {
    SCOPED_TRACE(std::string(type) + (with_stray ? " with stray bytes" : ""));
    const bool memo = std::string_view(type) == "fp";
    const std::string base = dir_.File(std::string(type) + (with_stray ? "_stray" : ""));
    const std::string other = base + ".dbf", copy = base + "_copy.dbf";
    ASSERT_EQ(
        Capture("/usr/bin/python3 '" + dir_.File("write.py") + "' " + type + " '" + other + "'"),
        "");
    std::string records = ReadWholeFile(other).value_or("");
    ASSERT_GT(records.size(), 32u);
    if (records.back() == '\x1A') records.pop_back();
    if (with_stray) {
      ASSERT_TRUE(WriteFileAtomically(other, records + stray));
    }
    const auto memo_of = [&](const std::string& text) { return memo ? "|" + text : ""; };
    const std::string dumped = "1:Grüße|31" + memo_of("Zeile\r\nzwei ü") + "\n2:Bob|7" +
                               memo_of("") + "\n3:Cy|-4" + memo_of(std::string(300, 'x')) + "\n";

    Table t;
    t.Open(other);
    EXPECT_EQ(testing::Dump(t), dumped);
    t.CopyTo(copy);
    EXPECT_EQ(ReadWholeFile(copy), records + '\x1A');
    Table c;
    c.Open(copy);
    for (Table* table : {&t, &c}) {
      table->Append({{"NAME", "Dee"}, {"AGE", "9"}});
      if (memo) table->Replace("NOTE", "neu ß");
      table->Commit();
      EXPECT_EQ(testing::Dump(*table), dumped + "4:Dee|9" + memo_of("neu ß") + "\n");
      const std::string file = table->path();
      table->Close();
      // The old records stay byte for byte; the new one and the byte follow.
      const std::string bytes = ReadWholeFile(file).value_or("");
      const size_t record_length = static_cast<uint8_t>(records[10]) |
                                   static_cast<size_t>(static_cast<uint8_t>(records[11])) << 8;
      ASSERT_EQ(bytes.size(), records.size() + record_length + 1) << file;
      EXPECT_EQ(bytes.substr(32, records.size() - 32), records.substr(32)) << file;
      EXPECT_EQ(bytes.back(), '\x1A') << file;
      const std::string none = memo ? "" : "-";
      EXPECT_EQ(Capture("/usr/bin/python3 '" + dir_.File("read.py") + "' '" + file + "'"),
                "Grüße|31|" + (memo ? "Zeile/zwei ü" : none) + "\nBob|7|" + none + "\nCy|-4|" +
                    (memo ? std::string(300, 'x') : none) + "\nDee|9|" + (memo ? "neu ß" : none) +
                    "\n")
          << file;
    }
  }
}

}  // namespace
}  // namespace quorvant
