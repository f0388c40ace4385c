#include "core/libraries/question_import.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>
#include <map>

#include "core/libraries/library_files.h"
#include "core/libraries/response_template.h"
#include "core/shell/atomic_file.h"
#include "core/shell/prompts.h"
#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"
#include "core/survey/question.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

constexpr char kIgnoredMark = '\x04';

// The walk over the lines: a question is appended once the next question or
// header line, or the end, shows that its options are complete.
class ImportWalk {
 public:
  ImportWalk(TSurvey& survey, int style, const std::string& data_dir)
      : survey_(survey), style_(style), data_dir_(data_dir), index_(BuildTemplateIndex(data_dir)) {}

  void Take(std::string_view line) {
    switch (ClassifyImportLine(line)) {
      case ImportLineKind::kHeader:
        Flush();
        survey_.AddItem(std::string(line.substr(2)), kStyleHeader, 0, 0, 0, false, 0, "");
        break;
      case ImportLineKind::kQuestion:
        Flush();
        question_ = line;
        break;
      case ImportLineKind::kIgnored:
        break;
      case ImportLineKind::kResponse:
        options_.push_back(TrimControlsView(line));
        break;
      case ImportLineKind::kTemplate:
        AddTemplate(line);
        break;
    }
  }

  void Flush() {
    if (question_.empty()) return;
    survey_.AddItem(question_, style_, 0, 0, 0, false, 0, JoinCommaViews(options_));
    question_.clear();
    options_.clear();
  }

 private:
  void AddTemplate(std::string_view line) {
    const std::string_view name = TrimControlsView(line).substr(1);
    if (!name.empty()) {
      for (const std::string& entry : index_) {
        if (entry.find(name) == std::string::npos) continue;
        const std::vector<std::string>& values = ValuesOf(entry.substr(0, entry.find('|')));
        options_.insert(options_.end(), values.begin(), values.end());
        return;
      }
    }
    options_.push_back(line);
  }

  // A long file names the same few templates again and again; each is read
  // once per import.
  const std::vector<std::string>& ValuesOf(const std::string& file) {
    auto it = values_.find(file);
    if (it == values_.end()) {
      it = values_.emplace(file, ReadResponseTemplate(data_dir_ + file).values).first;
    }
    return it->second;
  }

  TSurvey& survey_;
  const int style_;
  const std::string& data_dir_;
  const std::vector<std::string> index_;
  std::map<std::string, std::vector<std::string>> values_;
  std::string question_;
  // Views into the file's text and the templates' values, which outlive
  // the walk.
  std::vector<std::string_view> options_;
};

}  // namespace

ImportLineKind ClassifyImportLine(std::string_view line) {
  if (line.size() >= 2 && (line[0] == 'H' || line[0] == 'h') && line[1] == ')') {
    return ImportLineKind::kHeader;
  }
  // A tab indents like a blank: editors put one there when the author
  // presses Tab to indent an option.
  const bool indented = !line.empty() && (line[0] == ' ' || line[0] == '\t');
  if (line.empty() || (!indented && line[0] != kIgnoredMark)) return ImportLineKind::kQuestion;
  if (line[0] == kIgnoredMark) return ImportLineKind::kIgnored;
  const std::string_view trimmed = TrimControlsView(line);
  return !trimmed.empty() && trimmed[0] == '-' ? ImportLineKind::kTemplate
                                               : ImportLineKind::kResponse;
}

int ImportStyleForIndex(int index) {
  constexpr int kStyles[] = {kStyleSingleChoice, kStyleMultipleChoice, kStyleSlidingScale,
                             kStylePulldown};
  return index >= 0 && index < 4 ? kStyles[index] : 0;
}

ImportLineReader::ImportLineReader(std::string_view text)
    : text_(text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text),
      cr_(Find('\r', 0)),
      lf_(Find('\n', 0)) {}

size_t ImportLineReader::Find(char c, size_t from) const {
  const void* at =
      from < text_.size() ? std::memchr(text_.data() + from, c, text_.size() - from) : nullptr;
  return at ? static_cast<size_t>(static_cast<const char*>(at) - text_.data())
            : std::string_view::npos;
}

bool ImportLineReader::Next(std::string_view& line) {
  if (start_ >= text_.size()) return false;
  if (cr_ < start_) cr_ = Find('\r', start_);
  if (lf_ < start_) lf_ = Find('\n', start_);
  const size_t end = std::min({cr_, lf_, text_.size()});
  line = text_.substr(start_, end - start_);
  start_ = end + 1;
  if (end < text_.size() && text_[end] == '\r' && start_ < text_.size() && text_[start_] == '\n') {
    ++start_;
  }
  return true;
}

std::vector<std::string> SplitImportLines(std::string_view text) {
  std::vector<std::string> lines;
  ImportLineReader reader(text);
  for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
  return lines;
}

std::vector<std::string> BuildTemplateIndex(const std::string& data_dir) {
  std::vector<std::string> index;
  for (const std::string& path : FilesInDirectoryOrder(data_dir, ".qvt")) {
    index.push_back(std::filesystem::path(path).filename().string() + "|" +
                    ReadResponseTemplate(path).title);
  }
  return index;
}

void ImportQuestionText(TSurvey& survey, std::string_view text, int style,
                        const std::string& data_dir) {
  // Line by line as the text is read: no list of a file's lines.
  ImportWalk walk(survey, style, data_dir);
  ImportLineReader reader(text);
  for (std::string_view line; reader.Next(line);) walk.Take(line);
  walk.Flush();
}

bool ImportQuestionFile(TSurvey& survey, const std::string& path, int style,
                        const std::string& data_dir, Prompts& prompts) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) {
    prompts.ShowError("Error loading file " + path);
    return false;
  }
  try {
    ImportQuestionText(survey, *text, style, data_dir);
  } catch (const std::exception&) {
    prompts.ShowError(
        "An error has occurred during import.  Please ensure that the import file is correctly "
        "formatted.");
    return false;
  }
  prompts.ShowInfo("Import complete!");
  return true;
}

}  // namespace quorvant
