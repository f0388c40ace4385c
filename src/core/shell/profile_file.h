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

#include <cstdint>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/env/replace_file.h"

namespace quorvant {

// Raised by Save() with the text "Unable to write to " + the file's path.
class EProfileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ProfileFile {
  struct Line;
  struct Section;

 public:
  // Reads the keys of one section, found once: a reader of many keys of the
  // same section (a survey's items) does not look the section up per key.
  // Valid until the file is next changed; reads as ProfileFile's own do.
  class SectionReader {
   public:
    bool HasKey(std::string_view key) const;
    std::string ReadString(std::string_view key, std::string_view default_value) const;
    int ReadInteger(std::string_view key, int default_value) const;
    bool ReadBool(std::string_view key, bool default_value) const;
    // Hands every key of the section with its value (as ReadString gives
    // it) to `visit(key, value)`, in file order, repeated keys included: the
    // first of them is the one the Read functions find. For a reader of many
    // keys, one pass instead of one lookup per key.
    template <typename Visit>
    void ForEachValue(Visit&& visit) const {
      if (section_ == nullptr) return;
      for (const Line& line : section_->lines) {
        if (line.key_length != 0) visit(line.Key(), ValueOf(line.Text()));
      }
    }

   private:
    friend class ProfileFile;
    explicit SectionReader(const Section* section) : section_(section) {}
    const Line* Find(std::string_view key) const;
    const Section* section_;  // null when the file has no such section
  };

  ProfileFile() = default;
  // A copy gets texts of its own, so that it outlives the original.
  ProfileFile(const ProfileFile& other);
  ProfileFile& operator=(const ProfileFile& other);
  ProfileFile(ProfileFile&&) = default;
  ProfileFile& operator=(ProfileFile&&) = default;

  static ProfileFile Parse(std::string text);

  // The file at path; an empty profile when it does not exist or cannot be
  // read (it is then created by Save()).
  static ProfileFile LoadOrEmpty(const std::string& path);

  bool HasSection(std::string_view section) const;
  // The number of "[name]" lines.
  size_t SectionCount() const { return sections_.empty() ? 0 : sections_.size() - 1; }
  SectionReader ReadSection(std::string_view section) const;
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
  void Save(const std::string& path, WriteDurability durability = WriteDurability::kDurable,
            Env& env = DefaultEnv()) const;

  // Parses a number by the reading rules; false when it is not one.
  static bool ParseProfileInteger(std::string_view text, int& value);

 private:
  // A line as it stands in the file, without its line end. Its text lies in
  // the file's own storage: lines read from the file point into the text
  // read, lines written since into a text of their own, so that reading a
  // file makes no copy per line. A line keeps the position and a fingerprint
  // of its key, so lookups pass other keys over without comparing them; the
  // fingerprints of lines read are taken when their section is first looked
  // into, since readers that visit every line need none.
  struct Line {
    const char* text = "";
    size_t length = 0;
    uint32_t key_begin = 0;
    uint32_t key_length = 0;  // 0 for lines that hold no key
    mutable uint32_t key_hash = 0;
    std::string_view Text() const { return std::string_view(text, length); }
    std::string_view Key() const { return Text().substr(key_begin, key_length); }
  };
  struct Section {
    std::string lower_name;   // empty for the lines before the first section
    std::vector<Line> lines;  // lines[0] is the "[name]" line of a named section
    // Lower-case key -> first line holding it; built on demand for large
    // sections, where a scan per lookup would cost too much.
    mutable std::unordered_map<std::string, size_t> index;
    mutable bool indexed = false;
    mutable bool hashed = false;  // every line's fingerprint taken
  };

  static void FindKey(Line& line);
  static Line MakeLine(std::string_view text);
  // The value of a "key=value" line by the reading rules.
  static std::string_view ValueOf(std::string_view line);
  // A line whose text is kept in the file's storage.
  Line StoredLine(std::string text);
  const Section* FindSection(std::string_view section) const;
  static const Line* FindLine(const Section& section, std::string_view key);
  static Line* FindLine(Section& section, std::string_view key);
  Section& SectionForWrite(std::string_view section);
  // Sets key to a value that already holds no line break.
  void PutLine(std::string_view section, std::string_view key, std::string_view one_line_value);
  void AddLine(Section& section, Line line);

  // The texts the lines point into: the text read, and one per line written
  // since. Neither moves its characters while the file lives, moves included.
  std::unique_ptr<const std::string> source_;
  std::deque<std::string> written_;
  std::vector<Section> sections_;  // sections_[0] holds the lines before any section
  std::unordered_map<std::string, size_t> first_section_;
};

}  // namespace quorvant
