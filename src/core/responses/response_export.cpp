#include "core/responses/response_export.h"

#include <stdexcept>

#include "core/responses/field_mapping.h"
#include "core/shell/atomic_file.h"
#include "core/shell/prompts.h"
#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"

namespace quorvant {

std::string ExportTableName(const std::string& chosen) {
  const size_t slash = chosen.find_last_of('/');
  const size_t dot = chosen.find_last_of('.');
  const bool has_ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (has_ext && EqualsIgnoreCase(std::string_view(chosen).substr(dot), ".dbf")) return chosen;
  return chosen + ".dbf";
}

std::string MappingFileName(const std::string& export_name) {
  return Table::SiblingPath(export_name, ".txt");
}

std::string ExportInfoText(const std::string& export_name) {
  return "The responses for this survey have been generated and saved in the dBase file named " +
         export_name + ".  A text file " + "containing field mapping information will now be " +
         "generated.";
}

std::string ExportWrittenText(const std::string& export_name) {
  return "The responses were written to " + export_name + " and their field mapping to " +
         MappingFileName(export_name) + ".";
}

namespace {

void WriteMapping(const TSurvey& survey, const std::string& export_name) {
  const std::string path = MappingFileName(export_name);
  if (!WriteFileAtomically(path, FieldMappingText(survey, export_name))) {
    throw std::runtime_error("Unable to write to " + path);
  }
}

}  // namespace

void WriteResponseExport(const TSurvey& survey, Table& table, const std::string& export_name) {
  table.CopyTo(export_name);
  WriteMapping(survey, export_name);
}

void ExportResponses(const TSurvey& survey, Table& table, const std::string& chosen,
                     Prompts& prompts, const std::function<void(const std::string&)>& open_text) {
  const std::string name = ExportTableName(chosen);
  table.CopyTo(name);
  prompts.ShowInfo(ExportInfoText(name));
  WriteMapping(survey, name);
  prompts.ShowInfo(ExportWrittenText(name));
  open_text(MappingFileName(name));
}

}  // namespace quorvant
