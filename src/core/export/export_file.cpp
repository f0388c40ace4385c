#include "core/export/export_file.h"

#include <stdexcept>

#include "core/env/replace_file.h"

namespace quorvant {
namespace {

constexpr size_t kBufferBytes = 1 << 20;

}  // namespace

std::string ExportFile::TemporaryPathFor(const std::string& path) {
  return SiblingTemporaryPath(path, ".part");
}

void ExportFile::Replace(Env& env, const std::string& temporary, const std::string& path) {
  try {
    env.Rename(temporary, path, true);
  } catch (const std::exception&) {
    env.Remove(temporary);
    throw std::runtime_error("Unable to write to " + path);
  }
}

ExportFile::ExportFile(const std::string& path, Env& env)
    : env_(env), path_(path), temporary_(TemporaryPathFor(path)) {
  try {
    file_ = env_.Open(temporary_, FileMode::kCreate);
  } catch (const std::exception&) {
    Fail();
  }
  buffer_.reserve(kBufferBytes);
}

ExportFile::~ExportFile() {
  if (committed_) return;
  file_.reset();
  try {
    env_.Remove(temporary_);
  } catch (const std::exception&) {
    // Nothing more can be done for a file that cannot be removed.
  }
}

void ExportFile::Fail() const { throw std::runtime_error("Unable to write to " + path_); }

void ExportFile::Append(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > buffer_.capacity()) Flush();
  if (bytes.size() >= buffer_.capacity()) {
    try {
      file_->Write(written_, bytes);
    } catch (const std::exception&) {
      Fail();
    }
    written_ += bytes.size();
    return;
  }
  buffer_.append(bytes);
}

void ExportFile::Flush() {
  if (buffer_.empty()) return;
  try {
    file_->Write(written_, buffer_);
  } catch (const std::exception&) {
    Fail();
  }
  written_ += buffer_.size();
  buffer_.clear();
}

void ExportFile::Commit() {
  Flush();
  try {
    file_->Sync();
    file_.reset();
  } catch (const std::exception&) {
    Fail();
  }
  Replace(env_, temporary_, path_);
  committed_ = true;
}

}  // namespace quorvant
