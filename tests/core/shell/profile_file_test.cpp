#include "core/shell/profile_file.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/shell/profile_appender.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::ReadFileOrDie;
using testing::TempDir;
using testing::WriteFileOrDie;

TEST(ProfileFile, LookupIgnoresCaseAndTrimsAndTakesTheFirstMatch) {
  const ProfileFile f = ProfileFile::Parse(
      "[Details]\r\n"
      "  Name =  My survey  \r\n"
      "name=second\r\n"
      "Quoted=\"  padded  \"\r\n"
      "Single='x'\r\n"
      "Half=\"open\r\n"
      "[details]\r\n"
      "Other=ignored\n");
  EXPECT_EQ(f.ReadString("DETAILS", "NAME", "-"), "My survey");
  EXPECT_EQ(f.ReadString("Details", "Quoted", "-"), "  padded  ");
  EXPECT_EQ(f.ReadString("Details", "Single", "-"), "x");
  EXPECT_EQ(f.ReadString("Details", "Half", "-"), "\"open");
  EXPECT_EQ(f.ReadString("Details", "Other", "-"), "-");  // second section of the name
  EXPECT_EQ(f.ReadString("Missing", "Name", "dflt"), "dflt");
  EXPECT_FALSE(f.HasKey("Details", "Nope"));
}

TEST(ProfileFile, NumbersAndBooleans) {
  const ProfileFile f = ProfileFile::Parse(
      "[N]\na=42\nb=-7\nc=0x1F\nd=0XfFfFfFfF\ne=12abc\nf=\ng=99999999999\nh=0x123456789\n"
      "t=5\nz=0\nw=yes\n");
  EXPECT_EQ(f.ReadInteger("N", "a", 0), 42);
  EXPECT_EQ(f.ReadInteger("N", "b", 0), -7);
  EXPECT_EQ(f.ReadInteger("N", "c", 0), 31);
  EXPECT_EQ(f.ReadInteger("N", "d", 0), -1);
  for (const char* key : {"e", "f", "g", "h", "missing"}) {
    EXPECT_EQ(f.ReadInteger("N", key, 13), 13) << key;
  }
  EXPECT_TRUE(f.ReadBool("N", "t", false));
  EXPECT_FALSE(f.ReadBool("N", "z", true));
  EXPECT_TRUE(f.ReadBool("N", "w", true));  // not a number: the default
}

TEST(ProfileFile, WritesReplaceInPlaceAppendToSectionAndKeepOtherLines) {
  ProfileFile f =
      ProfileFile::Parse("; a comment\r\n[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nstale line\r\nq=9\r\n");
  f.WriteString("a", "Y", "two");
  f.WriteInteger("A", "z", 3);
  f.WriteBool("C", "flag", true);
  EXPECT_EQ(f.ToText(),
            "; a comment\r\n[A]\r\nx=1\r\nY=two\r\nz=3\r\n\r\n[B]\r\nstale line\r\nq=9\r\n"
            "\r\n[C]\r\nflag=1\r\n");
}

TEST(ProfileFile, NewFileListsSectionsAndKeysInWriteOrder) {
  ProfileFile f;
  f.WriteString("Details", "Name", "n");
  f.WriteString("Question 1", "Text", "t");
  f.WriteString("Details", "Author", "a");
  EXPECT_EQ(f.ToText(), "[Details]\r\nName=n\r\nAuthor=a\r\n\r\n[Question 1]\r\nText=t\r\n");
}

TEST(ProfileFile, EveryWrittenValueReadsBackUnchanged) {
  const std::string values[] = {"plain",    "  lead", "trail  ", "\"quoted\"",
                                "'single'", "\"",     "''",      "",
                                "a=b=c",    "\"half", "tab\tin", std::string(5000, 'x')};
  ProfileFile f;
  for (size_t i = 0; i < std::size(values); ++i)
    f.WriteString("S", "k" + std::to_string(i), values[i]);
  const ProfileFile back = ProfileFile::Parse(f.ToText());
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(back.ReadString("S", "k" + std::to_string(i), "-"), values[i]) << i;
  }
}

TEST(ProfileFile, LineBreaksInValuesCannotSplitTheFile) {
  ProfileFile f;
  f.WriteString("S", "k", "one\r\n[Evil]\r\nx=1");
  const ProfileFile back = ProfileFile::Parse(f.ToText());
  EXPECT_FALSE(back.HasSection("Evil"));
  EXPECT_EQ(back.ReadString("S", "k", ""), "one  [Evil]  x=1");
  // A break at the very end becomes a blank that must not be trimmed away.
  f.WriteString("S", "k", "ends in CR\r");
  EXPECT_EQ(ProfileFile::Parse(f.ToText()).ReadString("S", "k", ""), "ends in CR ");
}

TEST(ProfileFile, KeysInFileOrderAndSectionErase) {
  ProfileFile f = ProfileFile::Parse("[V]\n2=b\n1=a\n2=dup\nnot a key\n[W]\nx=1\n");
  EXPECT_EQ(f.KeysOf("v"), (std::vector<std::string>{"2", "1", "2"}));
  f.EraseSection("V");
  EXPECT_FALSE(f.HasSection("V"));
  EXPECT_EQ(f.ReadString("W", "x", ""), "1");
  f.WriteString("V", "1", "new");
  EXPECT_EQ(f.ToText(), "[W]\r\nx=1\r\n\r\n[V]\r\n1=new\r\n");
}

TEST(ProfileFile, SaveIsAtomicAndReportsFailure) {
  TempDir dir;
  const std::string path = dir.File("f.ini");
  WriteFileOrDie(path, "[Old]\r\nkeep=1\r\n");
  ProfileFile f = ProfileFile::LoadOrEmpty(path);
  f.WriteString("New", "k", "v");
  f.Save(path);
  EXPECT_EQ(ReadFileOrDie(path), "[Old]\r\nkeep=1\r\n\r\n[New]\r\nk=v\r\n");

  const std::string missing = dir.File("no/such/folder/f.ini");
  try {
    f.Save(missing);
    FAIL() << "saving into a missing folder succeeded";
  } catch (const EProfileWriteError& e) {
    EXPECT_STREQ(e.what(), ("Unable to write to " + missing).c_str());
  }
}

TEST(ProfileFile, HostileTextParsesWithoutCrashing) {
  std::string junk;
  for (int i = 0; i < 20000; ++i) junk += static_cast<char>((i * 7919) % 256);
  const ProfileFile a = ProfileFile::Parse(junk);
  (void)a.ReadString("Details", "Name", "");
  const ProfileFile b = ProfileFile::Parse("[\n]\n[]\n=\n==\n[x\n" + std::string(1 << 20, '['));
  EXPECT_EQ(b.ReadString("x", "", "d"), "d");
}

// Writing thousands of new keys into a large section, between reads, against
// a plain map: every read agrees, the keys keep their order, and the blank
// line before the next section stays where it was.
TEST(ProfileFile, ManyNewKeysInALargeSectionMatchAPlainMap) {
  ProfileFile f = ProfileFile::Parse("[Values]\r\nfirst=0\r\n\r\n[Next]\r\nk=v\r\n");
  std::map<std::string, int> reference{{"first", 0}};
  std::vector<std::string> order{"first"};
  std::mt19937 rng(9);
  for (int i = 0; i < 6000; ++i) {
    const std::string key = "K" + std::to_string(rng() % 4000);
    if (!reference.count(key)) order.push_back(key);
    reference[key] = i;
    f.WriteInteger("Values", key, i);
    const std::string probe = "k" + std::to_string(rng() % 4000);  // case ignored
    const auto it = reference.find("K" + probe.substr(1));
    ASSERT_EQ(f.ReadInteger("Values", probe, -1), it == reference.end() ? -1 : it->second) << i;
  }
  EXPECT_EQ(f.KeysOf("Values"), order);
  const std::string text = f.ToText();
  EXPECT_NE(text.find("=" + std::to_string(reference[order.back()]) + "\r\n\r\n[Next]"),
            std::string::npos);
  EXPECT_EQ(f.ReadString("Next", "k", ""), "v");
}

}  // namespace
}  // namespace quorvant

namespace quorvant {
namespace {

TEST(ProfileFile, CopiesAnswerLookupsOnTheirOwn) {
  auto original = std::make_unique<ProfileFile>(ProfileFile::Parse("[A]\nk=1\n"));
  EXPECT_EQ(original->ReadString("A", "k", ""), "1");  // remembers the section it found
  const ProfileFile copy = *original;
  original.reset();
  EXPECT_EQ(copy.ReadString("a", "K", ""), "1");
}

TEST(ProfileFile, LargeSectionsAreIndexedAndStayCorrectAfterWrites) {
  ProfileFile f;
  for (int i = 0; i < 500; ++i) f.WriteInteger("Values", std::to_string(i), i);
  EXPECT_EQ(f.ReadInteger("VALUES", "250", -1), 250);
  f.WriteInteger("Values", "250", 7);
  f.WriteInteger("Values", "new", 8);
  EXPECT_EQ(f.ReadInteger("Values", "250", -1), 7);
  EXPECT_EQ(f.ReadInteger("Values", "NEW", -1), 8);
  EXPECT_EQ(f.KeysOf("Values").size(), 501u);
}

}  // namespace
}  // namespace quorvant

namespace quorvant {
namespace {

// Lookups start where the last one stopped; a repeated key must still give
// its first line whatever was read before.
TEST(ProfileFile, RepeatedKeysGiveTheFirstLineInAnyReadingOrder) {
  const ProfileFile f = ProfileFile::Parse("[A]\nx=1\ny=2\nX=3\nz=4\ny=5\n");
  for (const char* order : {"xyz", "zyx", "yxz", "zxy"}) {
    std::string got;
    for (const char* k = order; *k != '\0'; ++k) got += f.ReadString("A", std::string(1, *k), "-");
    std::string want;
    for (const char* k = order; *k != '\0'; ++k) want += *k == 'x' ? "1" : *k == 'y' ? "2" : "4";
    EXPECT_EQ(got, want) << order;
  }
}

}  // namespace
}  // namespace quorvant

namespace quorvant {
namespace {

// Lines read and lines written live in different storage; a copy, or a file
// assigned from one, must hold both on its own.
TEST(ProfileFile, CopiesKeepReadAndWrittenLinesOnTheirOwn) {
  auto original = std::make_unique<ProfileFile>(ProfileFile::Parse("[A]\r\nk=1\r\nj=2\r\n"));
  original->WriteString("A", "k", "replaced");
  original->WriteInteger("B", "n", 5);
  const std::string text = original->ToText();
  const ProfileFile copy = *original;
  ProfileFile assigned;
  assigned = *original;
  original->WriteString("A", "j", "changed after the copy");
  original.reset();
  for (const ProfileFile* f : std::initializer_list<const ProfileFile*>{&copy, &assigned}) {
    EXPECT_EQ(f->ToText(), text);
    EXPECT_EQ(f->ReadString("a", "K", ""), "replaced");
    EXPECT_EQ(f->ReadString("A", "j", ""), "2");
    EXPECT_EQ(f->ReadInteger("B", "n", 0), 5);
  }
}

TEST(ProfileFile, SectionReaderReadsAsTheFileDoes) {
  const ProfileFile f = ProfileFile::Parse("[Question 1]\nText = Hi \nStyle=0x2\ntext=dup\nOn=1\n");
  const ProfileFile::SectionReader q = f.ReadSection(" question 1 ");
  EXPECT_EQ(q.ReadString("TEXT", "-"), "Hi");
  EXPECT_EQ(q.ReadInteger("Style", 0), 2);
  EXPECT_TRUE(q.ReadBool("On", false));
  EXPECT_TRUE(q.HasKey("style"));
  EXPECT_FALSE(q.HasKey("Options"));
  // Keys of equal length and like letters must still be told apart.
  const ProfileFile g = ProfileFile::Parse("[V]\nMinValue=1\nMaxValue=2\nMaxVa1ue=3\n");
  EXPECT_EQ(g.ReadSection("V").ReadInteger("maxvalue", 0), 2);
  const ProfileFile::SectionReader missing = f.ReadSection("Question 2");
  EXPECT_EQ(missing.ReadString("Text", "N/A"), "N/A");
  EXPECT_EQ(missing.ReadInteger("ID", -1), -1);
  EXPECT_FALSE(missing.HasKey("Text"));
  EXPECT_EQ(f.SectionCount(), 1u);
  EXPECT_EQ(ProfileFile::Parse("a=1\n[x]\n [ y ] \n[z\n").SectionCount(), 2u);
  EXPECT_EQ(ProfileFile().SectionCount(), 0u);
}

// A new file written straight out must be the file that ProfileFile makes
// from the same writes: random sections and keys (with blanks around them)
// and values full of quotes, blanks and line breaks, of every kind.
TEST(ProfileAppender, WritesWhatProfileFileWritesIntoAnEmptyFile) {
  std::mt19937 random(12);
  const auto text = [&](size_t most) {
    const char alphabet[] = {'a', 'Z', ' ', '\t', '"', '\'', '\r', '\n', '=', '|', '7'};
    std::string t;
    for (size_t n = random() % (most + 1); n > 0; --n) t += alphabet[random() % sizeof alphabet];
    return t;
  };
  for (int round = 0; round < 300; ++round) {
    ProfileFile reference;
    ProfileAppender appender;
    const int sections = static_cast<int>(random() % 5);
    for (int s = 0; s < sections; ++s) {
      const std::string section = (random() % 2 ? " S" : "S") + std::to_string(s);
      for (int k = 0, keys = static_cast<int>(random() % 6); k < keys; ++k) {
        const std::string key = "K" + std::to_string(k) + (random() % 2 ? " " : "");
        const std::string value = text(12);
        switch (random() % 4) {
          case 0:
            reference.WriteString(section, key, value);
            appender.WriteString(section, key, value);
            break;
          case 1:
            reference.WriteRawString(section, key, value);
            appender.WriteRawString(section, key, value);
            break;
          case 2: {
            const int64_t drawn = random();
            const int number = static_cast<int>(drawn - (int64_t{1} << 31));
            reference.WriteInteger(section, key, number);
            appender.WriteInteger(section, key, number);
            break;
          }
          default:
            reference.WriteBool(section, key, random() % 2 != 0);
            appender.WriteBool(section, key, reference.ReadBool(section, key, false));
        }
      }
    }
    ASSERT_EQ(appender.ToText(), reference.ToText()) << round;
  }
}

}  // namespace
}  // namespace quorvant
