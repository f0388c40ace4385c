// Fuzz target: question import from a text file. Any text splits into lines
// and imports without a crash; the survey gets at most one item per line,
// each header or question line of the text becomes at most one item, and
// no option list holds more options than the text has lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/libraries/question_import.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "fuzz_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quorvant::SettingsStore settings(quorvant::fuzz::ScratchDir() + "/settings.ini");
  if (size == 0) return 0;
  // The first byte chooses the style, as the import dialog's four entries do.
  const int style = quorvant::ImportStyleForIndex(data[0] % 4);
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::vector<std::string> lines = quorvant::SplitImportLines(text);
  size_t items_possible = 0;
  for (const std::string& line : lines) {
    const auto kind = quorvant::ClassifyImportLine(line);
    if (kind == quorvant::ImportLineKind::kHeader || kind == quorvant::ImportLineKind::kQuestion) {
      ++items_possible;
    }
  }
  quorvant::TSurvey survey(settings);
  quorvant::ImportQuestionText(survey, text, style,
                               quorvant::fuzz::ScratchDir() + "/no-templates/");
  if (static_cast<size_t>(survey.ItemCount()) > items_possible) __builtin_trap();
  for (const quorvant::TQuestion& q : survey.Items()) {
    // Each option comes from a line of its own (comma text drops a last
    // empty option and ends at a NUL, so only the count is certain).
    if (q.OptionLines().size() > lines.size()) __builtin_trap();
  }
  return 0;
}
