// page_bench: the time to generate the survey page of a 2,000-item survey,
// relative to writing the same number of bytes with a plain buffered write
// in the same run. Target: at most 5x.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/shell/settings_store.h"
#include "core/survey/question_list.h"
#include "core/survey/survey.h"
#include "core/webpage/page_generator.h"
#include "core/webpage/shipped_templates.h"

namespace {

using namespace quorvant;
using Clock = std::chrono::steady_clock;

constexpr int kItems = 2000;
constexpr int kRounds = 15;

// A survey of every style, with a header every 25 items and a skip group
// (a head and three members) every 100, so that go-to links are written.
void Fill(TSurvey& survey) {
  const std::string options =
      "\"Strongly agree~SA\",Agree~A,Neutral~N,Disagree~D,"
      "\"Strongly disagree~SD\"";
  int head_id = -1, members = 0;
  for (int i = 0; i < kItems; ++i) {
    const int style = i % 25 == 0 ? kStyleHeader : 1 + i % 6;
    const std::string text = "Question number " + std::to_string(i) +
                             ": how do you rate this part of our service overall?";
    const int index = survey.AddItem(text, style, 10, 100, 0, i % 3 == 0, i % 2 ? 40 : -1,
                                     style == kStyleText || style == kStyleNumeric ? "" : options);
    TQuestion& item = survey.Item(index);
    if (members > 0) {
      item.SkipGroupOfQuestion = head_id;
      --members;
    } else if (style == kStyleSingleChoice && i % 100 == 1) {
      item.SkipGroupOfResponse = 2;
      head_id = item.ID;
      members = 3;
    }
  }
  RebuildQuestionList(survey);
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The median of kRounds runs of fn.
template <typename Fn>
double MedianSeconds(Fn fn) {
  std::vector<double> times;
  for (int r = 0; r < kRounds; ++r) {
    const auto start = Clock::now();
    fn();
    times.push_back(Seconds(Clock::now() - start));
  }
  std::nth_element(times.begin(), times.begin() + kRounds / 2, times.end());
  return times[kRounds / 2];
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  std::string dir = (fs::temp_directory_path() / "page-bench-XXXXXX").string();
  if (::mkdtemp(dir.data()) == nullptr) return 1;
  const std::string data_dir = dir + "/data/";
  InstallShippedTemplates(ShippedDataDirectory(), data_dir);
  SettingsStore settings(dir + "/settings.ini");
  TSurvey survey(settings);
  survey.SetDisplayTemplate("default.qvg");
  Fill(survey);

  const std::string page = dir + "/page.htm";
  if (!GeneratePage(survey, data_dir, page)) {
    std::fprintf(stderr, "page_bench: the page could not be generated (no default.qvg?)\n");
    return 1;
  }
  const auto bytes = static_cast<size_t>(fs::file_size(page));
  const double generate = MedianSeconds([&] { GeneratePage(survey, data_dir, page); });

  const std::string block(bytes, 'x');
  const std::string plain = dir + "/plain.htm";
  const double write = MedianSeconds([&] {
    FILE* f = std::fopen(plain.c_str(), "wb");
    for (size_t at = 0; at < bytes; at += 4096) {
      std::fwrite(block.data() + at, 1, std::min<size_t>(4096, bytes - at), f);
    }
    std::fclose(f);
  });
  fs::remove_all(dir);

  std::printf("page of %d items, %zu bytes\n", kItems, bytes);
  std::printf("GeneratePage          %8.2f ms\n", generate * 1000);
  std::printf("plain buffered write  %8.2f ms\n", write * 1000);
  std::printf("ratio                 %8.2f (target <= 5)\n", generate / write);
  return 0;
}
