// One item of a survey: a question in one of six response styles, or a
// header. A plain record: the survey's operations, the editing commands, the
// question list and the page generator read and write its fields directly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

// Item style codes as stored in survey files.
enum QuestionStyle : int {
  kStyleSingleChoice = 1,
  kStyleMultipleChoice = 2,
  kStyleSlidingScale = 3,
  kStyleText = 4,
  kStylePulldown = 5,
  kStyleNumeric = 6,
  kStyleHeader = 7,
};

// True for the styles whose answer is chosen from option lines (1, 2, 3, 5).
bool IsChoiceStyle(int style);

struct TQuestion {
  std::string Text;
  int Style = kStyleText;
  std::string Options;       // option lines as comma text
  int LengthOfResponse = 0;  // Text questions: maximum length, -1 for verbose
  int ID = 0;
  bool IncludeOther = false;
  int MinValue = 0;
  int MaxValue = 0;
  bool Selected = false;      // run-time only
  std::string DisplayNumber;  // run-time only: "3", "3a"; a header's next number
  int StepValue = 0;
  int ChartType = 1;
  bool DisplayLegend = true;
  int LegendStyle = 1;
  bool DisplayMarks = true;
  int MarksStyle = 0;
  int Rotation = 0;
  int SkipGroupOfQuestion = -1;  // a member's head ID, else -1
  int SkipGroupOfResponse = -1;  // a head's skipping option index, else -1
  int GroupSize = -1;            // run-time only: on a head, members + 1; -1 to the end
  bool Required = false;         // the page demands an answer; never set on headers

  bool IsHeader() const { return Style == kStyleHeader; }
  // The option lines decoded from Options.
  std::vector<std::string> OptionLines() const;
  void SetOptionLines(const std::vector<std::string>& lines);
};

// The option lines typed into an editor's box, one per line. Blanks and tabs
// at a line's end are dropped: nobody sees them while typing, yet they would
// stand in the page, the charts and the exports. A final line break makes no
// empty last line.
std::vector<std::string> OptionLinesFromText(std::string_view text);

}  // namespace quorvant
