// Fuzz target: display templates. The input is a template, optionally
// followed by texts for its markers, each after a byte 0x01. The markers are
// replaced exactly as a plain replacement, one marker after the other, would
// replace them; and any template makes a page from a survey whose texts hold
// markers of their own.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/shell/atomic_file.h"
#include "core/shell/settings_store.h"
#include "core/survey/comma_text.h"
#include "core/survey/question.h"
#include "core/survey/survey.h"
#include "core/webpage/marker_replacement.h"
#include "core/webpage/page_generator.h"
#include "fuzz_helpers.h"

namespace {

constexpr std::string_view kMarkers[] = {"<!--QVXTITLE-->",
                                         "<!--QVXINTRO-->",
                                         "<!--QVXCLOSE-->",
                                         "<!--QVXQUESTIONS-->",
                                         "<!--QVXSURVEYFILE-->",
                                         "<!--QVXRESULTURL-->",
                                         "<!--QVXFORMACTION-->",
                                         "<!--QVXEMAILADDRESS-->",
                                         "<!--QVXACCOUNTID-->",
                                         "<!--NOTICE-->",
                                         "<!--QVX",
                                         "-->"};

// The reference: every step scans the whole text again, going on after each
// replaced marker. It copies the text once per step: replacing in place
// would move the rest of the text for every marker found, which a template
// of many markers makes slow enough to pass for a hang.
std::string PlainReplacement(std::string text, const std::vector<quorvant::MarkerStep>& steps) {
  for (const quorvant::MarkerStep& step : steps) {
    std::string out;
    size_t from = 0;
    for (size_t at = text.find(step.marker); at != std::string::npos;
         at = text.find(step.marker, from)) {
      out.append(text, from, at - from);
      out += step.text;
      from = at + step.marker.size();
    }
    out.append(text, from);
    text = std::move(out);
  }
  return text;
}

void CheckReplacement(std::string_view input) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t end = input.find('\x01', start);
    parts.push_back(input.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  std::vector<quorvant::MarkerStep> steps;
  for (size_t i = 1; i < parts.size() && i <= std::size(kMarkers); ++i) {
    steps.push_back({kMarkers[i - 1], std::string(parts[i])});
  }
  if (quorvant::ReplaceMarkersInOrder(parts[0], steps) !=
      PlainReplacement(std::string(parts[0]), steps)) {
    __builtin_trap();
  }
}

void CheckPage(std::string_view input) {
  const std::string& dir = quorvant::fuzz::ScratchDir();
  static quorvant::SettingsStore settings(dir + "/settings.ini");
  static quorvant::TSurvey* survey = [] {
    auto* s = new quorvant::TSurvey(settings);
    s->Clear();
    s->SetName("Title <!--QVXINTRO--> <!--QVXTITLE-->");
    s->SetUniqueName("S1<!--QVXSURVEYFILE-->");
    s->AddItem("Smoke? <!--QVXQUESTIONS-->", quorvant::kStyleSingleChoice, 0, 0, 0, true, 0,
               quorvant::JoinCommaText({"Yes", "No"}));
    s->AddItem("Section", quorvant::kStyleHeader, 0, 0, 0, false, 0, "");
    s->AddItem("How many?", quorvant::kStyleNumeric, 1, 10, 0, false, 0, "");
    s->AddItem("Why?", quorvant::kStyleText, 0, 0, 0, false, 40, "");
    s->SetDisplayTemplate("t.qvg");
    return s;
  }();
  quorvant::WriteFileAtomically(dir + "/t.qvg", input);
  if (!quorvant::GeneratePage(*survey, dir, dir + "/page.htm")) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckReplacement(input);
  CheckPage(input.substr(0, input.find('\x01')));
  return 0;
}
