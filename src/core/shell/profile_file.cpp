#include "core/shell/profile_file.h"

#include "core/shell/atomic_file.h"
#include "core/shell/profile_values.h"
#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

// Sections with more lines than this get a hash index for their keys.
constexpr size_t kIndexThreshold = 32;

// The trimmed, lower-case section name of a "[name]" line.
bool SectionNameOf(std::string_view line, std::string& name) {
  std::string_view t = TrimBlanks(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const size_t close = t.find(']');
  if (close == std::string_view::npos) return false;
  name = ToLowerAscii(TrimBlanks(t.substr(1, close - 1)));
  return true;
}

// A cheap fingerprint of a key, the same for any letter case: its length and
// its first, middle and last letters. Lines whose fingerprint differs from
// the key's are passed over without comparing their keys.
uint32_t KeyHash(std::string_view key) {
  const auto lower = [](char c) {
    return static_cast<uint32_t>(static_cast<unsigned char>(AsciiLower(c)));
  };
  if (key.empty()) return 0;
  return (static_cast<uint32_t>(key.size()) << 24) ^ (lower(key.front()) << 16) ^
         (lower(key[key.size() / 2]) << 8) ^ lower(key.back());
}

}  // namespace

std::string_view ProfileFile::ValueOf(std::string_view line) {
  std::string_view v = TrimBlanks(line.substr(line.find('=') + 1));
  if (v.size() >= 2 &&
      ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\''))) {
    v = v.substr(1, v.size() - 2);
  }
  return v;
}

ProfileFile::Line ProfileFile::MakeLine(std::string_view text) {
  Line line;
  line.text = text.data();
  line.length = text.size();
  const size_t eq = text.find('=');
  if (eq == std::string_view::npos || eq > UINT32_MAX) return line;
  const std::string_view key = TrimBlanks(text.substr(0, eq));
  line.key_begin = static_cast<uint32_t>(key.data() - text.data());
  line.key_length = static_cast<uint32_t>(key.size());
  return line;
}

ProfileFile::Line ProfileFile::StoredLine(std::string text) {
  Line line = MakeLine(written_.emplace_back(std::move(text)));
  line.key_hash = KeyHash(line.Key());
  return line;
}

ProfileFile::ProfileFile(const ProfileFile& other)
    : sections_(other.sections_), first_section_(other.first_section_) {
  size_t size = 0;
  for (const Section& s : sections_) {
    for (const Line& line : s.lines) size += line.length;
  }
  auto text = std::make_unique<std::string>();
  text->reserve(size);
  for (Section& s : sections_) {
    for (Line& line : s.lines) {
      const size_t at = text->size();
      text->append(line.Text());
      line.text = text->data() + at;  // stays: the room was reserved
    }
  }
  source_ = std::move(text);
}

ProfileFile& ProfileFile::operator=(const ProfileFile& other) {
  if (this != &other) *this = ProfileFile(other);
  return *this;
}

ProfileFile ProfileFile::Parse(std::string text) {
  ProfileFile file;
  file.source_ = std::make_unique<const std::string>(std::move(text));
  const std::string_view all = *file.source_;
  file.sections_.emplace_back();
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\n', start);
    if (end == std::string_view::npos) end = all.size();
    std::string_view line = all.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;

    std::string name;
    const bool may_be_section =
        !line.empty() && (line[0] == '[' || line[0] == ' ' || line[0] == '\t');
    if (may_be_section && SectionNameOf(line, name)) {
      file.first_section_.emplace(name, file.sections_.size());
      // Sections of one file tend to be alike: room for as many lines as the
      // one before saves growing each section step by step.
      const size_t room = file.sections_.back().lines.size();
      Section& section = file.sections_.emplace_back();
      section.lower_name = std::move(name);
      section.lines.reserve(room);
      Line header;  // a section's own line holds no key, even with a "=" in its name
      header.text = line.data();
      header.length = line.size();
      section.lines.push_back(header);
    } else {
      file.sections_.back().lines.push_back(MakeLine(line));
    }
  }
  return file;
}

ProfileFile ProfileFile::LoadOrEmpty(const std::string& path) {
  std::optional<std::string> text = ReadWholeFile(path);
  return Parse(text ? std::move(*text) : std::string());
}

const ProfileFile::Section* ProfileFile::FindSection(std::string_view section) const {
  const auto it = first_section_.find(ToLowerAscii(TrimBlanks(section)));
  return it == first_section_.end() ? nullptr : &sections_[it->second];
}

const ProfileFile::Line* ProfileFile::FindLine(const Section& s, std::string_view key) {
  key = TrimBlanks(key);
  if (key.empty()) return nullptr;
  if (s.lines.size() <= kIndexThreshold) {
    if (!s.hashed) {
      for (const Line& line : s.lines) line.key_hash = KeyHash(line.Key());
      s.hashed = true;
    }
    const uint32_t hash = KeyHash(key);
    for (const Line& line : s.lines) {
      if (line.key_hash != hash || line.key_length != key.size()) continue;
      // Keys are mostly written in the case they are asked for.
      if (line.Key() == key || EqualsIgnoreCase(line.Key(), key)) return &line;
    }
    return nullptr;
  }
  if (!s.indexed) {
    s.index.clear();
    for (size_t i = 0; i < s.lines.size(); ++i) {
      if (s.lines[i].key_length != 0) s.index.emplace(ToLowerAscii(s.lines[i].Key()), i);
    }
    s.indexed = true;
  }
  auto it = s.index.find(ToLowerAscii(key));
  return it == s.index.end() ? nullptr : &s.lines[it->second];
}

ProfileFile::Line* ProfileFile::FindLine(Section& section, std::string_view key) {
  return const_cast<Line*>(FindLine(static_cast<const Section&>(section), key));
}

bool ProfileFile::HasSection(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool ProfileFile::HasKey(std::string_view section, std::string_view key) const {
  return ReadSection(section).HasKey(key);
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view default_value) const {
  return ReadSection(section).ReadString(key, default_value);
}

ProfileFile::SectionReader ProfileFile::ReadSection(std::string_view section) const {
  return SectionReader(FindSection(section));
}

const ProfileFile::Line* ProfileFile::SectionReader::Find(std::string_view key) const {
  return section_ == nullptr ? nullptr : FindLine(*section_, key);
}

bool ProfileFile::SectionReader::HasKey(std::string_view key) const { return Find(key) != nullptr; }

std::string ProfileFile::SectionReader::ReadString(std::string_view key,
                                                   std::string_view default_value) const {
  const Line* line = Find(key);
  return std::string(line ? ValueOf(line->Text()) : default_value);
}

int ProfileFile::SectionReader::ReadInteger(std::string_view key, int default_value) const {
  const Line* line = Find(key);
  int value = default_value;
  if (line == nullptr || !ParseProfileInteger(ValueOf(line->Text()), value)) return default_value;
  return value;
}

bool ProfileFile::SectionReader::ReadBool(std::string_view key, bool default_value) const {
  return ReadInteger(key, default_value ? 1 : 0) != 0;
}

bool ProfileFile::ParseProfileInteger(std::string_view text, int& value) {
  text = TrimBlanks(text);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (text.size() > 10) return false;
    uint32_t v = 0;
    for (char c : text.substr(2)) {
      int digit;
      if (c >= '0' && c <= '9')
        digit = c - '0';
      else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
      else
        return false;
      v = v * 16 + static_cast<uint32_t>(digit);
    }
    value = static_cast<int32_t>(v);
    return true;
  }
  return ParseInt(text, value);
}

int ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                             int default_value) const {
  return ReadSection(section).ReadInteger(key, default_value);
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key,
                           bool default_value) const {
  return ReadSection(section).ReadBool(key, default_value);
}

std::vector<std::string> ProfileFile::KeysOf(std::string_view section) const {
  std::vector<std::string> keys;
  const Section* s = FindSection(section);
  if (s == nullptr) return keys;
  for (const Line& line : s->lines) {
    if (line.key_length != 0) keys.emplace_back(line.Key());
  }
  return keys;
}

ProfileFile::Section& ProfileFile::SectionForWrite(std::string_view section) {
  if (sections_.empty()) sections_.emplace_back();
  const std::string lower_name = ToLowerAscii(TrimBlanks(section));
  auto found = first_section_.find(lower_name);
  if (found != first_section_.end()) return sections_[found->second];
  const Section& last = sections_.back();
  const bool file_empty = sections_.size() == 1 && last.lines.empty();
  if (!file_empty && !last.lines.empty() && !TrimBlanks(last.lines.back().Text()).empty()) {
    sections_.back().lines.push_back(Line{});
  }
  Section added;
  added.lower_name = lower_name;
  Line header = StoredLine("[" + std::string(TrimBlanks(section)) + "]");
  header.key_length = 0;  // a section's own line holds no key
  added.lines.push_back(header);
  first_section_.emplace(lower_name, sections_.size());
  sections_.push_back(std::move(added));
  return sections_.back();
}

void ProfileFile::AddLine(Section& section, Line line) {
  // New keys go after the section's last non-blank line, so that the blank
  // line that separates it from the next section stays in place.
  size_t at = section.lines.size();
  while (at > 1 && TrimBlanks(section.lines[at - 1].Text()).empty()) --at;
  const bool keyed = line.key_length != 0;
  section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  // Only blank lines, which the index does not hold, stand after the new
  // one, so the index stays true with the new key added; rebuilding it for
  // every new key would make writing a large section quadratic.
  if (section.indexed && keyed) {
    section.index.emplace(ToLowerAscii(section.lines[at].Key()), at);
  }
}

void ProfileFile::WriteRawString(std::string_view section, std::string_view key,
                                 std::string_view value) {
  std::string line;
  AppendSingleLine(line, value);
  PutLine(section, key, line);
}

void ProfileFile::PutLine(std::string_view section, std::string_view key,
                          std::string_view one_line_value) {
  Section& s = SectionForWrite(section);
  const Line line = StoredLine(std::string(TrimBlanks(key)) + "=" + std::string(one_line_value));
  if (Line* existing = FindLine(s, key)) {
    *existing = line;  // same key, so any index stays valid
  } else {
    AddLine(s, line);
  }
}

void ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  std::string line;
  AppendStoredString(line, value);
  PutLine(section, key, line);
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  PutLine(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  PutLine(section, key, value ? "1" : "0");
}

void ProfileFile::EraseSection(std::string_view section) {
  auto found = first_section_.find(ToLowerAscii(TrimBlanks(section)));
  if (found == first_section_.end()) return;
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(found->second));
  first_section_.clear();
  for (size_t i = sections_.size(); i-- > 1;) first_section_[sections_[i].lower_name] = i;
}

std::string ProfileFile::ToText() const {
  size_t size = 0;
  for (const Section& s : sections_) {
    for (const Line& line : s.lines) size += line.Text().size() + 2;
  }
  std::string out;
  out.reserve(size);
  for (const Section& s : sections_) {
    for (const Line& line : s.lines) {
      out += line.Text();
      out += "\r\n";
    }
  }
  return out;
}

void ProfileFile::Save(const std::string& path, WriteDurability durability, Env& env) const {
  if (!WriteFileAtomically(path, ToText(), durability, env)) {
    throw EProfileWriteError("Unable to write to " + path);
  }
}

}  // namespace quorvant
