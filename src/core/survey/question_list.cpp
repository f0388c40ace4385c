#include "core/survey/question_list.h"

#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"

namespace quorvant {

std::string DetailLineFor(const TQuestion& item) {
  if (item.Style == kStyleText) {
    if (item.LengthOfResponse != -1) {
      return "Text response limited to " + std::to_string(item.LengthOfResponse) + " characters";
    }
    return "Verbose text response";
  }
  if (item.Style == kStyleNumeric) {
    return "Range of " + std::to_string(item.MinValue) + " to " + std::to_string(item.MaxValue) +
           ", step " + std::to_string(item.StepValue);
  }
  if (!IsChoiceStyle(item.Style)) return {};
  // Read in place: the list is rebuilt after every edit, for every item.
  std::string detail = "Response Options: ";
  int j = 0;
  ForEachCommaItem(item.Options, [&](std::string_view option) {
    if (j > 0) detail += ", ";
    const size_t tilde = option.find('~');
    detail += tilde == std::string_view::npos ? option : option.substr(tilde + 1);
    if (j == item.SkipGroupOfResponse) detail += " (skip following group)";
    ++j;
  });
  return detail;
}

QuestionListing RebuildQuestionList(TSurvey& survey) {
  QuestionListing listing;
  listing.lines.reserve(static_cast<size_t>(survey.ItemCount()));
  int q = 0, s = 0, head = -1;
  bool in_group = false;
  for (int i = 0; i < survey.ItemCount(); ++i) {
    TQuestion& item = survey.Item(i);
    QuestionListLine line;
    line.item_index = i;
    if (item.IsHeader()) {
      item.DisplayNumber = std::to_string(q + 1);
      line.is_header = true;
      line.line = item.Text;
      listing.lines.push_back(std::move(line));
      continue;
    }
    if (item.SkipGroupOfQuestion != -1) {
      if (!in_group) {
        head = i - 1;
        in_group = true;
      }
      ++s;
      item.DisplayNumber = std::to_string(q) + LetterFor(s);
      line.in_skip_group = true;
    } else {
      ++q;
      item.DisplayNumber = std::to_string(q);
      if (in_group && head >= 0) survey.Item(head).GroupSize = s + 1;
      in_group = false;
      s = 0;
    }
    line.line = item.DisplayNumber + ") " + item.Text;
    line.detail = DetailLineFor(item);
    listing.lines.push_back(std::move(line));
    listing.analysis_items.push_back(i);
  }
  if (in_group && head >= 0) survey.Item(head).GroupSize = -1;
  return listing;
}

QuestionListing ListWithoutNumbers(const TSurvey& survey) {
  QuestionListing listing;
  listing.lines.reserve(static_cast<size_t>(survey.ItemCount()));
  for (int i = 0; i < survey.ItemCount(); ++i) {
    TQuestion item = survey.Item(i);
    QuestionListLine line;
    line.item_index = i;
    line.is_header = item.IsHeader();
    line.line = item.Text;
    if (!line.is_header) {
      item.SkipGroupOfResponse = -1;
      line.detail = DetailLineFor(item);
      listing.analysis_items.push_back(i);
    }
    listing.lines.push_back(std::move(line));
  }
  return listing;
}

}  // namespace quorvant
