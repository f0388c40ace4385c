#include "core/shell/file_association.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_env.h"

namespace quorvant {
namespace {

namespace fs = std::filesystem;

// Each case runs with $XDG_DATA_HOME in its own temporary folder.
class FileAssociationTest : public testing::CoreTest {
 protected:
  FileAssociationTest() { setenv("XDG_DATA_HOME", dir_.File("home").c_str(), 1); }
  ~FileAssociationTest() override { unsetenv("XDG_DATA_HOME"); }

  std::string Entry() const { return dir_.File("home/applications/org.quorvant.Quorvant.desktop"); }
  std::string Package() const { return dir_.File("home/mime/packages/org.quorvant.Quorvant.xml"); }
  static void Put(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    testing::WriteFileOrDie(path, text);
  }
  static std::string Shipped() { return std::string(QUORVANT_SOURCE_DIR) + "/data/"; }
};

TEST_F(FileAssociationTest, UninstalledProgramWritesTheShippedFilesOnceStartingItself) {
  // Left by a version that named the files after the program.
  Put(dir_.File("home/applications/quorvant.desktop"),
      "[Desktop Entry]\nMimeType=application/x-quorvant-survey;\n");
  Put(dir_.File("home/applications/other.desktop"), "[Desktop Entry]\n");
  EXPECT_TRUE(RegisterFileType("/opt/my app/quorvant", Shipped()));
  // Unchanged: nothing rewritten.
  EXPECT_FALSE(RegisterFileType("/opt/my app/quorvant", Shipped()));
  EXPECT_FALSE(fs::exists(dir_.File("home/applications/quorvant.desktop")));
  EXPECT_TRUE(fs::exists(dir_.File("home/applications/other.desktop")));

  const std::string entry = testing::ReadFileOrDie(Entry());
  EXPECT_NE(entry.find("\nExec=\"/opt/my app/quorvant\" %f\n"), std::string::npos);
  EXPECT_NE(entry.find("\nTryExec=/opt/my app/quorvant\n"), std::string::npos);
  EXPECT_NE(entry.find("\nIcon=" + Shipped() + "icons/quorvant.svg\n"), std::string::npos);
  EXPECT_NE(entry.find("\nMimeType=application/x-quorvant-survey;\n"), std::string::npos);
  EXPECT_EQ(testing::ReadFileOrDie(Package()),
            testing::ReadFileOrDie(Shipped() + "desktop/org.quorvant.Quorvant.xml"));
  EXPECT_NE(
      DesktopEntryText("Exec=x %f\nIcon=y\n", "/a/$x\"y", "").find("Exec=\"/a/\\$x\\\"y\" %f"),
      std::string::npos);
  EXPECT_EQ(DesktopEntryText("Exec=x %f\nIcon=y\nName=Q\n", "/p", ""), "Exec=\"/p\" %f\nName=Q\n");
}

TEST_F(FileAssociationTest, InstalledProgramRemovesThePerUserCopiesThatWouldShadowItsOwn) {
  const std::string program = dir_.File("usr/bin/quorvant");
  EXPECT_TRUE(RegisterFileType(program, Shipped()));  // not installed yet: per-user copies
  ASSERT_TRUE(fs::exists(Entry()));
  Put(dir_.File("usr/share/applications/org.quorvant.Quorvant.desktop"), "[Desktop Entry]\n");
  EXPECT_TRUE(RegisterFileType(program, Shipped()));
  EXPECT_FALSE(fs::exists(Entry()));
  EXPECT_FALSE(fs::exists(Package()));
  EXPECT_FALSE(RegisterFileType(program, Shipped()));
  // A file of the same name that is not ours stays.
  Put(Entry(), "[Desktop Entry]\nName=Mine\n");
  EXPECT_FALSE(RegisterFileType(program, Shipped()));
  EXPECT_TRUE(fs::exists(Entry()));
}

}  // namespace
}  // namespace quorvant
