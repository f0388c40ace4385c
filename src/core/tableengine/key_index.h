// KeyIndex: the in-memory ordered keys of one index tag.
//
// Entries are (key, record number) pairs ordered by key, then by record
// number, so that records with equal keys keep their physical order. Keys
// compare as bytes, as if the shorter were padded with blanks: "AB" equals
// "AB  " and sorts after "AB\x01". Keys are stored without trailing blanks.
//
// The entries live in sorted chunks of about a hundred, so that an insert or
// an erase moves little memory. Inserts are first collected unsorted and
// folded in at the next ordered operation; a large batch (a bulk append) is
// sorted once and merged, a few are inserted one by one.
//
// Positions stay valid until the next Insert, Erase or Clear; version()
// changes whenever they stop being valid.
//
// Thread-safety: none; the ordered operations fold pending inserts in, so
// even const-looking reads change the object.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

// <0, 0, >0 as a is less than, equal to or greater than b, blank-padded.
int CompareKeys(std::string_view a, std::string_view b);

// True when key begins with prefix, blank-padded (a prefix "" is begun by
// every key).
bool KeyBeginsWith(std::string_view key, std::string_view prefix);

class KeyIndex {
 public:
  struct Entry {
    std::string key;
    uint32_t recno = 0;
  };
  struct Pos {
    size_t chunk = 0;
    size_t index = 0;
    bool operator==(const Pos&) const = default;
  };

  void Insert(std::string key, uint32_t recno);
  // Removes the entry; nothing happens when it is absent.
  void Erase(std::string_view key, uint32_t recno);
  void Clear();
  // Replaces the contents with entries already in order; false, leaving the
  // index empty, when they are not in order.
  bool Load(std::vector<Entry> sorted);

  size_t size() const { return size_; }
  uint64_t version() const { return version_; }

  Pos Begin();
  Pos End();  // one past the last entry
  // Moves to the next / previous entry; Prev from Begin() gives End().
  Pos Next(Pos p);
  Pos Prev(Pos p);
  const Entry& At(Pos p);  // Requires: p != End()

  // The first entry not less than (key, recno).
  Pos LowerBound(std::string_view key, uint32_t recno);
  // The entry (key, recno), or End().
  Pos Find(std::string_view key, uint32_t recno);

  // Every entry in order, for writing the index file.
  template <typename F>
  void ForEach(F&& f) {
    Settle();
    for (const auto& chunk : chunks_) {
      for (const Entry& e : chunk) f(e);
    }
  }

 private:
  void Settle();
  void InsertSorted(Entry e);
  void Rechunk(std::vector<Entry> all);

  std::vector<std::vector<Entry>> chunks_;  // each non-empty and sorted
  std::vector<Entry> pending_;              // inserted, not yet placed
  size_t size_ = 0;
  uint64_t version_ = 0;
};

}  // namespace quorvant
