#include "core/responses/response_table.h"

#include <cstdio>

#include "core/env/table_error.h"
#include "core/responses/response_fields.h"
#include "core/shell/atomic_file.h"
#include "core/shell/prompts.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"

namespace quorvant {
namespace {

constexpr char kEmailTag[] = "EMAIL";
constexpr char kRemoteIPTag[] = "REMOTEIP";

}  // namespace

TResponseTable::TResponseTable(Prompts& prompts, Table::Options options)
    : prompts_(prompts), options_(options), table_(options) {}

void TResponseTable::TakeOrders() {
  email_order_ = table_.TagOrder(kEmailTag);
  remote_ip_order_ = table_.TagOrder(kRemoteIPTag);
  table_.SetOrder(email_order_);
}

void TResponseTable::Open(const TSurvey& survey) {
  Close();
  table_.Open(survey.SRResponseFile());
  // A copy of the table made without its index file comes without tags.
  if (!table_.ReadOnly()) {
    if (table_.TagOrder(kRemoteIPTag) == 0) table_.AddTag(kRemoteIPTag, "REMOTEIP");
    if (table_.TagOrder(kEmailTag) == 0) table_.AddTag(kEmailTag, "EMAIL");
  }
  TakeOrders();
}

bool TResponseTable::Create(TSurvey& survey) {
  Close();
  const std::string path = ResponseTablePath(survey);
  survey.SetSRResponseFile(path);
  try {
    Table::Create(path, ResponseTableFields(survey), *options_.env);
  } catch (const ETableError&) {
    // A definition the engine refuses, or a file it cannot even start, is a
    // refused creation; a file begun and not completed is a failed one.
    if (!FileExists(path)) {
      prompts_.ShowError("Could not create the database " + path);
      survey.SetSRResponseFile("");
    } else {
      prompts_.ShowError("Failed database creation: " + path);
    }
    return false;
  }
  table_.Open(path);
  table_.AddTag(kRemoteIPTag, "REMOTEIP");
  table_.AddTag(kEmailTag, "EMAIL");
  TakeOrders();
  return true;
}

bool TResponseTable::Ensure(TSurvey& survey) {
  if (!FileExists(survey.SRResponseFile())) return Create(survey);
  Open(survey);
  return true;
}

void TResponseTable::Close() {
  table_.Close();
  email_order_ = remote_ip_order_ = 0;
}

bool ResetLocalResponses(TSurvey& survey, TResponseTable& table, Prompts& prompts) {
  if (!prompts.Confirm("Are you sure you want to reset your local responses?", false)) {
    return false;
  }
  survey.SetSRLastUpdate("Never");
  // Nothing is left to count: no results, no responses received.
  survey.SetSRResponseCount(0);
  survey.Results().Clear();
  try {
    table.Close();
  } catch (const ETableError&) {
    // The files are being deleted; what could not be committed goes with them.
  }
  const std::string& file = survey.SRResponseFile();
  if (!file.empty()) {
    const std::string base = PathWithoutExtension(file);
    for (const std::string& path : {file, base + ".cdx", base + ".fpt"}) {
      if (FileExists(path)) std::remove(path.c_str());
    }
  }
  survey.AddHistory("Response file reset");
  return true;
}

std::optional<int> OpenResponseTableOnLoad(const TSurvey& survey, TResponseTable& table) {
  if (!FileExists(survey.SRResponseFile())) return std::nullopt;
  table.Open(survey);
  return static_cast<int>(table.table().RecCount());
}

bool OpenResponsesOfLoadedSurvey(TSurvey& survey, TResponseTable& table) {
  const std::optional<int> count = OpenResponseTableOnLoad(survey, table);
  // Without a table there is nothing received to count, whatever the file
  // remembers.
  survey.SetLoadedResponseCount(count.value_or(0));
  return count.has_value();
}

}  // namespace quorvant
