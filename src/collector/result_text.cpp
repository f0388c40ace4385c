#include "collector/result_text.h"

#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"

namespace quorvant::collector {
namespace {

// Line breaks become the markers the reader turns back into breaks. A NUL
// would end the reader's line early, so it is dropped.
std::string OneLine(const std::string& value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (c == '\r') {
      out += "&CR;";
    } else if (c == '\n') {
      out += "&LF;";
    } else if (c != '\0') {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string ResultText(const std::vector<Submission>& submissions) {
  std::string out = "<DATA>\r\n";
  for (const Submission& s : submissions) {
    std::vector<std::string> items = {"RemoteAddr=" + OneLine(s.remote),
                                      "UserAgent=" + OneLine(s.agent), "DateRec=" + s.stamp};
    for (const auto& [name, value] : s.fields) {
      if (name == kSurveyFileField || name == kAccountField || name == kResultUrlField) continue;
      items.push_back(OneLine(name) + "=" + OneLine(value));
    }
    out += JoinCommaText(items);
    out += "\r\n";
  }
  out += "</DATA>\r\n";
  return out;
}

std::string ErrorText(const std::string& message) {
  return "<ERROR>\r\n" + OneLine(message) + "\r\n";
}

}  // namespace quorvant::collector
