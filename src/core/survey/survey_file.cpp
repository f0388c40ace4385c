// TSurvey::Save, SaveAs and Load: the survey file, a profile file with a
// "Details" section and one "Question n" section per item.
#include <algorithm>
#include <bitset>
#include <iterator>
#include <optional>
#include <string_view>
#include <type_traits>

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
std::string EncodeHistory(const std::string& history) { return JoinCommaText(SplitLines(history)); }

std::string DecodeHistory(const std::string& value) {
  std::string history;
  for (const std::string& line : SplitCommaText("\"" + value + "\"")) history += line + "\r\n";
  return history;
}

// A switch that came after files were in use: written when it is on, or when
// the file holds it already, so that the file of a survey that never used it
// keeps its bytes and older programs see nothing new. Missing, it reads as
// off.
template <typename Profile>
void WriteAddedSwitch(Profile& file, std::string_view section, std::string_view key, bool value) {
  bool held = false;
  if constexpr (std::is_same_v<Profile, ProfileFile>) held = file.HasKey(section, key);
  if (value || held) file.WriteBool(section, key, value);
}

// The keys of an item's section, in the order they are written, each with
// the value the item takes when the key is missing (or, for a number, does
// not hold one).
struct ItemKey {
  enum Kind { kText, kOptions, kInteger, kBool, kAddedBool };
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
constexpr ItemKey AddedBool(std::string_view key, bool TQuestion::*field) {
  return {key, ItemKey::kAddedBool, nullptr, nullptr, field, 0, {}};
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
    AddedBool("Required", &TQuestion::Required),
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
      case ItemKey::kAddedBool:
        WriteAddedSwitch(file, s, k.key, q.*k.flag);
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
    case ItemKey::kAddedBool:
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

// A key of the "Details" section with the member it holds and the value the
// member takes when the key is missing (or, for a number, holds none).
struct DetailKey {
  enum Kind {
    kText,
    kInteger,
    kBool,
    kAddedBool,  // see WriteAddedSwitch
    kItemCount,  // written from the items, read for the loop over their sections
    kStamp,      // a date-time; the first that cannot be converted ends the run of them
    kHistory,    // the history's lines as comma text
  };
  std::string_view key;
  Kind kind;
  std::string TSurvey::*text = nullptr;
  int TSurvey::*integer = nullptr;
  bool TSurvey::*flag = nullptr;
  TDateTime TSurvey::*stamp = nullptr;
  int fallback = 0;
  std::string_view fallback_text;
  // Makes the fallback when it depends on the time of reading.
  std::string (*fresh_fallback)(TDateTime now) = nullptr;
};

std::string FreshUniqueName(TDateTime now) { return "S" + FormatCompactStamp(now); }
std::string NowText(TDateTime now) { return DateTimeToText(now).value_or("0"); }

constexpr DetailKey Text(std::string_view key, std::string TSurvey::*field,
                         std::string_view fallback, std::string (*fresh)(TDateTime now) = nullptr) {
  return {key, DetailKey::kText, field, nullptr, nullptr, nullptr, 0, fallback, fresh};
}
constexpr DetailKey History(std::string_view key, std::string TSurvey::*field) {
  return {key, DetailKey::kHistory, field, nullptr, nullptr, nullptr, 0, "", nullptr};
}
constexpr DetailKey Integer(std::string_view key, int TSurvey::*field, int fallback) {
  return {key, DetailKey::kInteger, nullptr, field, nullptr, nullptr, fallback, {}, nullptr};
}
constexpr DetailKey CountOfItems(std::string_view key) {
  return {key, DetailKey::kItemCount, nullptr, nullptr, nullptr, nullptr, 0, {}, nullptr};
}
constexpr DetailKey Bool(std::string_view key, bool TSurvey::*field, bool fallback) {
  return {key, DetailKey::kBool, nullptr, nullptr, field, nullptr, fallback ? 1 : 0, {}, nullptr};
}
constexpr DetailKey AddedBool(std::string_view key, bool TSurvey::*field) {
  return {key, DetailKey::kAddedBool, nullptr, nullptr, field, nullptr, 0, {}, nullptr};
}
constexpr DetailKey Stamp(std::string_view key, TDateTime TSurvey::*field,
                          std::string_view fallback,
                          std::string (*fresh)(TDateTime now) = nullptr) {
  return {key, DetailKey::kStamp, nullptr, nullptr, nullptr, field, 0, fallback, fresh};
}

}  // namespace

// In the order the keys are written. A nested class, so that the table may
// name the survey's private members.
struct TSurvey::DetailsKeys {
  static constexpr DetailKey kKeys[] = {
      Text("Name", &TSurvey::name_, "N/A"),
      Text("Author", &TSurvey::author_, "N/A"),
      Text("Password", &TSurvey::password_, ""),
      Text("UniqueName", &TSurvey::unique_name_, "", &FreshUniqueName),
      CountOfItems("QuestionCount"),
      Integer("LastID", &TSurvey::last_id_, 0),
      Text("Instructions", &TSurvey::instructions_, ""),
      Text("FinalComments", &TSurvey::final_comments_, ""),
      Integer("PublishMethod", &TSurvey::publish_method_, 0),
      Text("DisplayTemplate", &TSurvey::display_template_, "default.qvg"),
      Integer("ProcessResponses", &TSurvey::process_responses_, 0),
      Text("AccountID", &TSurvey::account_id_, ""),
      Text("ServerURL", &TSurvey::server_url_, ""),
      Text("ResultURL", &TSurvey::result_url_, ""),
      Text("EMailAddress", &TSurvey::email_address_, ""),
      Text("NotificationFile", &TSurvey::notification_file_, ""),
      Text("NotifyMessage", &TSurvey::notify_message_, ""),
      Bool("AllAddresses", &TSurvey::all_addresses_, false),
      Bool("AttachSurvey", &TSurvey::attach_survey_, false),
      Integer("SamplingPercent", &TSurvey::sampling_percent_, 10),
      Bool("IncomingDomain", &TSurvey::incoming_domain_, false),
      Text("Domain", &TSurvey::domain_, ""),
      Bool("Only1Email", &TSurvey::only1_email_, true),
      Bool("Only1IP", &TSurvey::only1_ip_, true),
      Bool("LimitByIP", &TSurvey::limit_by_ip_, false),
      Text("ServerStatus", &TSurvey::server_status_, "Server not verified"),
      Stamp("LastUpdated", &TSurvey::last_updated_, "", &NowText),
      Stamp("HTMLLastUpdate", &TSurvey::html_last_update_, ""),
      Stamp("SRServerUpdate", &TSurvey::sr_server_update_, "06/15/63 06:00:00"),
      Stamp("RegDate", &TSurvey::reg_date_, "0"),
      Text("EMailStatus", &TSurvey::email_status_, "Not sent"),
      Text("HTMLStatus", &TSurvey::html_status_, "HTML file not generated"),
      Text("HTMLFileName", &TSurvey::html_file_name_, ""),
      Text("SRLastUpdate", &TSurvey::sr_last_update_, "Never"),
      Integer("SRResponseCount", &TSurvey::sr_response_count_, 0),
      Text("SRResponseFile", &TSurvey::sr_response_file_, ""),
      Text("DataFileName", &TSurvey::data_file_name_, ""),
      Text("IPAddresses", &TSurvey::ip_addresses_, ""),
      History("PubHistory", &TSurvey::pub_history_),
      // Last, where a save over an older file adds it too.
      AddedBool("CheckAnswers", &TSurvey::check_answers_),
  };

  template <typename Profile>
  static void Write(const TSurvey& s, Profile& file);
  // Sets every member of the table from the section; returns the item count
  // it gives.
  static int Read(TSurvey& s, const ProfileFile::SectionReader& d);
};

template <typename Profile>
void TSurvey::DetailsKeys::Write(const TSurvey& s, Profile& file) {
  // A date-time that cannot be turned into text ends the run of them, and
  // saving goes on with the keys after it.
  bool stamps_ended = false;
  for (const DetailKey& k : kKeys) {
    switch (k.kind) {
      case DetailKey::kText:
        file.WriteString(kDetails, k.key, s.*k.text);
        break;
      case DetailKey::kInteger:
        file.WriteInteger(kDetails, k.key, s.*k.integer);
        break;
      case DetailKey::kBool:
        file.WriteBool(kDetails, k.key, s.*k.flag);
        break;
      case DetailKey::kAddedBool:
        WriteAddedSwitch(file, kDetails, k.key, s.*k.flag);
        break;
      case DetailKey::kItemCount:
        file.WriteInteger(kDetails, k.key, s.ItemCount());
        break;
      case DetailKey::kStamp: {
        const std::optional<std::string> text =
            stamps_ended ? std::nullopt : DateTimeToText(s.*k.stamp);
        stamps_ended = !text;
        if (text) file.WriteRawString(kDetails, k.key, *text);
        break;
      }
      case DetailKey::kHistory:
        file.WriteRawString(kDetails, k.key, EncodeHistory(s.*k.text));
        break;
    }
  }
}

int TSurvey::DetailsKeys::Read(TSurvey& s, const ProfileFile::SectionReader& d) {
  int item_count = 0;
  bool stamps_ended = false;
  for (const DetailKey& k : kKeys) {
    const std::string fresh =
        k.fresh_fallback != nullptr ? k.fresh_fallback(s.env().Now()) : std::string();
    const std::string_view fallback = k.fresh_fallback != nullptr ? fresh : k.fallback_text;
    switch (k.kind) {
      case DetailKey::kText:
        s.*k.text = d.ReadString(k.key, fallback);
        break;
      case DetailKey::kInteger:
        s.*k.integer = d.ReadInteger(k.key, k.fallback);
        break;
      case DetailKey::kBool:
      case DetailKey::kAddedBool:
        s.*k.flag = d.ReadBool(k.key, k.fallback != 0);
        break;
      case DetailKey::kItemCount:
        item_count = d.ReadInteger(k.key, k.fallback);
        break;
      case DetailKey::kStamp: {
        if (stamps_ended) break;
        const std::optional<TDateTime> value = TextToDateTime(d.ReadString(k.key, fallback));
        if (value) {
          s.*k.stamp = *value;
          break;
        }
        // The first text that does not convert ends the run: the survey was
        // changed now and is not registered; the later date-times stay as
        // the cleared survey had them.
        stamps_ended = true;
        s.last_updated_ = s.env().Now();
        s.reg_date_ = 0;
        break;
      }
      case DetailKey::kHistory:
        s.*k.text = DecodeHistory(d.ReadString(k.key, fallback));
        break;
    }
  }
  return item_count;
}

template <typename Profile>
void TSurvey::WriteKeys(Profile& file) const {
  DetailsKeys::Write(*this, file);
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

  const int count = DetailsKeys::Read(*this, file.ReadSection(kDetails));
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
