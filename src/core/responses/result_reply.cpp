#include "core/responses/result_reply.h"

#include <algorithm>
#include <cstdint>
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

// The same for a name in any letter case.
size_t NameHash(std::string_view name) {
  uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (char c : name) h = (h ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
  return static_cast<size_t>(h ^ h >> 29);
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

int SubmissionItems::Find(std::string_view name) const {
  if (buckets_.empty()) return -1;
  const size_t mask = buckets_.size() - 1;
  for (size_t i = NameHash(name) & mask;; i = (i + 1) & mask) {
    const Bucket& b = buckets_[i];
    if (b.slot < 0) return -1;
    if (EqualsIgnoreCase(b.name, name)) return b.slot;
  }
}

void SubmissionItems::Grow() {
  std::vector<Bucket> old = std::move(buckets_);
  buckets_.assign(std::max<size_t>(16, old.size() * 2), Bucket{});
  const size_t mask = buckets_.size() - 1;
  for (Bucket& b : old) {
    if (b.slot < 0) continue;
    size_t i = NameHash(b.name) & mask;
    while (buckets_[i].slot >= 0) i = (i + 1) & mask;
    buckets_[i] = std::move(b);
  }
}

int SubmissionItems::Slot(std::string_view name) {
  if (const int found = Find(name); found >= 0) return found;
  if (2 * (values_.size() + 1) > buckets_.size()) Grow();
  const size_t mask = buckets_.size() - 1;
  size_t i = NameHash(name) & mask;
  while (buckets_[i].slot >= 0) i = (i + 1) & mask;
  buckets_[i] = {ToLowerAscii(name), static_cast<int>(values_.size())};
  values_.emplace_back();
  taken_.push_back(0);
  return buckets_[i].slot;
}

void SubmissionItems::Parse(std::string_view line) {
  for (std::string& v : values_) v.clear();
  std::fill(taken_.begin(), taken_.end(), 0);
  CommaItemReader reader(line);
  std::string_view item;
  while (reader.Next(item)) {
    const size_t eq = item.find('=');
    if (eq == std::string_view::npos) continue;
    const int slot = Find(item.substr(0, eq));
    if (slot < 0 || taken_[static_cast<size_t>(slot)]) continue;
    taken_[static_cast<size_t>(slot)] = 1;
    values_[static_cast<size_t>(slot)].assign(item.substr(eq + 1));
  }
}

}  // namespace quorvant
