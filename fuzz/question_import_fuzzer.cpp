// Fuzz target: question import from a text file. Any text splits into lines
// and imports without a crash; the survey gets at most one item per line,
// each header or question line of the text becomes at most one item, and
// every option list reads back as the lines it was made of (up to a NUL).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/libraries/question_import.h"
#include "core/shell/settings_store.h"
#include "core/survey/comma_text.h"
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
  quorvant::ImportQuestionLines(survey, lines, style,
                                quorvant::fuzz::ScratchDir() + "/no-templates/");
  if (static_cast<size_t>(survey.ItemCount()) > items_possible) __builtin_trap();
  for (const quorvant::TQuestion& q : survey.Items()) {
    // Comma text ends at a NUL character, so a line holding one reads back
    // cut there, as every comma text does.
    if (q.Options.find('\0') != std::string::npos) continue;
    if (quorvant::JoinCommaText(q.OptionLines()) != q.Options) __builtin_trap();
  }
  return 0;
}
