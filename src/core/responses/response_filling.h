// ResponseFilling: how the items of one submission line fill a record of the
// response table. Built once per incorporation from the survey's items and
// the table's fields, so that each line costs only its values.
//
// Fields: REMOTEIP, EMAIL, AGENT and DATERCVD from "RemoteAddr",
// "QVXEMAILADDRESS", "UserAgent" and "DateRec"; then per item, with n the
// item's field name "QVX" + ID:
//   Single Choice, Sliding Scale, Pulldown: n := value of n; with Other,
//     n + "OT" := value of n + "Other".
//   Multiple Choice: n + "_" + j := "Y" when the value of n + "-" + j is
//     exactly "1", else "N"; with Other, n + "OT" := value of n + "Other" and
//     n := "Y" when the value of n is "Other" in any letter case.
//   Text: n := value with "&CR;" as a carriage return, then "&LF;" as a
//     line feed.
//   Numeric: the integer value, or -9999 when it is not an integer, lies
//     outside MinValue..MaxValue or cannot be held by the 5-digit field.
// A field that the table lacks (its question was added or changed after the
// table was made) is left out, so the submission's other answers still land.
//
// Thread-safety: none.
#pragma once

#include <string>
#include <vector>

namespace quorvant {

class SubmissionItems;
class Table;
class TSurvey;

class ResponseFilling {
 public:
  // Registers every name it reads with items.
  ResponseFilling(const TSurvey& survey, const Table& table, SubmissionItems& items);

  // Sets the fields of the table's current record from items. Throws what
  // the table throws (ETableError).
  void Fill(Table& table, const SubmissionItems& items) const;

  int RemoteAddrSlot() const { return remote_slot_; }
  int EmailSlot() const { return email_slot_; }
  int DateRecSlot() const { return date_slot_; }

 private:
  enum class Kind { kCopy, kTicked, kOtherTicked, kText, kNumeric };
  struct Step {
    Kind kind;
    int field;  // position in the table's fields
    int slot;
    int min = 0;
    int max = 0;
  };
  void Add(const Table& table, Kind kind, const std::string& field, int slot, int min = 0,
           int max = 0);

  std::vector<Step> steps_;
  int remote_slot_ = 0;
  int email_slot_ = 0;
  int date_slot_ = 0;
};

}  // namespace quorvant
