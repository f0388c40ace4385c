// TSurvey::Save, SaveAs and Load: the survey file, a profile file with a
// "Details" section and one "Question n" section per item.
#include <algorithm>
#include <bitset>
#include <iterator>
#include <optional>
#include <string_view>

#include "core/shell/atomic_file.h"
#include "core/shell/profile_appender.h"
#include "core/shell/profile_file.h"
#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"
#include "core/survey/survey.h"
#include "core/survey/survey_exception.h"

namespace quorvant {
namespace {

constexpr char kDetails[] = "Details";

std::string QuestionSection(size_t position) { return "Question " + std::to_string(position); }

// The history is written as comma text of its lines. Its lines hold blanks,
// so the value is enclosed in quotes, which the reading rules take off.
std::string EncodeHistory(const std::string& history) {
  return JoinCommaText(SplitLines(history));
}

std::string DecodeHistory(const std::string& value) {
  std::string history;
  for (const std::string& line : SplitCommaText("\"" + value + "\"")) history += line + "\r\n";
  return history;
}

// The keys of an item's section, in the order they are written, each with
// the value the item takes when the key is missing (or, for a number, does
// not hold one).
struct ItemKey {
  enum Kind { kText, kOptions, kInteger, kBool };
  std::string_view key;
  Kind kind;
  std::string TQuestion::*text = nullptr;
  int TQuestion::*integer = nullptr;
  bool TQuestion::*flag = nullptr;
  int fallback = 0;
  std::string_view fallback_text;
};

constexpr ItemKey Text(std::string_view key, std::string TQuestion::*field, ItemKey::Kind kind,
                       std::string_view fallback) {
  return {key, kind, field, nullptr, nullptr, 0, fallback};
}
constexpr ItemKey Integer(std::string_view key, int TQuestion::*field, int fallback) {
  return {key, ItemKey::kInteger, nullptr, field, nullptr, fallback, {}};
}
constexpr ItemKey Bool(std::string_view key, bool TQuestion::*field, bool fallback) {
  return {key, ItemKey::kBool, nullptr, nullptr, field, fallback ? 1 : 0, {}};
}

constexpr ItemKey kItemKeys[] = {
    Text("Text", &TQuestion::Text, ItemKey::kText, "N/A"),
    Integer("Style", &TQuestion::Style, kStyleText),
    Text("Options", &TQuestion::Options, ItemKey::kOptions, ""),
    Integer("LengthOfResponse", &TQuestion::LengthOfResponse, 0),
    Integer("ID", &TQuestion::ID, -1),
    Bool("IncludeOther", &TQuestion::IncludeOther, true),
    Integer("MinValue", &TQuestion::MinValue, -1),
    Integer("MaxValue", &TQuestion::MaxValue, -1),
    Integer("StepValue", &TQuestion::StepValue, 1),
    Integer("ChartType", &TQuestion::ChartType, 1),
    Bool("DisplayLegend", &TQuestion::DisplayLegend, true),
    Integer("LegendStyle", &TQuestion::LegendStyle, 1),
    Bool("DisplayMarks", &TQuestion::DisplayMarks, true),
    Integer("MarksStyle", &TQuestion::MarksStyle, 0),
    Integer("Rotation", &TQuestion::Rotation, 0),
    Integer("SkipGroupOfQuestion", &TQuestion::SkipGroupOfQuestion, -1),
    Integer("SkipGroupOfResponse", &TQuestion::SkipGroupOfResponse, -1),
};
constexpr size_t kItemKeyCount = std::size(kItemKeys);

template <typename Profile>
void WriteQuestion(Profile& file, size_t position, const TQuestion& q) {
  const std::string s = QuestionSection(position);
  for (const ItemKey& k : kItemKeys) {
    switch (k.kind) {
      case ItemKey::kText:
        file.WriteString(s, k.key, q.*k.text);
        break;
      case ItemKey::kOptions:
        file.WriteString(s, k.key, BarsFromCommaText(q.*k.text));
        break;
      case ItemKey::kInteger:
        file.WriteInteger(s, k.key, q.*k.integer);
        break;
      case ItemKey::kBool:
        file.WriteBool(s, k.key, q.*k.flag);
        break;
    }
  }
}

// The index in kItemKeys of a key (any letter case), looked for from
// `first` on, since files list the keys in the order they are written; the
// count of keys when it is none of them.
size_t FindItemKey(std::string_view key, size_t first) {
  for (size_t n = 0; n < kItemKeyCount; ++n) {
    const size_t i = (first + n) % kItemKeyCount;
    if (key.size() == kItemKeys[i].key.size() && EqualsIgnoreCase(key, kItemKeys[i].key)) return i;
  }
  return kItemKeyCount;
}

// Sets the field of key k from the value read, or to the key's fallback when
// there is none (or, for a number, the value holds none).
void SetField(TQuestion& q, const ItemKey& k, std::optional<std::string_view> value) {
  int number = k.fallback;
  const bool is_number = value && ProfileFile::ParseProfileInteger(*value, number);
  switch (k.kind) {
    case ItemKey::kText:
      q.*k.text = value.value_or(k.fallback_text);
      break;
    case ItemKey::kOptions:
      q.*k.text = CommaTextFromBars(value.value_or(k.fallback_text));
      break;
    case ItemKey::kInteger:
      q.*k.integer = is_number ? number : k.fallback;
      break;
    case ItemKey::kBool:
      q.*k.flag = (is_number ? number : k.fallback) != 0;
      break;
  }
}

// One pass over the item's section; only the first line of a key counts, as
// for any profile lookup.
TQuestion ReadQuestion(const ProfileFile& file, size_t position) {
  TQuestion q;
  std::bitset<kItemKeyCount> seen;
  size_t next = 0;
  file.ReadSection(QuestionSection(position))
      .ForEachValue([&](std::string_view key, std::string_view value) {
        const size_t i = FindItemKey(key, next);
        if (i == kItemKeyCount) return;
        next = i + 1;
        if (!seen[i]) SetField(q, kItemKeys[i], value);
        seen[i] = true;
      });
  for (size_t i = 0; i < kItemKeyCount; ++i) {
    if (!seen[i]) SetField(q, kItemKeys[i], std::nullopt);
  }
  return q;
}

}  // namespace

template <typename Profile>
void TSurvey::WriteKeys(Profile& file) const {
  const char* d = kDetails;
  file.WriteString(d, "Name", name_);
  file.WriteString(d, "Author", author_);
  file.WriteString(d, "Password", password_);
  file.WriteString(d, "UniqueName", unique_name_);
  file.WriteInteger(d, "QuestionCount", ItemCount());
  file.WriteInteger(d, "LastID", last_id_);
  file.WriteString(d, "Instructions", instructions_);
  file.WriteString(d, "FinalComments", final_comments_);
  file.WriteInteger(d, "PublishMethod", publish_method_);
  file.WriteString(d, "DisplayTemplate", display_template_);
  file.WriteInteger(d, "ProcessResponses", process_responses_);
  file.WriteString(d, "AccountID", account_id_);
  file.WriteString(d, "ServerURL", server_url_);
  file.WriteString(d, "ResultURL", result_url_);
  file.WriteString(d, "EMailAddress", email_address_);
  file.WriteString(d, "NotificationFile", notification_file_);
  file.WriteString(d, "NotifyMessage", notify_message_);
  file.WriteBool(d, "AllAddresses", all_addresses_);
  file.WriteBool(d, "AttachSurvey", attach_survey_);
  file.WriteInteger(d, "SamplingPercent", sampling_percent_);
  file.WriteBool(d, "IncomingDomain", incoming_domain_);
  file.WriteString(d, "Domain", domain_);
  file.WriteBool(d, "Only1Email", only1_email_);
  file.WriteBool(d, "Only1IP", only1_ip_);
  file.WriteBool(d, "LimitByIP", limit_by_ip_);
  file.WriteString(d, "ServerStatus", server_status_);
  // The four date-times: one that cannot be turned into text ends the block,
  // and saving goes on with the keys after it.
  const std::pair<const char*, TDateTime> stamps[] = {{"LastUpdated", last_updated_},
                                                      {"HTMLLastUpdate", html_last_update_},
                                                      {"SRServerUpdate", sr_server_update_},
                                                      {"RegDate", reg_date_}};
  for (const auto& [key, value] : stamps) {
    const std::optional<std::string> text = DateTimeToText(value);
    if (!text) break;
    file.WriteRawString(d, key, *text);
  }
  file.WriteString(d, "EMailStatus", email_status_);
  file.WriteString(d, "HTMLStatus", html_status_);
  file.WriteString(d, "HTMLFileName", html_file_name_);
  file.WriteString(d, "SRLastUpdate", sr_last_update_);
  file.WriteInteger(d, "SRResponseCount", sr_response_count_);
  file.WriteString(d, "SRResponseFile", sr_response_file_);
  file.WriteString(d, "DataFileName", data_file_name_);
  file.WriteString(d, "IPAddresses", ip_addresses_);
  file.WriteRawString(d, "PubHistory", EncodeHistory(pub_history_));
  for (size_t p = 0; p < items_.size(); ++p) WriteQuestion(file, p + 1, items_[p]);
}

void TSurvey::Save(WriteDurability durability) {
  try {
    // A file that is there keeps its other lines (comments, keys of other
    // programs); a new one is written straight out.
    if (std::optional<std::string> text = ReadWholeFile(file_name_); text && !text->empty()) {
      ProfileFile file = ProfileFile::Parse(std::move(*text));
      WriteKeys(file);
      file.Save(file_name_, durability, env());
    } else {
      // Each item's section holds some 300 bytes besides its texts.
      size_t expected = 4096;
      for (const TQuestion& q : items_) expected += 320 + q.Text.size() + q.Options.size();
      ProfileAppender file(expected);
      WriteKeys(file);
      file.Save(file_name_, durability, env());
    }
  } catch (const EProfileWriteError& e) {
    throw ESurveyException(e.what());
  }
  has_file_ = true;
  last_updated_ = env().Now();
  modified_ = false;
}

void TSurvey::SaveAs(const std::string& path, WriteDurability durability) {
  SetFileName(path);
  Save(durability);
}

void TSurvey::Load(const std::string& path) {
  if (!FileExists(path)) throw ESurveyException("Could not find file " + path);
  std::optional<std::string> text = ReadWholeFile(path);
  // An unreadable file must not pass for an empty survey that a later save
  // would write over it.
  if (!text) throw ESurveyException("Could not read file " + path);
  const ProfileFile file = ProfileFile::Parse(std::move(*text));
  file_name_ = path;

  const ProfileFile::SectionReader d = file.ReadSection(kDetails);
  name_ = d.ReadString("Name", "N/A");
  author_ = d.ReadString("Author", "N/A");
  password_ = d.ReadString("Password", "");
  unique_name_ = d.ReadString("UniqueName", "S" + FormatCompactStamp(env().Now()));
  last_id_ = d.ReadInteger("LastID", 0);
  instructions_ = d.ReadString("Instructions", "");
  final_comments_ = d.ReadString("FinalComments", "");
  publish_method_ = d.ReadInteger("PublishMethod", 0);
  display_template_ = d.ReadString("DisplayTemplate", "default.qvg");
  process_responses_ = d.ReadInteger("ProcessResponses", 0);
  account_id_ = d.ReadString("AccountID", "");
  server_url_ = d.ReadString("ServerURL", "");
  result_url_ = d.ReadString("ResultURL", "");
  email_address_ = d.ReadString("EMailAddress", "");
  notification_file_ = d.ReadString("NotificationFile", "");
  notify_message_ = d.ReadString("NotifyMessage", "");
  all_addresses_ = d.ReadBool("AllAddresses", false);
  attach_survey_ = d.ReadBool("AttachSurvey", false);
  sampling_percent_ = d.ReadInteger("SamplingPercent", 10);
  incoming_domain_ = d.ReadBool("IncomingDomain", false);
  domain_ = d.ReadString("Domain", "");
  only1_email_ = d.ReadBool("Only1Email", true);
  only1_ip_ = d.ReadBool("Only1IP", true);
  limit_by_ip_ = d.ReadBool("LimitByIP", false);
  server_status_ = d.ReadString("ServerStatus", "Server not verified");

  // The four date-times, in order; the first text that does not convert ends
  // the block, leaving the rest as the cleared survey had them.
  const std::string now_text = DateTimeToText(env().Now()).value_or("0");
  const std::pair<const char*, std::string> stamps[] = {
      {"LastUpdated", now_text}, {"HTMLLastUpdate", ""},
      {"SRServerUpdate", "06/15/63 06:00:00"}, {"RegDate", "0"}};
  TDateTime* const fields[] = {&last_updated_, &html_last_update_, &sr_server_update_, &reg_date_};
  for (size_t i = 0; i < 4; ++i) {
    const std::optional<TDateTime> value =
        TextToDateTime(d.ReadString(stamps[i].first, stamps[i].second));
    if (!value) {
      last_updated_ = env().Now();
      reg_date_ = 0;
      break;
    }
    *fields[i] = *value;
  }

  email_status_ = d.ReadString("EMailStatus", "Not sent");
  html_status_ = d.ReadString("HTMLStatus", "HTML file not generated");
  html_file_name_ = d.ReadString("HTMLFileName", "");
  sr_last_update_ = d.ReadString("SRLastUpdate", "Never");
  sr_response_count_ = d.ReadInteger("SRResponseCount", 0);
  sr_response_file_ = d.ReadString("SRResponseFile", "");
  data_file_name_ = d.ReadString("DataFileName", "");
  ip_addresses_ = d.ReadString("IPAddresses", "");
  pub_history_ = DecodeHistory(d.ReadString("PubHistory", ""));

  const int count = d.ReadInteger("QuestionCount", 0);
  // Room for the items at once; a count beyond the file's sections is a lie
  // that ends at the first missing item.
  if (count > 0) {
    items_.reserve(items_.size() + std::min(static_cast<size_t>(count), file.SectionCount()));
  }
  for (long long n = 1; n <= count; ++n) {
    TQuestion item = ReadQuestion(file, static_cast<size_t>(n));
    if (item.ID == -1) {
      throw ESurveyException("Error reading file " + path + ". File incorrectly formatted.");
    }
    AddLoadedItem(std::move(item));
  }

  has_file_ = true;
  last_updated_ = env().Now();
  modified_ = false;
}

}  // namespace quorvant
