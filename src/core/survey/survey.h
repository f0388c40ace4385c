// TSurvey: the survey document. It owns its items and holds the survey's
// texts, publishing and collection settings and status record.
//
// Every setter stores the value, stamps LastUpdated with now and marks the
// survey modified, with the exceptions the setters note. New and cleared
// surveys take the author's defaults from the "Defaults" section of the
// settings store given at construction, which must outlive the survey.
//
// Item identifiers are handed out from LastID: they start at 1, rise by one
// per added item and are never reused or renumbered.
//
// Thread-safety: none; a survey belongs to the window or tool that made it.
#pragma once

#include <string>
#include <vector>

#include "core/analysis/filter_list.h"
#include "core/analysis/results.h"
#include "core/env/replace_file.h"
#include "core/shell/date_time.h"
#include "core/survey/question.h"

namespace quorvant {

class SettingsStore;

class TSurvey {
 public:
  // A new untitled survey: "(Untitled)", file name "Survey1.qvx".
  explicit TSurvey(const SettingsStore& settings);

  // The files and clock the survey works with: its settings store's.
  Env& env() const;

  // Resets to a new untitled survey named "Survey" + the next counter + ".qvx",
  // with an empty results list and no filter conditions.
  void Clear();

  // ---- Items (zero-based positions) ----
  int ItemCount() const { return static_cast<int>(items_.size()); }
  TQuestion& Item(int index) { return items_.at(static_cast<size_t>(index)); }
  const TQuestion& Item(int index) const { return items_.at(static_cast<size_t>(index)); }
  const std::vector<TQuestion>& Items() const { return items_; }

  // Appends a new item with the next ID; returns its index.
  int AddItem(const std::string& text, int style, int step, int max, int min, bool include_other,
              int length, const std::string& options);
  // Adds a new item with the next ID right after index; returns its index.
  int InsertItemAfter(int index, const std::string& text, int style, int step, int max, int min,
                      bool include_other, int length, const std::string& options);
  // Appends an item exactly as given; LastID, Modified and LastUpdated stay.
  void AddLoadedItem(TQuestion item);
  // Overwrites text, style, step, max, min, include-other, length and options.
  void UpdateItem(int index, const std::string& text, int style, int step, int max, int min,
                  bool include_other, int length, const std::string& options);
  // Marks the item as one the page demands an answer to, or not; a change
  // only when it differs.
  void SetItemRequired(int index, bool required);
  // Stores the chart settings of one item; the survey counts as changed only
  // when one of them differs from what the item holds.
  void UpdateChartSettings(int index, int chart_type, bool display_legend, int legend_style,
                           bool display_marks, int marks_style, int rotation);
  void DeleteItem(int index);
  // False, changing nothing, when either index is outside the list.
  bool MoveItem(int from, int to);

  // ---- Files (survey_file.cpp) ----
  // Writes the survey to FileName(). Throws ESurveyException
  // ("Unable to write to " + file name) and leaves the file as it was and
  // the survey modified when it cannot. The file is on disk when it returns,
  // unless durability says otherwise.
  void Save(WriteDurability durability = WriteDurability::kDurable);
  // Sets FileName (marking the survey modified) and saves.
  void SaveAs(const std::string& path, WriteDurability durability = WriteDurability::kDurable);
  // Reads a survey file into this survey, which must be cleared. Throws
  // ESurveyException with the message to show.
  void Load(const std::string& path);

  // ---- Analysis (run-time only, never saved) ----
  // The counts of the last compute (see ComputeResults).
  TResultsList& Results() { return results_; }
  const TResultsList& Results() const { return results_; }
  // The conditions that restrict the analysis.
  TFilterList& ActiveFilter() { return active_filter_; }
  const TFilterList& ActiveFilter() const { return active_filter_; }

  // Appends "stamp: text" and a line break to the publication history.
  void AddHistory(const std::string& text);

  // The collection program's address: the vendor's when ProcessResponses is
  // 1, else ServerURL.
  std::string EffectiveServerURL() const;

  // ---- Properties ----
  const std::string& Name() const { return name_; }
  void SetName(const std::string& v) { Set(name_, v); }
  const std::string& FileName() const { return file_name_; }
  void SetFileName(const std::string& v) { Set(file_name_, v); }
  const std::string& Author() const { return author_; }
  void SetAuthor(const std::string& v) { Set(author_, v); }
  const std::string& Password() const { return password_; }
  void SetPassword(const std::string& v) { Set(password_, v); }
  const std::string& UniqueName() const { return unique_name_; }
  void SetUniqueName(const std::string& v) { Set(unique_name_, v); }
  int PublishMethod() const { return publish_method_; }
  void SetPublishMethod(int v) { Set(publish_method_, v); }
  const std::string& DisplayTemplate() const { return display_template_; }
  void SetDisplayTemplate(const std::string& v) { Set(display_template_, v); }
  int ProcessResponses() const { return process_responses_; }
  void SetProcessResponses(int v) { Set(process_responses_, v); }
  const std::string& AccountID() const { return account_id_; }
  void SetAccountID(const std::string& v) { Set(account_id_, v); }
  const std::string& ServerURL() const { return server_url_; }
  void SetServerURL(const std::string& v) { Set(server_url_, v); }
  const std::string& ResultURL() const { return result_url_; }
  void SetResultURL(const std::string& v) { Set(result_url_, v); }
  const std::string& EMailAddress() const { return email_address_; }
  void SetEMailAddress(const std::string& v) { Set(email_address_, v); }
  const std::string& NotificationFile() const { return notification_file_; }
  void SetNotificationFile(const std::string& v) { Set(notification_file_, v); }
  const std::string& NotifyMessage() const { return notify_message_; }  // comma text
  void SetNotifyMessage(const std::string& v) { Set(notify_message_, v); }
  bool AllAddresses() const { return all_addresses_; }
  void SetAllAddresses(bool v) { Set(all_addresses_, v); }
  bool AttachSurvey() const { return attach_survey_; }
  void SetAttachSurvey(bool v) { Set(attach_survey_, v); }
  int SamplingPercent() const { return sampling_percent_; }
  void SetSamplingPercent(int v) { Set(sampling_percent_, v); }
  bool IncomingDomain() const { return incoming_domain_; }
  void SetIncomingDomain(bool v) { Set(incoming_domain_, v); }
  const std::string& Domain() const { return domain_; }
  void SetDomain(const std::string& v) { Set(domain_, v); }
  bool Only1Email() const { return only1_email_; }
  void SetOnly1Email(bool v) { Set(only1_email_, v); }
  bool Only1IP() const { return only1_ip_; }
  void SetOnly1IP(bool v) { Set(only1_ip_, v); }
  bool LimitByIP() const { return limit_by_ip_; }
  void SetLimitByIP(bool v) { Set(limit_by_ip_, v); }
  // The page lets the respondent's browser refuse answers that cannot be
  // counted (numbers out of range or not whole).
  bool CheckAnswers() const { return check_answers_; }
  void SetCheckAnswers(bool v) { Set(check_answers_, v); }
  const std::string& ServerStatus() const { return server_status_; }
  void SetServerStatus(const std::string& v) { Set(server_status_, v); }
  TDateTime LastUpdated() const { return last_updated_; }
  // Stores v as the time of the last change (no stamping with now).
  void SetLastUpdated(TDateTime v) {
    last_updated_ = v;
    modified_ = true;
  }
  const std::string& EMailStatus() const { return email_status_; }
  void SetEMailStatus(const std::string& v) { Set(email_status_, v); }
  const std::string& HTMLStatus() const { return html_status_; }
  void SetHTMLStatus(const std::string& v) { Set(html_status_, v); }
  TDateTime HTMLLastUpdate() const { return html_last_update_; }
  // Marks the survey modified but leaves LastUpdated alone.
  void SetHTMLLastUpdate(TDateTime v) {
    html_last_update_ = v;
    modified_ = true;
  }
  TDateTime RegDate() const { return reg_date_; }
  // A non-zero date first adds "Survey registered with server" to the history.
  void SetRegDate(TDateTime v);
  const std::string& HTMLFileName() const { return html_file_name_; }
  void SetHTMLFileName(const std::string& v) { Set(html_file_name_, v); }
  // "Never" whenever the stored text contains "Never".
  std::string SRLastUpdate() const;
  void SetSRLastUpdate(const std::string& v) { Set(sr_last_update_, v); }
  TDateTime SRServerUpdate() const { return sr_server_update_; }
  void SetSRServerUpdate(TDateTime v) { Set(sr_server_update_, v); }
  int SRResponseCount() const { return sr_response_count_; }
  void SetSRResponseCount(int v) { Set(sr_response_count_, v); }
  // For the survey load path only: takes the record count of the response
  // table just opened without stamping LastUpdated or marking the survey
  // modified, since loading changes nothing the author made.
  void SetLoadedResponseCount(int v) { sr_response_count_ = v; }
  const std::string& SRResponseFile() const { return sr_response_file_; }
  void SetSRResponseFile(const std::string& v) { Set(sr_response_file_, v); }
  const std::string& IPAddresses() const { return ip_addresses_; }  // comma text
  void SetIPAddresses(const std::string& v) { Set(ip_addresses_, v); }
  const std::string& PubHistory() const { return pub_history_; }
  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }
  int LastID() const { return last_id_; }
  // Unescaped: every "&crlf;" comes back as one carriage return.
  std::string Instructions() const;
  // Stores the escaped form: line feeds removed, carriage returns as "&crlf;".
  void SetInstructions(const std::string& v);
  std::string FinalComments() const;
  void SetFinalComments(const std::string& v);
  // The escaped forms as held and stored in the file.
  const std::string& InstructionsEscaped() const { return instructions_; }
  const std::string& FinalCommentsEscaped() const { return final_comments_; }
  int UntitledCounter() const { return untitled_counter_; }
  bool HasFile() const { return has_file_; }
  const std::string& DataFileName() const { return data_file_name_; }
  void SetDataFileName(const std::string& v) { Set(data_file_name_, v); }

  // Layout switches of the display template, set by page generation.
  bool IncludeGotos = false;
  bool BoldQuestions = false;
  bool QStyle2 = false;

 private:
  // Writes every key of the file into `file`, a ProfileFile or a
  // ProfileAppender (survey_file.cpp).
  template <typename Profile>
  void WriteKeys(Profile& file) const;
  // The keys of the "Details" section tied to the members they hold, which
  // both the writer and the reader walk (survey_file.cpp).
  struct DetailsKeys;
  // Only a value that differs is a change: the windows hand back what they
  // show, often unchanged, and looking must not make the survey modified.
  template <typename T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Touch();
  }
  void Touch();  // LastUpdated = now, Modified = true
  void ReadDefaults();
  void ResetFields();

  const SettingsStore& settings_;
  std::vector<TQuestion> items_;
  TResultsList results_;
  TFilterList active_filter_;

  std::string name_;
  std::string file_name_;
  std::string author_;
  std::string password_;
  std::string unique_name_;
  int publish_method_ = 0;
  std::string display_template_;
  int process_responses_ = 0;
  std::string account_id_;
  std::string server_url_;
  std::string result_url_;
  std::string email_address_;
  std::string notification_file_;
  std::string notify_message_;
  bool all_addresses_ = false;
  bool attach_survey_ = false;
  int sampling_percent_ = 10;
  bool incoming_domain_ = false;
  std::string domain_;
  bool only1_email_ = false;
  bool only1_ip_ = false;
  bool limit_by_ip_ = false;
  bool check_answers_ = false;
  std::string server_status_;
  TDateTime last_updated_ = 0;
  std::string email_status_;
  std::string html_status_;
  TDateTime html_last_update_ = 0;
  TDateTime reg_date_ = 0;
  std::string html_file_name_;
  std::string sr_last_update_;
  TDateTime sr_server_update_ = 0;
  int sr_response_count_ = 0;
  std::string sr_response_file_;
  std::string ip_addresses_;
  std::string pub_history_;
  bool modified_ = false;
  int last_id_ = 0;
  std::string instructions_;
  std::string final_comments_;
  int untitled_counter_ = 1;
  bool has_file_ = false;
  std::string data_file_name_;
};

// The default invitation message, as comma text.
extern const char kDefaultNotifyMessage[];
extern const char kNeverPublished[];  // "This survey has never been published"

}  // namespace quorvant
