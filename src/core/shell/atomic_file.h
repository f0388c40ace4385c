// Whole-file reads and atomic replacement of files.
//
// WriteFileAtomically() writes the new contents to a sibling file in the same
// folder, flushes it to disk (as far as its WriteDurability asks) and renames
// it over the target, so that a crash or a full disk leaves either the old
// file or the new one, never a mixture.
// A symbolic link is followed: its target is replaced and the link kept.
//
// Thread-safety: the functions hold no state; concurrent writers of one path
// each produce a complete file, the last rename wins.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/env/replace_file.h"

namespace quorvant {

// Returns false, leaving the old file untouched, when any step fails. The
// new file is written through env.
bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         WriteDurability durability = WriteDurability::kDurable,
                         Env& env = DefaultEnv());

// The whole file, or nothing when it cannot be opened or read (a folder, a
// missing file, no permission).
std::optional<std::string> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);       // a regular file (or link to one)
bool DirectoryExists(const std::string& path);

}  // namespace quorvant
