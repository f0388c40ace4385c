// The results of one compute: per choice question a count for each option
// line and for its Other answer, per Numeric question its statistics and
// grouped counts. Readers find a question's entries by its ID.
//
// Ownership: TResultsList owns its entries and frees them when it is
// rebuilt, cleared or destroyed; a TNumericResults owns its groups. Readers
// must not keep pointers to entries across a compute.
// Thread-safety: none; the list belongs to its survey.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvant {

struct TBaseResults {
  explicit TBaseResults(int question_id) : QuestionID(question_id) {}
  virtual ~TBaseResults() = default;
  int QuestionID;
};

// One counted category: an option line, the Other answer, or a numeric group.
struct TCountResults : TBaseResults {
  TCountResults(int question_id, int index, std::string label, int64_t low = 0, int64_t high = 0)
      : TBaseResults(question_id), Label(std::move(label)), Index(index), Low(low), High(high) {}
  std::string Label;
  int Index;  // the option's 0-based position; for Other, the number of option lines
  int Count = 0;
  int64_t Low;  // a numeric group's bounds; 0 for option entries
  int64_t High;
};

// One Numeric question. Lowest starts at kNoLowest, which also says that no
// valid value has been seen; Highest starts at 0 and takes the first valid
// value, then every larger one. Median and Mode are kept for readers but no
// compute fills them.
struct TNumericResults : TBaseResults {
  static constexpr double kNoLowest = -100000;
  explicit TNumericResults(int question_id) : TBaseResults(question_id) {}
  double Total = 0;
  double Count = 0;
  double Average = 0;
  double Median = 0;
  double Mode = 0;
  double Highest = 0;
  double Lowest = kNoLowest;
  std::vector<TCountResults> Groups;
};

class TResultsList {
 public:
  TResultsList() = default;
  TResultsList(const TResultsList&) = delete;
  TResultsList& operator=(const TResultsList&) = delete;
  TResultsList(TResultsList&&) = default;
  TResultsList& operator=(TResultsList&&) = default;

  void Clear() {
    entries_.clear();
    answered_.clear();
    records_counted_ = 0;
    filter_set_aside_ = false;
  }
  bool Empty() const { return entries_.empty(); }
  // Appends an entry; returns it.
  template <typename T>
  T& Add(std::unique_ptr<T> entry) {
    T& added = *entry;
    entries_.push_back(std::move(entry));
    return added;
  }
  const std::vector<std::unique_ptr<TBaseResults>>& Entries() const { return entries_; }

  // The number of records the last compute counted.
  uint32_t RecordsCounted() const { return records_counted_; }
  void SetRecordsCounted(uint32_t n) { records_counted_ = n; }

  // Of the records counted, those that gave the question an answer that
  // counted somewhere (an option, Other, a valid number); the rest left it
  // unanswered. 0 for a question the compute did not count.
  uint32_t AnsweredOf(int question_id) const;
  void SetAnswered(int question_id, uint32_t n);

  // True when the last compute counted every record because no record met
  // the analysis filter or the table could not evaluate it: whatever lists
  // answers must then set the filter aside too.
  bool FilterSetAside() const { return filter_set_aside_; }
  void SetFilterSetAside(bool set_aside) { filter_set_aside_ = set_aside; }

  // The count entries with this QuestionID, in list order.
  std::vector<TCountResults*> CountsOf(int question_id) const;
  // The first numeric entry with this QuestionID; nullptr when there is none.
  TNumericResults* NumericOf(int question_id) const;

 private:
  std::vector<std::unique_ptr<TBaseResults>> entries_;
  std::vector<std::pair<int, uint32_t>> answered_;  // by question ID
  uint32_t records_counted_ = 0;
  bool filter_set_aside_ = false;
};

}  // namespace quorvant
