// ExportFile: the file an export streams into. It writes to a sibling
// temporary file through a large buffer and, at Commit(), makes it durable
// and renames it over the target, so that a failed or interrupted export
// leaves the old file (or none) and never half a file.
//
// Ownership: the Env must outlive it. Thread-safety: none.
// Failures throw std::runtime_error "Unable to write to " + path.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/env/env.h"

namespace quorvant {

class ExportFile {
 public:
  explicit ExportFile(const std::string& path, Env& env = DefaultEnv());
  // Removes the temporary file unless committed.
  ~ExportFile();
  ExportFile(const ExportFile&) = delete;
  ExportFile& operator=(const ExportFile&) = delete;

  void Append(std::string_view bytes);
  void Append(char c) {
    if (buffer_.size() == buffer_.capacity()) Flush();
    buffer_.push_back(c);
  }
  void Commit();

  const std::string& path() const { return path_; }
  // The temporary file's name, for writers that write files themselves.
  const std::string& temporary_path() const { return temporary_; }

  // A fresh sibling temporary name for path (see SiblingTemporaryPath).
  static std::string TemporaryPathFor(const std::string& path);
  // Replaces path by the finished temporary file; throws as above.
  static void Replace(Env& env, const std::string& temporary, const std::string& path);

 private:
  void Flush();
  [[noreturn]] void Fail() const;

  Env& env_;
  std::string path_;
  std::string temporary_;
  std::unique_ptr<RandomAccessFile> file_;
  std::string buffer_;
  uint64_t written_ = 0;
  bool committed_ = false;
};

}  // namespace quorvant
