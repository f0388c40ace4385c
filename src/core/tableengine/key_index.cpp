#include "core/tableengine/key_index.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstring>

namespace quorvant {
namespace {

constexpr size_t kChunkFill = 64;  // entries per chunk after a rebuild
constexpr size_t kChunkMax = 128;  // a chunk splits beyond this

// The remainder of the longer key decides against implied blanks.
int CompareTail(std::string_view tail) {
  for (char c : tail) {
    if (c != ' ') return static_cast<unsigned char>(c) < ' ' ? -1 : 1;
  }
  return 0;
}

bool Less(const KeyIndex::Entry& a, std::string_view key, uint32_t recno) {
  const int c = CompareKeys(a.key, key);
  return c < 0 || (c == 0 && a.recno < recno);
}

bool EntryLess(const KeyIndex::Entry& a, const KeyIndex::Entry& b) {
  return Less(a, b.key, b.recno);
}

}  // namespace

int CompareKeys(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  if (n > 0) {
    if (const int c = std::memcmp(a.data(), b.data(), n); c != 0) return c;
  }
  if (a.size() > n) return CompareTail(a.substr(n));
  if (b.size() > n) return -CompareTail(b.substr(n));
  return 0;
}

bool KeyBeginsWith(std::string_view key, std::string_view prefix) {
  if (prefix.size() <= key.size()) return CompareKeys(key.substr(0, prefix.size()), prefix) == 0;
  return CompareKeys(key, prefix) == 0;
}

void KeyIndex::Insert(std::string key, uint32_t recno) {
  pending_.push_back({std::move(key), recno});
  ++size_;
  ++version_;
}

void KeyIndex::Erase(std::string_view key, uint32_t recno) {
  const Pos p = Find(key, recno);
  if (p == End()) return;
  auto& chunk = chunks_[p.chunk];
  chunk.erase(chunk.begin() + static_cast<std::ptrdiff_t>(p.index));
  if (chunk.empty()) chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(p.chunk));
  --size_;
  ++version_;
}

void KeyIndex::Clear() {
  chunks_.clear();
  pending_.clear();
  size_ = 0;
  ++version_;
}

bool KeyIndex::Load(std::vector<Entry> sorted) {
  Clear();
  for (size_t i = 1; i < sorted.size(); ++i) {
    if (!EntryLess(sorted[i - 1], sorted[i])) return false;
  }
  size_ = sorted.size();
  Rechunk(std::move(sorted));
  return true;
}

void KeyIndex::Settle() {
  if (pending_.empty()) return;
  if (pending_.size() > size_ / 16 + 64) {
    std::vector<Entry> all;
    all.reserve(size_);
    for (auto& chunk : chunks_) {
      for (Entry& e : chunk) all.push_back(std::move(e));
    }
    const auto middle = all.size();
    std::sort(pending_.begin(), pending_.end(), EntryLess);
    for (Entry& e : pending_) all.push_back(std::move(e));
    std::inplace_merge(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(middle), all.end(),
                       EntryLess);
    Rechunk(std::move(all));
  } else {
    for (Entry& e : pending_) InsertSorted(std::move(e));
  }
  pending_.clear();
  pending_.shrink_to_fit();
}

void KeyIndex::Rechunk(std::vector<Entry> all) {
  chunks_.clear();
  for (size_t i = 0; i < all.size(); i += kChunkFill) {
    const size_t end = std::min(all.size(), i + kChunkFill);
    chunks_.emplace_back(std::make_move_iterator(all.begin() + static_cast<std::ptrdiff_t>(i)),
                         std::make_move_iterator(all.begin() + static_cast<std::ptrdiff_t>(end)));
  }
}

void KeyIndex::InsertSorted(Entry e) {
  if (chunks_.empty()) {
    chunks_.push_back({std::move(e)});
    return;
  }
  // The first chunk whose last entry is not less than e, else the last.
  auto c = std::partition_point(chunks_.begin(), chunks_.end(),
                                [&](const auto& chunk) { return EntryLess(chunk.back(), e); });
  if (c == chunks_.end()) --c;
  auto at =
      std::partition_point(c->begin(), c->end(), [&](const Entry& x) { return EntryLess(x, e); });
  c->insert(at, std::move(e));
  if (c->size() > kChunkMax) {
    std::vector<Entry> upper(std::make_move_iterator(c->begin() + kChunkMax / 2),
                             std::make_move_iterator(c->end()));
    c->resize(kChunkMax / 2);
    chunks_.insert(c + 1, std::move(upper));
  }
}

KeyIndex::Pos KeyIndex::Begin() {
  Settle();
  return {0, 0};
}

KeyIndex::Pos KeyIndex::End() {
  Settle();
  return {chunks_.size(), 0};
}

KeyIndex::Pos KeyIndex::Next(Pos p) {
  Settle();
  if (p.chunk >= chunks_.size()) return End();
  if (++p.index < chunks_[p.chunk].size()) return p;
  return {p.chunk + 1, 0};
}

KeyIndex::Pos KeyIndex::Prev(Pos p) {
  Settle();
  if (p.chunk < chunks_.size() && p.index > 0) return {p.chunk, p.index - 1};
  if (p.chunk == 0) return End();
  const size_t c = std::min(p.chunk, chunks_.size()) - 1;
  return {c, chunks_[c].size() - 1};
}

const KeyIndex::Entry& KeyIndex::At(Pos p) {
  Settle();
  assert(p.chunk < chunks_.size() && p.index < chunks_[p.chunk].size());
  return chunks_[p.chunk][p.index];
}

KeyIndex::Pos KeyIndex::LowerBound(std::string_view key, uint32_t recno) {
  Settle();
  const auto c = std::partition_point(chunks_.begin(), chunks_.end(), [&](const auto& chunk) {
    return Less(chunk.back(), key, recno);
  });
  if (c == chunks_.end()) return End();
  const auto at = std::partition_point(c->begin(), c->end(),
                                       [&](const Entry& x) { return Less(x, key, recno); });
  return {static_cast<size_t>(c - chunks_.begin()), static_cast<size_t>(at - c->begin())};
}

KeyIndex::Pos KeyIndex::Find(std::string_view key, uint32_t recno) {
  const Pos p = LowerBound(key, recno);
  if (p == End()) return p;
  const Entry& e = At(p);
  return e.recno == recno && CompareKeys(e.key, key) == 0 ? p : End();
}

}  // namespace quorvant
