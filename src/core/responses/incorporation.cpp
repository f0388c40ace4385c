#include "core/responses/incorporation.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "core/env/table_error.h"
#include "core/responses/response_filling.h"
#include "core/responses/response_table.h"
#include "core/responses/result_reply.h"
#include "core/shell/atomic_file.h"
#include "core/shell/date_time.h"
#include "core/shell/prompts.h"
#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "core/survey/survey_exception.h"
#include "core/tableengine/table.h"

namespace quorvant {
namespace {

constexpr char kStampField[] = "DATERCVD";

bool IsStamp(std::string_view text) {
  return text.size() == 14 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Brings "Never" (or nothing yet) or an older stamp up to newest.
void AdvanceLastUpdate(TSurvey& survey, const std::string& newest) {
  if (newest.empty()) return;
  const std::string current = survey.SRLastUpdate();
  if (current == "Never" || current.empty() || (IsStamp(current) && current < newest)) {
    survey.SetSRLastUpdate(newest);
  }
}

// One pass over the submission lines of a reply.
class SubmissionRun {
 public:
  // last_stamp follows the stamp of every submission taken, also when a
  // later one fails.
  SubmissionRun(TSurvey& survey, TResponseTable& table, TAddResponseResult& result,
                std::string& last_stamp)
      : survey_(survey),
        table_(table),
        t_(table.table()),
        result_(result),
        filling_(survey, t_, items_),
        limits_(SplitCommaText(survey.IPAddresses())),
        newest_held_(NewestStampHeld(t_)),
        remote_width_(FieldWidth("REMOTEIP")),
        email_width_(FieldWidth("EMAIL")),
        last_stamp_(last_stamp) {}

  const std::string& NewestHeld() const { return newest_held_; }

  void ReadAll(ReplyLineReader& reader) {
    std::string line;
    while (reader.Next(line)) {
      if (IsEndOfData(line)) break;
      items_.Parse(line);
      Take(items_.Value(filling_.DateRecSlot()));
    }
  }

 private:
  size_t FieldWidth(const char* name) const {
    const int index = t_.FieldIndex(name);
    return index < 0 ? 0 : static_cast<size_t>(t_.Fields()[static_cast<size_t>(index)].width);
  }

  void Take(const std::string& stamp) {
    if (!newest_held_.empty() && IsStamp(stamp) && stamp <= newest_held_) {
      ++result_.AlreadyHeld;
      return;
    }
    if (Eliminated()) {
      ++result_.Eliminated;
    } else {
      t_.AppendBlank();
      ++result_.Added;
      try {
        filling_.Fill(t_, items_);
      } catch (const ETableError&) {
        // A value the record cannot take ends this submission's filling
        // only; the record stays with what was set.
      }
    }
    if (!stamp.empty()) last_stamp_ = stamp;
  }

  // A key is stored cut to its field's width, so the value is cut alike
  // before it is looked up.
  bool Held(int order, const std::string& value, size_t width) {
    t_.SetOrder(order);
    return t_.Seek(Utf8Prefix(value, width), SeekMode::kExact);
  }

  bool Eliminated() {
    const std::string& address = items_.Value(filling_.RemoteAddrSlot());
    if (survey_.LimitByIP() &&
        std::none_of(limits_.begin(), limits_.end(), [&](const std::string& entry) {
          return !entry.empty() && address.find(entry) != std::string::npos;
        })) {
      return true;
    }
    if (survey_.Only1IP() && Held(table_.RemoteIPOrder(), address, remote_width_)) return true;
    return survey_.Only1Email() &&
           Held(table_.EmailOrder(), items_.Value(filling_.EmailSlot()), email_width_);
  }

  TSurvey& survey_;
  TResponseTable& table_;
  Table& t_;
  TAddResponseResult& result_;
  SubmissionItems items_;
  const ResponseFilling filling_;
  const std::vector<std::string> limits_;
  const std::string newest_held_;
  const size_t remote_width_;
  const size_t email_width_;
  std::string& last_stamp_;
};

void SaveSurvey(TSurvey& survey, Prompts& prompts) {
  if (!survey.HasFile()) return;
  try {
    survey.Save();
  } catch (const ESurveyException& e) {
    prompts.ShowError(e.what());
  }
}

}  // namespace

void Incorporate(TSurvey& survey, const std::string& result_file, TAddResponseResult& result,
                 Prompts& prompts, TResponseTable& table,
                 const ComputeResultsHook& compute_results) {
  std::string last_stamp;
  try {
    if (table.Ensure(survey)) {
      Table& t = table.table();
      ReplyLineReader reader(result_file);
      std::string first;
      reader.Next(first);
      if (first.find("<ERROR>") != std::string::npos) {
        std::string message;
        reader.Next(message);
        prompts.ShowError("The following error occurred during update: " + message);
      } else {
        SubmissionRun run(survey, table, result, last_stamp);
        AdvanceLastUpdate(survey, run.NewestHeld());
        run.ReadAll(reader);
      }
      t.Commit();
      if (!last_stamp.empty()) survey.SetSRLastUpdate(last_stamp);
      survey.SetSRServerUpdate(survey.env().Now());
      survey.SetSRResponseCount(static_cast<int>(t.RecCount()));
      result.Total = survey.SRResponseCount();
      if (survey.SRResponseCount() > 0) {
        if (compute_results) compute_results(survey, table);
        survey.AddHistory("Added " + std::to_string(result.Added) + " responses.");
      }
      result.Completed = true;
    }
  } catch (const std::exception&) {
    result.Completed = false;
    // What was appended is kept only together with the stamp that says so.
    try {
      if (table.IsOpen()) table.table().Commit();
      if (!last_stamp.empty()) survey.SetSRLastUpdate(last_stamp);
    } catch (const std::exception&) {
      // The table stays at its last commit and the survey's stamp with it.
    }
  }
  SaveSurvey(survey, prompts);
}

std::string NewestStampHeld(Table& table) {
  if (table.FieldIndex(kStampField) < 0) return {};
  for (uint32_t recno = table.RecCount(); recno >= 1; --recno) {
    table.GoTo(recno);
    const std::string stamp(TrimBlanks(table.Get(kStampField)));
    if (IsStamp(stamp)) return stamp;
  }
  return {};
}

void CatchUpLastUpdate(TSurvey& survey, TResponseTable& table) {
  if (!table.IsOpen()) {
    if (!FileExists(survey.SRResponseFile())) return;
    table.Open(survey);
  }
  AdvanceLastUpdate(survey, NewestStampHeld(table.table()));
}

}  // namespace quorvant
