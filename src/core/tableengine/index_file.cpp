#include "core/tableengine/index_file.h"

#include <cstring>

#include "core/env/table_error.h"

namespace quorvant {
namespace {

constexpr char kMagic[8] = {'Q', 'V', 'C', 'D', 'X', '1', '\r', '\n'};
constexpr uint32_t kHeaderLength = 64;

uint64_t Checksum(std::string_view bytes) {  // FNV-1a, 64 bits
  uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 0x100000001b3ull;
  }
  return h;
}

void Put(std::string& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
}

void PutText(std::string& out, std::string_view text) {
  Put(out, text.size(), 2);
  out += text;
}

class Reader {
 public:
  Reader(std::string_view bytes, const std::string& path) : bytes_(bytes), path_(path) {}

  uint64_t Get(int n) {
    Need(static_cast<size_t>(n));
    uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes_[at_ + i]);
    at_ += static_cast<size_t>(n);
    return v;
  }
  std::string_view Bytes(size_t n) {
    Need(n);
    const std::string_view v = bytes_.substr(at_, n);
    at_ += n;
    return v;
  }
  std::string_view Text() { return Bytes(Get(2)); }
  size_t at() const { return at_; }
  [[noreturn]] void Damaged(const std::string& why) const {
    throw ETableError(
        ETableError::Code::kCorrupt,
        "The index file " + path_ + " is damaged (" + why +
            "). Remove it to open the table; its index tags must then be made again.");
  }

 private:
  void Need(size_t n) const {
    if (bytes_.size() - at_ < n) Damaged("it ends too early");
  }
  std::string_view bytes_;
  const std::string& path_;
  size_t at_ = 0;
};

}  // namespace

std::string SerializeIndexFile(const TableSignature& signature,
                               const std::vector<TagDefinition>& tags,
                               const std::vector<KeyIndex*>& indexes) {
  std::string defs;
  for (const TagDefinition& t : tags) {
    PutText(defs, t.name);
    PutText(defs, t.key);
    PutText(defs, t.condition);
  }
  std::string out(kMagic, sizeof kMagic);
  Put(out, 1, 4);  // layout version
  Put(out, tags.size(), 4);
  Put(out, signature.record_count, 8);
  Put(out, signature.dbf.size, 8);
  Put(out, static_cast<uint64_t>(signature.dbf.mtime_ns), 8);
  Put(out, signature.dbf.inode, 8);
  Put(out, defs.size(), 8);
  out += defs;
  Put(out, Checksum(out), 8);
  for (KeyIndex* index : indexes) {
    std::string section;
    Put(section, index->size(), 8);
    index->ForEach([&](const KeyIndex::Entry& e) {
      Put(section, e.recno, 4);
      PutText(section, e.key);
    });
    Put(section, Checksum(section), 8);
    out += section;
  }
  return out;
}

IndexFileContents ParseIndexFile(std::string_view bytes, const std::string& path,
                                 bool with_entries) {
  Reader r(bytes, path);
  if (r.Bytes(sizeof kMagic) != std::string_view(kMagic, sizeof kMagic)) {
    r.Damaged("not an index file of this program");
  }
  if (r.Get(4) != 1) r.Damaged("unknown layout version");
  IndexFileContents c;
  const uint64_t tag_count = r.Get(4);
  c.signature.record_count = static_cast<uint32_t>(r.Get(8));
  c.signature.dbf.size = r.Get(8);
  c.signature.dbf.mtime_ns = static_cast<int64_t>(r.Get(8));
  c.signature.dbf.inode = r.Get(8);
  const std::string_view defs = r.Bytes(r.Get(8));
  const size_t head_end = r.at();
  if (r.Get(8) != Checksum(bytes.substr(0, head_end))) r.Damaged("the tag list fails its checksum");
  Reader d(defs, path);
  for (uint64_t i = 0; i < tag_count; ++i) {
    TagDefinition t;
    t.name = d.Text();
    t.key = d.Text();
    t.condition = d.Text();
    c.tags.push_back(std::move(t));
  }
  if (d.at() != defs.size()) r.Damaged("the tag list has stray bytes");
  for (uint64_t i = 0; i < tag_count; ++i) {
    const size_t start = r.at();
    const uint64_t n = r.Get(8);
    // Each entry takes at least 6 bytes: a damaged count must not reserve
    // memory the file could never fill.
    if (n > (bytes.size() - r.at()) / 6) r.Damaged("an impossible key count");
    std::vector<KeyIndex::Entry> entries;
    if (with_entries) entries.reserve(n);
    for (uint64_t k = 0; k < n; ++k) {
      const uint32_t recno = static_cast<uint32_t>(r.Get(4));
      const std::string_view key = r.Text();
      if (with_entries) entries.push_back({std::string(key), recno});
    }
    const std::string_view section = bytes.substr(start, r.at() - start);
    if (r.Get(8) != Checksum(section))
      r.Damaged("the keys of tag " + c.tags[i].name + " fail their checksum");
    c.entries.push_back(std::move(entries));
  }
  if (r.at() != bytes.size()) r.Damaged("stray bytes at the end");
  return c;
}

}  // namespace quorvant
