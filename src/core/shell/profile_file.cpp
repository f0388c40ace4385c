#include "core/shell/profile_file.h"

#include <cstdint>

#include "core/shell/atomic_file.h"
#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

// The trimmed section name of a "[name]" line, or nothing.
bool SectionNameOf(std::string_view line, std::string& name) {
  std::string_view t = TrimBlanks(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const size_t close = t.find(']');
  if (close == std::string_view::npos) return false;
  name = ToLowerAscii(TrimBlanks(t.substr(1, close - 1)));
  return true;
}

std::string KeyOf(std::string_view line) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  return ToLowerAscii(TrimBlanks(line.substr(0, eq)));
}

std::string_view ValueOf(std::string_view line) {
  std::string_view v = TrimBlanks(line.substr(line.find('=') + 1));
  if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') ||
                        (v.front() == '\'' && v.back() == '\''))) {
    v = v.substr(1, v.size() - 2);
  }
  return v;
}

bool NeedsQuotes(std::string_view v) {
  if (v.empty()) return false;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (blank(v.front()) || blank(v.back())) return true;
  return v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'');
}

std::string SingleLine(std::string_view v) {
  std::string out(v);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

}  // namespace

ProfileFile ProfileFile::Parse(std::string_view text) {
  ProfileFile file;
  file.sections_.emplace_back();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;

    std::string name;
    if (SectionNameOf(line, name)) {
      file.first_section_.emplace(name, file.sections_.size());
      Section section;
      section.lower_name = std::move(name);
      section.lines.push_back({std::string(line), {}});
      file.sections_.push_back(std::move(section));
    } else {
      Section& current = file.sections_.back();
      std::string key = KeyOf(line);
      if (!key.empty()) current.first_key.emplace(key, current.lines.size());
      current.lines.push_back({std::string(line), std::move(key)});
    }
  }
  return file;
}

ProfileFile ProfileFile::LoadOrEmpty(const std::string& path) {
  auto text = ReadWholeFile(path);
  return Parse(text ? *text : std::string_view{});
}

const ProfileFile::Section* ProfileFile::FindSection(std::string_view section) const {
  auto it = first_section_.find(ToLowerAscii(TrimBlanks(section)));
  return it == first_section_.end() ? nullptr : &sections_[it->second];
}

const ProfileFile::Line* ProfileFile::FindLine(std::string_view section,
                                               std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  auto it = s->first_key.find(ToLowerAscii(TrimBlanks(key)));
  return it == s->first_key.end() ? nullptr : &s->lines[it->second];
}

bool ProfileFile::HasSection(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool ProfileFile::HasKey(std::string_view section, std::string_view key) const {
  return FindLine(section, key) != nullptr;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view default_value) const {
  const Line* line = FindLine(section, key);
  return std::string(line ? ValueOf(line->text) : default_value);
}

bool ProfileFile::ParseProfileInteger(std::string_view text, int& value) {
  text = TrimBlanks(text);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (text.size() > 10) return false;
    uint32_t v = 0;
    for (char c : text.substr(2)) {
      int digit;
      if (c >= '0' && c <= '9') digit = c - '0';
      else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      else return false;
      v = v * 16 + static_cast<uint32_t>(digit);
    }
    value = static_cast<int32_t>(v);
    return true;
  }
  return ParseInt(text, value);
}

int ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                             int default_value) const {
  const Line* line = FindLine(section, key);
  int value = default_value;
  if (line == nullptr || !ParseProfileInteger(ValueOf(line->text), value)) return default_value;
  return value;
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key,
                           bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

std::vector<std::string> ProfileFile::KeysOf(std::string_view section) const {
  std::vector<std::string> keys;
  const Section* s = FindSection(section);
  if (s == nullptr) return keys;
  for (const Line& line : s->lines) {
    if (!line.lower_key.empty()) {
      keys.emplace_back(TrimBlanks(std::string_view(line.text).substr(0, line.text.find('='))));
    }
  }
  return keys;
}

void ProfileFile::AddLine(Section& section, std::string text) {
  // New keys go after the section's last non-blank line, so that the blank
  // line that separates it from the next section stays in place.
  size_t at = section.lines.size();
  while (at > 1 && TrimBlanks(section.lines[at - 1].text).empty()) --at;
  std::string key = KeyOf(text);
  section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(at),
                       Line{std::move(text), key});
  if (at + 1 == section.lines.size()) {
    section.first_key.emplace(std::move(key), at);
  } else {
    Reindex(section);
  }
}

void ProfileFile::Reindex(Section& section) {
  section.first_key.clear();
  for (size_t i = 0; i < section.lines.size(); ++i) {
    if (!section.lines[i].lower_key.empty()) section.first_key.emplace(section.lines[i].lower_key, i);
  }
}

void ProfileFile::WriteRawString(std::string_view section, std::string_view key,
                                 std::string_view value) {
  if (sections_.empty()) sections_.emplace_back();
  std::string text = std::string(TrimBlanks(key)) + "=" + SingleLine(value);
  const std::string lower_name = ToLowerAscii(TrimBlanks(section));
  auto found = first_section_.find(lower_name);
  if (found == first_section_.end()) {
    const Section& last = sections_.back();
    const bool file_empty = sections_.size() == 1 && last.lines.empty();
    if (!file_empty && !last.lines.empty() && !TrimBlanks(last.lines.back().text).empty()) {
      sections_.back().lines.push_back({"", {}});
    }
    Section added;
    added.lower_name = lower_name;
    added.lines.push_back({"[" + std::string(TrimBlanks(section)) + "]", {}});
    first_section_.emplace(lower_name, sections_.size());
    sections_.push_back(std::move(added));
    found = first_section_.find(lower_name);
  }
  Section& s = sections_[found->second];
  auto line = s.first_key.find(ToLowerAscii(TrimBlanks(key)));
  if (line != s.first_key.end()) {
    s.lines[line->second].text = std::move(text);
  } else {
    AddLine(s, std::move(text));
  }
}

void ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  const std::string line = SingleLine(value);
  WriteRawString(section, key, NeedsQuotes(line) ? "\"" + line + "\"" : line);
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteRawString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteRawString(section, key, value ? "1" : "0");
}

void ProfileFile::EraseSection(std::string_view section) {
  auto found = first_section_.find(ToLowerAscii(TrimBlanks(section)));
  if (found == first_section_.end()) return;
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(found->second));
  first_section_.clear();
  for (size_t i = sections_.size(); i-- > 1;) first_section_[sections_[i].lower_name] = i;
}

std::string ProfileFile::ToText() const {
  std::string out;
  for (const Section& s : sections_) {
    for (const Line& line : s.lines) {
      out += line.text;
      out += "\r\n";
    }
  }
  return out;
}

void ProfileFile::Save(const std::string& path) const {
  if (!WriteFileAtomically(path, ToText())) throw EProfileWriteError("Unable to write to " + path);
}

}  // namespace quorvant
