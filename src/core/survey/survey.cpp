#include "core/survey/survey.h"

#include <algorithm>

#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/shell/text_helpers.h"
#include "core/shell/vendor.h"

namespace quorvant {

const char kDefaultNotifyMessage[] =
    "\"Dear <FirstName>:\",,\"You have been selected to participate in our web based survey on "
    "<SurveyTitle>.  Please use your web browser to go to (ENTER URL HERE). Thank you for your "
    "support!\",,\"Regards,\",,<SurveyAuthor>";
const char kNeverPublished[] = "This survey has never been published";

namespace {

const char kEscapedBreak[] = "&crlf;";

// Every line break becomes "&crlf;". A CR LF pair counts as one break, and
// so does a lone LF, which is how line breaks arrive from editors here.
std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += kEscapedBreak;
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Unescape(const std::string& text) { return ReplaceAll(text, kEscapedBreak, "\r"); }

}  // namespace

TSurvey::TSurvey(const SettingsStore& settings) : settings_(settings) {
  name_ = "(Untitled)";
  file_name_ = "Survey1.qvx";
  untitled_counter_ = 1;
  ReadDefaults();
  ResetFields();
  notify_message_.clear();
  sr_last_update_.clear();
}

Env& TSurvey::env() const { return settings_.env(); }

void TSurvey::Clear() {
  results_.Clear();
  active_filter_.Clear();
  items_.clear();
  last_id_ = 0;
  name_ = "(Untitled)";
  ++untitled_counter_;
  file_name_ = "Survey" + std::to_string(untitled_counter_) + ".qvx";
  ReadDefaults();
  ResetFields();
}

void TSurvey::ReadDefaults() {
  using namespace settings;
  author_ = settings_.Read(kDefaultAuthor);
  password_ = settings_.Read(kDefaultPassword);
  instructions_ = settings_.Read(kDefaultInstructions);
  final_comments_ = settings_.Read(kDefaultFinalComments);
  display_template_ = settings_.Read(kDefaultDisplayTemplate);
  account_id_ = settings_.Read(kDefaultAccountID);
  server_url_ = settings_.Read(kDefaultServerURL);
  result_url_ = settings_.Read(kDefaultResultURL);
  only1_email_ = settings_.Read(kDefaultOnly1Email);
  only1_ip_ = settings_.Read(kDefaultOnly1IP);
  limit_by_ip_ = settings_.Read(kDefaultLimitByIP);
  ip_addresses_ = settings_.Read(kDefaultIPAddresses);
  check_answers_ = settings_.Read(kDefaultCheckAnswers);
}

void TSurvey::ResetFields() {
  const TDateTime now = env().Now();
  unique_name_ = "S" + FormatCompactStamp(now);
  last_updated_ = now;
  modified_ = false;
  has_file_ = false;
  publish_method_ = 0;
  process_responses_ = 0;
  email_address_.clear();
  notification_file_.clear();
  notify_message_ = kDefaultNotifyMessage;
  all_addresses_ = false;
  attach_survey_ = false;
  incoming_domain_ = false;
  sampling_percent_ = 10;
  domain_.clear();
  server_status_ = "Server not verified";
  email_status_ = "Not sent";
  html_status_ = "HTML file not generated";
  html_last_update_ = 0;
  reg_date_ = 0;
  html_file_name_.clear();
  sr_last_update_ = "Never";
  sr_server_update_ = NeverTime();
  sr_response_count_ = 0;
  sr_response_file_.clear();
  data_file_name_.clear();
  pub_history_ = kNeverPublished;
}

void TSurvey::Touch() {
  last_updated_ = env().Now();
  modified_ = true;
}

int TSurvey::AddItem(const std::string& text, int style, int step, int max, int min,
                     bool include_other, int length, const std::string& options) {
  items_.emplace_back();
  items_.back().ID = ++last_id_;
  UpdateItem(ItemCount() - 1, text, style, step, max, min, include_other, length, options);
  return ItemCount() - 1;
}

int TSurvey::InsertItemAfter(int index, const std::string& text, int style, int step, int max,
                             int min, bool include_other, int length, const std::string& options) {
  const int added = AddItem(text, style, step, max, min, include_other, length, options);
  const int target = std::clamp(index + 1, 0, added);
  MoveItem(added, target);
  return target;
}

void TSurvey::AddLoadedItem(TQuestion item) { items_.push_back(std::move(item)); }

void TSurvey::UpdateItem(int index, const std::string& text, int style, int step, int max, int min,
                         bool include_other, int length, const std::string& options) {
  TQuestion& item = Item(index);
  item.Text = text;
  item.Style = style;
  item.StepValue = step;
  item.MaxValue = max;
  item.MinValue = min;
  item.IncludeOther = include_other;
  item.LengthOfResponse = length;
  item.Options = options;
  Touch();
}

void TSurvey::SetItemRequired(int index, bool required) { Set(Item(index).Required, required); }

void TSurvey::UpdateChartSettings(int index, int chart_type, bool display_legend, int legend_style,
                                  bool display_marks, int marks_style, int rotation) {
  TQuestion& item = Item(index);
  if (item.ChartType == chart_type && item.DisplayLegend == display_legend &&
      item.LegendStyle == legend_style && item.DisplayMarks == display_marks &&
      item.MarksStyle == marks_style && item.Rotation == rotation) {
    return;  // the chart toolbox hands back what it was shown
  }
  item.ChartType = chart_type;
  item.DisplayLegend = display_legend;
  item.LegendStyle = legend_style;
  item.DisplayMarks = display_marks;
  item.MarksStyle = marks_style;
  item.Rotation = rotation;
  Touch();
}

void TSurvey::DeleteItem(int index) {
  items_.erase(items_.begin() + (&Item(index) - items_.data()));
  Touch();
}

bool TSurvey::MoveItem(int from, int to) {
  if (from < 0 || to < 0 || from >= ItemCount() || to >= ItemCount()) return false;
  auto first = items_.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else if (from > to) {
    std::rotate(first + to, first + from, first + from + 1);
  }
  Touch();
  return true;
}

void TSurvey::AddHistory(const std::string& text) {
  const std::string line =
      DateTimeToText(env().Now()).value_or(std::string()) + ": " + text + "\r\n";
  // A saved and reloaded history holds the placeholder with a line break
  // after it; it is still the placeholder, not a first entry to keep.
  if (pub_history_ == kNeverPublished || pub_history_ == std::string(kNeverPublished) + "\r\n") {
    pub_history_ = line;
  } else {
    pub_history_ += line;
  }
  Touch();
}

std::string TSurvey::EffectiveServerURL() const {
  return process_responses_ == 1 ? std::string(vendor::kCollectionServerURL) : server_url_;
}

void TSurvey::SetRegDate(TDateTime v) {
  if (v != 0) AddHistory("Survey registered with server");
  Set(reg_date_, v);
}

std::string TSurvey::SRLastUpdate() const {
  return sr_last_update_.find("Never") != std::string::npos ? "Never" : sr_last_update_;
}

std::string TSurvey::Instructions() const { return Unescape(instructions_); }
void TSurvey::SetInstructions(const std::string& v) { Set(instructions_, Escape(v)); }
std::string TSurvey::FinalComments() const { return Unescape(final_comments_); }
void TSurvey::SetFinalComments(const std::string& v) { Set(final_comments_, Escape(v)); }

}  // namespace quorvant
