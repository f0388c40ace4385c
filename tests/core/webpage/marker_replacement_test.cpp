// Marker replacement must give exactly what replacing the markers one after
// the other over the whole text gives, also when a large inserted text is
// skipped by the later steps.
#include "core/webpage/marker_replacement.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

std::string OneAfterTheOther(std::string text, const std::vector<MarkerStep>& steps) {
  for (const MarkerStep& step : steps) text = ReplaceAll(text, step.marker, step.text);
  return text;
}

const std::string kBig(5000, 'x');  // large enough to be skipped when untouchable

TEST(MarkerReplacement, LargeTextsThatCouldFormAMarkerAreSearchedAgain) {
  const struct {
    const char* name;
    std::string inserted;
  } cases[] = {
      {"untouchable", kBig},
      {"holds a later marker", kBig + "<!--B-->" + kBig},
      {"ends in the beginning of a later marker", kBig + "<!--"},
      {"begins with the end of a later marker", "B-->" + kBig},
      {"holds its own marker", "<!--Q-->" + kBig},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<MarkerStep> steps = {
        {"<!--Q-->", c.inserted}, {"<!--A-->", "<!--"}, {"<!--B-->", "[b]"}, {"C-->", "[c]"}};
    const std::string text = "<!--A--><!--Q-->B--> <!--Q--><!--A-->C--><!--B-->";
    EXPECT_EQ(ReplaceMarkersInOrder(text, steps), OneAfterTheOther(text, steps));
  }
}

// Random texts made of marker pieces, with large inserted texts of the same
// pieces, against replacement over the whole text.
TEST(MarkerReplacement, AgreesWithReplacementOverTheWholeText) {
  const std::vector<std::string> pieces = {"<!--", "-->", "Q", "A", "B", "<", ">", "x", "</B>"};
  std::mt19937 random(20260812);
  auto make = [&](size_t count) {
    std::string s;
    for (size_t i = 0; i < count; ++i) s += pieces[random() % pieces.size()];
    return s;
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<MarkerStep> steps = {
        {"<!--Q-->", ""}, {"<!--A-->", ""}, {"</B>", ""}, {"B-->", ""}};
    for (MarkerStep& step : steps) {
      step.text = random() % 2 ? make(random() % 4) : kBig + make(random() % 3);
      if (random() % 3 == 0) step.text = make(random() % 3) + kBig;
    }
    const std::string text = make(40);
    ASSERT_EQ(ReplaceMarkersInOrder(text, steps), OneAfterTheOther(text, steps))
        << "round " << round;
  }
}

}  // namespace
}  // namespace quorvant
