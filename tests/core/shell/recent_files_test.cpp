#include "core/shell/recent_files.h"

#include <gtest/gtest.h>

#include "core/shell/settings_keys.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class RecentFilesTest : public testing::CoreTest {
 protected:
  static std::string Joined(const RecentFiles& r) {
    std::string out;
    for (const std::string& f : r.Files()) out += (out.empty() ? "" : " ") + f;
    return out;
  }
};

TEST_F(RecentFilesTest, KeepsSixMostRecentFirstAndMovesReAddedFiles) {
  RecentFiles r;
  for (int i = 1; i <= 6; ++i) r.Add("/s/" + std::to_string(i) + ".qvx", "/s");
  r.Add("/s/7.qvx", "/s");
  EXPECT_EQ(Joined(r), "/s/7.qvx /s/6.qvx /s/5.qvx /s/4.qvx /s/3.qvx /s/2.qvx");
  r.Add("/S/4.QVX", "/s");
  EXPECT_EQ(Joined(r), "/S/4.QVX /s/7.qvx /s/6.qvx /s/5.qvx /s/3.qvx /s/2.qvx");
  r.Add("bare.qvx", "/home/me");
  EXPECT_EQ(r.Files().front(), "/home/me/bare.qvx");
  EXPECT_EQ(r.Files().size(), 6u);
}

TEST_F(RecentFilesTest, ReopenEntriesListEveryFileAndShortenTheLastDirectory) {
  RecentFiles r;
  r.Add("/other/b.qvx", "/s");
  r.Add("/S/a.qvx", "/s");
  r.Add("/s/open.qvx", "/s");
  const auto entries = r.ReopenEntries("/s");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].caption, "open.qvx");
  EXPECT_EQ(entries[1].caption, "a.qvx");
  EXPECT_EQ(entries[1].index, 1);
  EXPECT_EQ(entries[2].caption, "/other/b.qvx");
  EXPECT_EQ(ShortPath("/x.qvx", "/"), "x.qvx");
  EXPECT_EQ(ShortPath("/s/sub/x.qvx", "/s"), "/s/sub/x.qvx");
}

TEST_F(RecentFilesTest, SaveAndLoadRoundTripAndRemovedEntriesStayRemoved) {
  RecentFiles r;
  r.Add("/s/1.qvx", "/s");
  r.Add("/s/2.qvx", "/s");
  r.Save(settings_);
  r.Remove("/S/2.qvx");
  r.Save(settings_);
  RecentFiles back;
  back.Load(settings_);
  EXPECT_EQ(Joined(back), "/s/1.qvx");
  EXPECT_EQ(settings_.ReadString(settings::kMRUList, "File 1", ""), "N/A");
}

}  // namespace
}  // namespace quorvant
