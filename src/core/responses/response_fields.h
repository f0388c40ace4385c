// The field layout of a survey's response table: four fixed fields for the
// submission, then the fields of every question in item order.
//
// Thread-safety: pure functions.
#pragma once

#include <string>
#include <vector>

#include "core/tableengine/field_codec.h"

namespace quorvant {

class TSurvey;

// The four fields of every response table: REMOTEIP C 25, EMAIL C 250,
// AGENT C 250, DATERCVD C 14.
const std::vector<FieldDef>& FixedResponseFields();

// What each of FixedResponseFields() holds, in the same order, as the
// field-mapping text and the exports describe it.
const std::vector<std::string>& FixedResponseFieldDescriptions();

// REMOTEIP C 25, EMAIL C 250, AGENT C 250, DATERCVD C 14, then per item:
// choice styles 1, 3, 5: QVX<id> C 3, and QVX<id>OT C 50 with Other;
// Multiple Choice: QVX<id>_<j> C 1 per option line, then with Other QVX<id>
// C 1 and QVX<id>OT C 50; Text: QVX<id> M 10 for length -1, else C of the
// length as it stands (a length the format cannot hold is left for the
// engine to refuse); Numeric: QVX<id> N 5; headers and other codes nothing.
std::vector<FieldDef> ResponseTableFields(const TSurvey& survey);

// The folder of the survey file (with its "/"), the survey's UniqueName and
// ".dbf".
std::string ResponseTablePath(const TSurvey& survey);

// The field name of an item: "QVX" + ID.
std::string ItemFieldName(int id);

}  // namespace quorvant
