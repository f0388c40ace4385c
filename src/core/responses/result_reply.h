// Reading the collection server's reply to a results request: the reply's
// lines, the check of its first line, and the named items of one submission
// line.
//
// A reply is "<DATA>", one comma-text line per submission, "</DATA>", or
// "<ERROR>" and a message line. Lines end with CR LF; a lone CR or LF ends a
// line too. Nothing here limits a line's length or trusts its content.
//
// Thread-safety: none; one reader or parser per thread.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

// Reads a file line by line without the line ends.
class ReplyLineReader {
 public:
  // Throws std::runtime_error when the file cannot be opened.
  explicit ReplyLineReader(const std::string& path);
  ~ReplyLineReader();
  ReplyLineReader(const ReplyLineReader&) = delete;
  ReplyLineReader& operator=(const ReplyLineReader&) = delete;

  // The next line; false at the end of the file. Throws std::runtime_error
  // when reading fails.
  bool Next(std::string& line);

 private:
  bool Fill();

  std::FILE* file_;
  std::vector<char> buffer_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool after_cr_ = false;  // the last line ended at a CR: skip an LF that follows
};

// The check of a reply's first line before it is incorporated.
struct ResultVerification {
  bool valid = false;
  std::string error;  // the error text when not valid
};

// Valid when the first line contains "<DATA>" (any letter case); a first
// line containing "<ERROR>" makes it invalid with "Error: " + the second
// line; anything else, an unreadable file included, is "Result information
// not properly formatted.".
ResultVerification VerifyResultFile(const std::string& path);

// True for the line that ends the data: its text, trimmed of blanks and
// control characters and in upper case, starts with "</DATA>". Submission
// lines start with their first item's name, so an answer that holds
// "</DATA>" never ends the data early.
bool IsEndOfData(std::string_view line);

// The values of the names an incorporation asks for, taken from one
// submission line. Names compare without regard to letter case; when a name
// occurs twice the first item counts; an absent name reads as empty.
class SubmissionItems {
 public:
  // Registers a name and returns its slot; the same name gives the same slot.
  int Slot(std::string_view name);
  // Splits the line as comma text and takes each item's name (the text
  // before its first "=") and value (everything after it). Items without
  // "=" name nothing.
  void Parse(std::string_view line);
  const std::string& Value(int slot) const { return values_[static_cast<size_t>(slot)]; }

 private:
  // The slot of a name, without regard to letter case; -1 when it was
  // never registered.
  int Find(std::string_view name) const;
  void Grow();

  // Registered names, lower case, in an open-addressed table (a power of
  // two in size, at most half full) that is probed with the item's name as
  // it stands, so that a lookup neither copies nor allocates.
  struct Bucket {
    std::string name;
    int slot = -1;
  };
  std::vector<Bucket> buckets_;
  std::vector<std::string> values_;
  std::vector<char> taken_;
};

}  // namespace quorvant
