// Table: moving through the records in physical or tag order, honouring the
// query and the view filter, and seeking keys.
#include "core/env/table_error.h"
#include "core/tableengine/record_file.h"
#include "core/tableengine/table.h"
#include "core/tableengine/table_state.h"

namespace quorvant {
namespace {

// Whether an index key matches what a seek for key (in the tag's key form)
// looks for.
bool Matches(const Expression& tag_key, std::string_view at, std::string_view key, SeekMode mode) {
  const bool exact =
      mode == SeekMode::kExact || key.empty() || tag_key.type() != ValueType::kString;
  return exact ? CompareKeys(at, key) == 0 : KeyBeginsWith(at, key);
}

}  // namespace

Table::TagState& Table::SelectedTag() {
  if (order_ == 0) {
    throw ETableError(ETableError::Code::kUsage,
                      "A seek in the table " + path_ + " needs an index order");
  }
  return *tags_[static_cast<size_t>(order_ - 1)];
}

bool Table::Visible(RecordSource& record) {
  return (query_.empty() || query_.Test(record)) && (filter_.empty() || filter_.Test(record));
}

// The current record's place in the selected tag: its own entry, or where it
// would stand when the tag's condition leaves it out.
KeyIndex::Pos Table::OrderPosition() {
  TagState& tag = *tags_[static_cast<size_t>(order_ - 1)];
  RecordBytes current(Fields(), memo_.get());
  current.Set(record_, recno_);
  return tag.index.LowerBound(tag.key.Key(current), recno_);
}

// The first (forward) or last visible record of the order.
std::optional<uint32_t> Table::FirstVisible(bool forward) {
  const bool filtered = !query_.empty() || !filter_.empty();
  RecordBytes record(Fields(), memo_.get());
  if (order_ == 0) {
    const uint32_t count = records_->count();
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t r = forward ? i + 1 : count - i;
      if (!filtered) return r;
      record.Set(records_->Read(r), r);
      if (Visible(record)) return r;
    }
    return std::nullopt;
  }
  KeyIndex& index = tags_[static_cast<size_t>(order_ - 1)]->index;
  for (auto p = forward ? index.Begin() : index.Prev(index.End()); p != index.End();
       p = forward ? index.Next(p) : index.Prev(p)) {
    const uint32_t r = index.At(p).recno;
    if (!filtered) return r;
    record.Set(records_->Read(r), r);
    if (Visible(record)) return r;
  }
  return std::nullopt;
}

// The next visible record after (or before) the current one.
std::optional<uint32_t> Table::NextVisible(bool forward) {
  const bool filtered = !query_.empty() || !filter_.empty();
  RecordBytes record(Fields(), memo_.get());
  if (order_ == 0) {
    const uint32_t count = records_->count();
    for (uint32_t r = forward ? recno_ + 1 : recno_ - 1; r >= 1 && r <= count;
         r = forward ? r + 1 : r - 1) {
      if (!filtered) return r;
      record.Set(records_->Read(r), r);
      if (Visible(record)) return r;
    }
    return std::nullopt;
  }
  KeyIndex& index = tags_[static_cast<size_t>(order_ - 1)]->index;
  auto p = OrderPosition();
  const bool on_entry = p != index.End() && index.At(p).recno == recno_;
  if (forward && on_entry) p = index.Next(p);
  if (!forward) p = index.Prev(p);
  for (; p != index.End(); p = forward ? index.Next(p) : index.Prev(p)) {
    const uint32_t r = index.At(p).recno;
    if (!filtered) return r;
    record.Set(records_->Read(r), r);
    if (Visible(record)) return r;
  }
  return std::nullopt;
}

std::vector<uint32_t> Table::RecordsInOrder() {
  RequireOpen();
  Post();
  const bool filtered = !query_.empty() || !filter_.empty();
  RecordBytes record(Fields(), memo_.get());
  std::vector<uint32_t> out;
  auto take = [&](uint32_t r) {
    if (filtered) {
      record.Set(records_->Read(r), r);
      if (!Visible(record)) return;
    }
    out.push_back(r);
  };
  if (order_ == 0) {
    const uint32_t count = records_->count();
    out.reserve(count);
    for (uint32_t r = 1; r <= count; ++r) take(r);
    return out;
  }
  KeyIndex& index = tags_[static_cast<size_t>(order_ - 1)]->index;
  out.reserve(index.size());
  if (!filtered) {
    index.ForEach([&](const KeyIndex::Entry& e) { out.push_back(e.recno); });
    return out;
  }
  // Testing the records in key order would read the file at random; one
  // pass in file order marks the visible ones instead.
  const uint32_t count = records_->count();
  std::vector<char> visible(count + 1, 0);
  for (uint32_t r = 1; r <= count; ++r) {
    record.Set(records_->Read(r), r);
    visible[r] = Visible(record) ? 1 : 0;
  }
  index.ForEach([&](const KeyIndex::Entry& e) {
    if (e.recno <= count && visible[e.recno]) out.push_back(e.recno);
  });
  return out;
}

void Table::GoEnd(bool top) {
  RequireOpen();
  Post();
  if (const auto r = FirstVisible(top)) {
    Load(*r);
  } else {
    SetEof();
    bof_ = true;
  }
}

void Table::Skip(int n) {
  RequireOpen();
  Post();
  if (eof_ && n < 0) {
    GoBottom();
    ++n;
  }
  for (; n > 0 && !eof_; --n) {
    if (const auto r = NextVisible(true)) {
      Load(*r);
    } else {
      SetEof();
    }
  }
  for (; n < 0 && !eof_; ++n) {
    if (const auto r = NextVisible(false)) {
      Load(*r);
    } else {
      bof_ = true;
      break;
    }
  }
}

bool Table::Seek(std::string_view value, SeekMode mode) {
  RequireOpen();
  Post();
  TagState& tag = SelectedTag();
  const std::string key = tag.key.KeyForText(value);
  KeyIndex& index = tag.index;
  const auto p = index.LowerBound(key, 0);
  if (p == index.End() || !Matches(tag.key, index.At(p).key, key, mode)) {
    SetEof();
    return false;
  }
  Load(index.At(p).recno);
  return true;
}

bool Table::CurrentVisible() {
  RequireRecord();
  Post();
  RecordBytes current(Fields(), memo_.get());
  current.Set(record_, recno_);
  return Visible(current);
}

bool Table::KeyMatches(std::string_view value, SeekMode mode) {
  RequireOpen();
  Post();
  TagState& tag = SelectedTag();
  if (eof_ || recno_ == 0) return false;
  RecordBytes current(Fields(), memo_.get());
  current.Set(record_, recno_);
  if (!tag.condition.empty() && !tag.condition.Test(current)) return false;
  return Matches(tag.key, tag.key.Key(current), tag.key.KeyForText(value), mode);
}

}  // namespace quorvant
