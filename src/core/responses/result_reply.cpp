#include "core/responses/result_reply.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"

namespace quorvant {
namespace {

constexpr size_t kChunk = 1 << 16;

bool ContainsIgnoringCase(std::string_view text, std::string_view lower_marker) {
  return ToLowerAscii(text).find(lower_marker) != std::string::npos;
}

}  // namespace

ReplyLineReader::ReplyLineReader(const std::string& path)
    : file_(std::fopen(path.c_str(), "rb")), buffer_(kChunk) {
  if (file_ == nullptr) throw std::runtime_error("The result file " + path + " cannot be read.");
}

ReplyLineReader::~ReplyLineReader() { std::fclose(file_); }

bool ReplyLineReader::Fill() {
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  pos_ = 0;
  if (end_ == 0 && std::ferror(file_)) throw std::runtime_error("The result file cannot be read.");
  return end_ > 0;
}

bool ReplyLineReader::Next(std::string& line) {
  line.clear();
  bool any = false;
  while (true) {
    if (pos_ == end_ && !Fill()) return any;
    if (after_cr_) {
      after_cr_ = false;
      if (buffer_[pos_] == '\n') ++pos_;
      continue;
    }
    const char* start = buffer_.data() + pos_;
    const char* limit = buffer_.data() + end_;
    const char* stop = std::find_if(start, limit, [](char c) { return c == '\n' || c == '\r'; });
    line.append(start, stop);
    any = true;
    pos_ = static_cast<size_t>(stop - buffer_.data());
    if (pos_ < end_) {
      after_cr_ = buffer_[pos_] == '\r';
      ++pos_;
      return true;
    }
  }
}

ResultVerification VerifyResultFile(const std::string& path) {
  ResultVerification check{false, "Result information not properly formatted."};
  try {
    ReplyLineReader reader(path);
    std::string line;
    if (!reader.Next(line)) return check;
    check.valid = ContainsIgnoringCase(line, "<data>");
    if (ContainsIgnoringCase(line, "<error>")) {
      check.valid = false;
      std::string message;
      reader.Next(message);
      check.error = "Error: " + message;
    }
  } catch (const std::runtime_error&) {
    check.valid = false;
  }
  return check;
}

bool IsEndOfData(std::string_view line) {
  size_t start = 0;
  while (start < line.size() && static_cast<unsigned char>(line[start]) <= 32) ++start;
  return ToLowerAscii(line.substr(start, 7)) == "</data>";
}

int SubmissionItems::Slot(std::string_view name) {
  const auto [it, added] = slots_.try_emplace(ToLowerAscii(name), static_cast<int>(values_.size()));
  if (added) {
    values_.emplace_back();
    taken_.push_back(0);
    by_position_.clear();  // a name looked up before may be asked for now
  }
  return it->second;
}

// A position whose name has not been looked up yet.
constexpr int kUnknown = -2;

void SubmissionItems::Parse(std::string_view line) {
  for (std::string& v : values_) v.clear();
  std::fill(taken_.begin(), taken_.end(), 0);
  size_t position = 0;
  ForEachCommaItem(line, [this, &position](std::string_view item) {
    const size_t eq = item.find('=');
    if (eq == std::string_view::npos) return;
    const std::string_view name = item.substr(0, eq);
    if (position == by_position_.size()) by_position_.emplace_back(std::string(), kUnknown);
    auto& [known_name, known_slot] = by_position_[position++];
    if (known_slot == kUnknown || !EqualsIgnoreCase(known_name, name)) {
      name_.assign(name);
      for (char& c : name_) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      }
      const auto it = slots_.find(name_);
      known_name = name_;
      known_slot = it == slots_.end() ? -1 : it->second;
    }
    if (known_slot < 0) return;
    const auto slot = static_cast<size_t>(known_slot);
    if (taken_[slot]) return;
    taken_[slot] = 1;
    values_[slot].assign(item.substr(eq + 1));
  });
}

}  // namespace quorvant
