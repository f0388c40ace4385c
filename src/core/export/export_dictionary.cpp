#include "core/export/export_dictionary.h"

#include <unordered_map>

#include "core/responses/response_fields.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

const char* StyleName(int style) {
  switch (style) {
    case kStyleSingleChoice:
      return "Single Select";
    case kStyleMultipleChoice:
      return "Multiple Select";
    case kStyleSlidingScale:
      return "Sliding Scale";
    case kStyleText:
      return "Free Form Text";
    case kStylePulldown:
      return "Pull Down List";
    case kStyleNumeric:
      return "Numeric Value";
    default:
      return "";
  }
}

class Builder {
 public:
  explicit Builder(const std::vector<FieldDef>& fields) : fields_(fields) {
    for (size_t i = 0; i < fields.size(); ++i) where_.emplace(fields[i].name, i);
  }

  ExportVariable& Add(const std::string& name, std::string label, VariableKind kind,
                      const char* type_name) {
    ExportVariable v;
    v.name = name;
    v.label = std::move(label);
    v.kind = kind;
    v.type_name = type_name;
    if (const auto found = where_.find(name); found != where_.end()) {
      const FieldDef& f = fields_[found->second];
      v.field = static_cast<int>(found->second);
      v.offset = f.offset;
      v.width = f.width;
      v.memo = f.type == 'M';
      if (!v.memo) v.text_bytes = static_cast<size_t>(f.width);
    }
    dictionary_.variables.push_back(std::move(v));
    return dictionary_.variables.back();
  }

  void Choice(const TQuestion& q, const std::string& name) {
    ExportVariable& v = Add(name, q.Text, VariableKind::kCode, StyleName(q.Style));
    const std::vector<std::string> lines = q.OptionLines();
    for (size_t k = 0; k < lines.size(); ++k) {
      v.value_labels.push_back({static_cast<int>(k), TextAfterTilde(lines[k])});
    }
    if (q.IncludeOther) {
      v.other_code = static_cast<int>(lines.size());
      v.value_labels.push_back({v.other_code, "Other"});
      OtherText(q, name);
    }
  }

  void Ticks(const TQuestion& q, const std::string& name) {
    const std::vector<std::string> lines = q.OptionLines();
    for (size_t k = 0; k < lines.size(); ++k) {
      Tick(q, name + "_" + std::to_string(k), TextAfterTilde(lines[k]));
    }
    if (q.IncludeOther) {
      Tick(q, name, "Other");
      OtherText(q, name);
    }
  }

  VariableDictionary Take() { return std::move(dictionary_); }

 private:
  void Tick(const TQuestion& q, const std::string& name, const std::string& option) {
    ExportVariable& v =
        Add(name, q.Text + ": " + option, VariableKind::kTick, StyleName(kStyleMultipleChoice));
    v.value_labels = {{0, kNotSelectedLabel}, {1, kSelectedLabel}};
  }

  void OtherText(const TQuestion& q, const std::string& name) {
    Add(name + "OT", q.Text + ": Other", VariableKind::kText, StyleName(q.Style));
  }

  const std::vector<FieldDef>& fields_;
  std::unordered_map<std::string, size_t> where_;
  VariableDictionary dictionary_;
};

}  // namespace

bool VariableDictionary::HasMemo() const {
  for (const ExportVariable& v : variables) {
    if (v.memo && v.kind == VariableKind::kText) return true;
  }
  return false;
}

VariableDictionary BuildVariableDictionary(const TSurvey& survey,
                                           const std::vector<FieldDef>& fields) {
  Builder builder(fields);
  const std::vector<FieldDef>& fixed = FixedResponseFields();
  const std::vector<std::string>& descriptions = FixedResponseFieldDescriptions();
  for (size_t i = 0; i < fixed.size(); ++i) {
    const bool stamp = fixed[i].name == "DATERCVD";
    builder.Add(fixed[i].name, stamp ? "Date and time the response was received" : descriptions[i],
                stamp ? VariableKind::kDateTime : VariableKind::kText, stamp ? "Date-time" : "Text");
  }
  for (const TQuestion& q : survey.Items()) {
    const std::string name = ItemFieldName(q.ID);
    switch (q.Style) {
      case kStyleSingleChoice:
      case kStyleSlidingScale:
      case kStylePulldown:
        builder.Choice(q, name);
        break;
      case kStyleMultipleChoice:
        builder.Ticks(q, name);
        break;
      case kStyleText:
        builder.Add(name, q.Text, VariableKind::kText, StyleName(q.Style));
        break;
      case kStyleNumeric:
        builder.Add(name, q.Text, VariableKind::kNumber, StyleName(q.Style));
        break;
      default:
        break;
    }
  }
  return builder.Take();
}

const std::string* ValueLabelOf(const ExportVariable& variable, double value) {
  const std::vector<ValueLabel>& labels = variable.value_labels;
  if (!(value >= 0 && value < static_cast<double>(labels.size()))) return nullptr;
  const ValueLabel& l = labels[static_cast<size_t>(value)];
  return l.value == value ? &l.label : nullptr;
}

std::string ValueLabelsText(const ExportVariable& variable) {
  if (variable.kind == VariableKind::kNumber) return "-9999 = missing";
  std::string text;
  for (const ValueLabel& l : variable.value_labels) {
    if (!text.empty()) text += "; ";
    text += std::to_string(l.value) + " = " + l.label;
  }
  return text;
}

}  // namespace quorvant
