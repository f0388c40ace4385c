#include "core/publishing/reminder_selection.h"

#include <cassert>

#include "core/env/table_error.h"
#include "core/shell/atomic_file.h"
#include "core/shell/text_helpers.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"

namespace quorvant {
namespace {

int EmailField(Table& table) {
  const int index = table.FieldIndex("EMAIL");
  if (index < 0) {
    throw ETableError(ETableError::Code::kUsage,
                      "The table " + table.path() + " has no field EMAIL");
  }
  return index;
}

// Collects the address keys of a whole-table pass.
class AddressCollector : public RecordVisitor {
 public:
  AddressCollector(int field, std::unordered_set<std::string>& keys) : field_(field), keys_(keys) {}

  void Visit(std::string_view, RecordSource& source) override {
    std::string key = AddressKey(source.RawField(field_));
    if (!key.empty()) keys_.insert(std::move(key));
  }

 private:
  int field_;
  std::unordered_set<std::string>& keys_;
};

}  // namespace

std::string AddressKey(std::string_view address) { return ToLowerAscii(TrimControlsView(address)); }

std::unordered_set<std::string> AnsweredAddresses(Table& responses) {
  assert(responses.IsOpen());
  std::unordered_set<std::string> keys;
  AddressCollector collector(EmailField(responses), keys);
  responses.SetQuery("");
  responses.ScanQuery(collector);
  return keys;
}

std::vector<uint32_t> NotAnsweredRecords(Table& list, const std::vector<uint32_t>& records,
                                         const std::unordered_set<std::string>& answered) {
  assert(list.IsOpen());
  EmailField(list);
  std::vector<uint32_t> out;
  for (uint32_t recno : records) {
    list.GoTo(recno);
    const std::string key = AddressKey(list.Get("EMAIL"));
    if (key.empty() || !answered.contains(key)) out.push_back(recno);
  }
  return out;
}

std::string ReminderObstacle(const TSurvey& survey) {
  if (!survey.Only1Email()) {
    return "Reminders need the respondents' e-mail addresses, and the survey's page does not ask "
           "for them. Check \"Allow only 1 survey response from each e-mail address\" on the "
           "Security page of Survey Properties, publish the page again and download the "
           "responses. Reminders were not sent.";
  }
  if (survey.SRResponseFile().empty() || !FileExists(survey.SRResponseFile())) {
    return "No responses of this survey have been downloaded yet, so it is not known who has "
           "answered. Download the responses first (Update Now), or send the invitations to the "
           "list. Reminders were not sent.";
  }
  return "";
}

std::vector<uint32_t> SelectNotAnswered(const TSurvey& survey, Table& list,
                                        const std::vector<uint32_t>& records) {
  Table responses(Table::Options{.env = &survey.env()});
  responses.Open(survey.SRResponseFile());
  const std::unordered_set<std::string> answered = AnsweredAddresses(responses);
  responses.Close();
  return NotAnsweredRecords(list, records, answered);
}

}  // namespace quorvant
