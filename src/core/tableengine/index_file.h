// The .cdx file: the named index tags of a table with all their keys, in our
// own layout (see format.md). It is derived data: it is replaced whole and
// atomically after every commit, and it carries the signature of the .dbf
// it was made from, so that an index that does not match its table (left by
// a crash, or by another program that changed the table) is recognised and
// rebuilt from the records.
//
// Thread-safety: pure functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/env/env.h"
#include "core/tableengine/key_index.h"

namespace quorvant {

struct TagDefinition {
  std::string name;  // upper case
  std::string key;
  std::string condition;  // empty: every record
};

// What the index was made from: the committed record count and the .dbf
// file's stamp right after that commit.
struct TableSignature {
  uint32_t record_count = 0;
  FileStamp dbf;
  bool operator==(const TableSignature&) const = default;
};

struct IndexFileContents {
  TableSignature signature;
  std::vector<TagDefinition> tags;
  // One list per tag, in key order; filled only when the caller asked.
  std::vector<std::vector<KeyIndex::Entry>> entries;
};

// Throws ETableError (kCorrupt) naming path when the bytes are not an index
// file of ours or any part fails its checksum. With with_entries false only
// the signature and the tag definitions are decoded.
IndexFileContents ParseIndexFile(std::string_view bytes, const std::string& path,
                                 bool with_entries);

// The file's bytes for these tags and their indexes (which are settled).
std::string SerializeIndexFile(const TableSignature& signature,
                               const std::vector<TagDefinition>& tags,
                               const std::vector<KeyIndex*>& indexes);

}  // namespace quorvant
