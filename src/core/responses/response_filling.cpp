#include "core/responses/response_filling.h"

#include "core/responses/response_fields.h"
#include "core/responses/result_reply.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"

namespace quorvant {
namespace {

constexpr int kMissingNumber = -9999;
// The widest numbers an N 5 field holds.
constexpr int kFieldMin = -9999;
constexpr int kFieldMax = 99999;

std::string NumericAnswer(const std::string& value, int min, int max) {
  int v = 0;
  if (!ParseInt(value, v) || v < min || v > max || v < kFieldMin || v > kFieldMax) {
    v = kMissingNumber;
  }
  return std::to_string(v);
}

// "&CR;" and "&LF;" back to the characters, in one pass (a replaced
// character never forms a new marker, so the order does not matter).
std::string DecodeLineBreaks(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '&' && value.compare(i, 4, "&CR;") == 0) {
      out += '\r';
      i += 3;
    } else if (value[i] == '&' && value.compare(i, 4, "&LF;") == 0) {
      out += '\n';
      i += 3;
    } else {
      out += value[i];
    }
  }
  return out;
}

}  // namespace

void ResponseFilling::Add(const Table& table, Kind kind, const std::string& field, int slot,
                          int min, int max) {
  const int index = table.FieldIndex(field);
  if (index >= 0) steps_.push_back({kind, index, slot, min, max});
}

ResponseFilling::ResponseFilling(const TSurvey& survey, const Table& table,
                                 SubmissionItems& items) {
  remote_slot_ = items.Slot("RemoteAddr");
  email_slot_ = items.Slot("QVXEMAILADDRESS");
  date_slot_ = items.Slot("DateRec");
  Add(table, Kind::kCopy, "REMOTEIP", remote_slot_);
  Add(table, Kind::kCopy, "EMAIL", email_slot_);
  Add(table, Kind::kCopy, "AGENT", items.Slot("UserAgent"));
  Add(table, Kind::kCopy, "DATERCVD", date_slot_);
  for (const TQuestion& q : survey.Items()) {
    const std::string n = ItemFieldName(q.ID);
    const std::string input = "qvx" + std::to_string(q.ID);
    switch (q.Style) {
      case kStyleSingleChoice:
      case kStyleSlidingScale:
      case kStylePulldown:
        Add(table, Kind::kCopy, n, items.Slot(input));
        if (q.IncludeOther) Add(table, Kind::kCopy, n + "OT", items.Slot(input + "Other"));
        break;
      case kStyleMultipleChoice: {
        const size_t options = q.OptionLines().size();
        for (size_t j = 0; j < options; ++j) {
          const std::string index = std::to_string(j);
          Add(table, Kind::kTicked, n + "_" + index, items.Slot(input + "-" + index));
        }
        if (q.IncludeOther) {
          Add(table, Kind::kCopy, n + "OT", items.Slot(input + "Other"));
          Add(table, Kind::kOtherTicked, n, items.Slot(input));
        }
        break;
      }
      case kStyleText:
        Add(table, Kind::kText, n, items.Slot(input));
        break;
      case kStyleNumeric:
        Add(table, Kind::kNumeric, n, items.Slot(input), q.MinValue, q.MaxValue);
        break;
      default:
        break;
    }
  }
}

void ResponseFilling::Fill(Table& table, const SubmissionItems& items) const {
  for (const Step& step : steps_) {
    const std::string& value = items.Value(step.slot);
    switch (step.kind) {
      case Kind::kCopy:
        table.ReplaceField(step.field, value);
        break;
      case Kind::kTicked:
        table.ReplaceField(step.field, value == "1" ? "Y" : "N");
        break;
      case Kind::kOtherTicked:
        table.ReplaceField(step.field, ToLowerAscii(value) == "other" ? "Y" : "N");
        break;
      case Kind::kText:
        if (value.find('&') == std::string::npos) {
          table.ReplaceField(step.field, value);
        } else {
          table.ReplaceField(step.field, DecodeLineBreaks(value));
        }
        break;
      case Kind::kNumeric:
        table.ReplaceField(step.field, NumericAnswer(value, step.min, step.max));
        break;
    }
  }
}

}  // namespace quorvant
