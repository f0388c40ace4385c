// An initialisation ("profile") file held in memory: named sections of
// "key=value" lines. Survey files, question libraries, response templates and
// the settings store all use this format.
//
// Reading rules: section names and keys are matched without regard to ASCII
// letter case, the first match wins; a value is returned with leading and
// trailing blanks removed and one enclosing pair of double or single quotes
// taken off. Integers are decimal or "0x"/"0X" hexadecimal (32 bits); a value
// that is not a number gives the default. Booleans are numbers, non-zero true.
//
// Writing rules: a key is replaced where it stands, else added after the last
// line of its section; a missing section is added at the end. Every other line
// (comments, stale sections, unknown keys) is kept as it was. WriteString()
// encloses a value in one extra pair of double quotes when the reading rules
// would otherwise change it (leading or trailing blanks, an enclosing quote
// pair), so every value written reads back unchanged. Line breaks inside a
// value would split the line, so they are written as blanks.
//
// Values have no length limit. Lines end in CR LF when written; LF alone is
// accepted when read.
//
// Thread-safety: none; a ProfileFile is a value owned by one user at a time.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvant {

// Raised by Save() with the text "Unable to write to " + the file's path.
class EProfileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ProfileFile {
 public:
  ProfileFile() = default;

  static ProfileFile Parse(std::string_view text);

  // The file at path; an empty profile when it does not exist or cannot be
  // read (it is then created by Save()).
  static ProfileFile LoadOrEmpty(const std::string& path);

  bool HasSection(std::string_view section) const;
  bool HasKey(std::string_view section, std::string_view key) const;

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;
  int ReadInteger(std::string_view section, std::string_view key, int default_value) const;
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;

  // The keys of the section in file order, duplicates included.
  std::vector<std::string> KeysOf(std::string_view section) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Writes the value as given, without the protecting quote pair.
  void WriteRawString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Removes the section's header and lines (the first one of that name).
  void EraseSection(std::string_view section);

  // The whole file as text, CR LF line ends.
  std::string ToText() const;

  // Replaces the file at path atomically with ToText(). Throws
  // EProfileWriteError ("Unable to write to " + path) and leaves the old file
  // untouched when it cannot.
  void Save(const std::string& path) const;

  // Parses a number by the reading rules; false when it is not one.
  static bool ParseProfileInteger(std::string_view text, int& value);

 private:
  struct Line {
    std::string text;     // the line as it stands in the file, without its line end
    std::string lower_key;  // key in lower case; empty for lines that hold no key
  };
  struct Section {
    std::string lower_name;  // empty for the lines before the first section
    std::vector<Line> lines;  // lines[0] is the "[name]" line of a named section
    std::unordered_map<std::string, size_t> first_key;  // lower key -> index in lines
  };

  const Section* FindSection(std::string_view section) const;
  const Line* FindLine(std::string_view section, std::string_view key) const;
  void AddLine(Section& section, std::string text);
  void Reindex(Section& section);

  std::vector<Section> sections_;  // sections_[0] holds the lines before any section
  std::unordered_map<std::string, size_t> first_section_;
};

}  // namespace quorvant
