// The field-mapping text written beside an exported response table: every
// field's name, type and length and what its values mean for its question.
// Lines end in CR LF.
//
// Thread-safety: pure functions.
#pragma once

#include <string>

namespace quorvant {

class TSurvey;
struct TQuestion;

// The whole text for the export file export_path.
std::string FieldMappingText(const TSurvey& survey, const std::string& export_path);

// The block of one item; empty for a header.
std::string QuestionMapping(const TQuestion& item);

}  // namespace quorvant
