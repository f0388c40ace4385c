#include "core/export/record_cells.h"

#include <charconv>
#include <cstdio>

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int Digits(std::string_view s, size_t at, size_t n) {
  int v = 0;
  for (size_t i = at; i < at + n; ++i) v = v * 10 + (s[i] - '0');
  return v;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

std::optional<double> Code(std::string_view text, int other_code) {
  if (other_code >= 0 && text.size() == 3 && EqualsIgnoreCase(text, "OTH")) return other_code;
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int64_t> StampSeconds(std::string_view s) {
  if (s.size() != 14) return std::nullopt;
  for (char c : s) {
    if (!IsAsciiDigit(c)) return std::nullopt;
  }
  const int y = Digits(s, 0, 4), mo = Digits(s, 4, 2), d = Digits(s, 6, 2);
  const int h = Digits(s, 8, 2), mi = Digits(s, 10, 2), se = Digits(s, 12, 2);
  if (mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h > 23 || mi > 59 || se > 59) {
    return std::nullopt;
  }
  return DaysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + se;
}

std::string_view StampText(int64_t seconds, char* out) {
  int64_t days = seconds / 86400, rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  // The inverse of DaysFromCivil.
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int64_t y = yoe + era * 400 + (m <= 2);
  std::snprintf(out, 20, "%04d-%02d-%02d %02d:%02d:%02d", static_cast<int>(y), m, d,
                static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                static_cast<int>(rest % 60));
  return {out, 19};
}

RecordCells::RecordCells(const VariableDictionary& dictionary)
    : dictionary_(dictionary),
      cells_(dictionary.variables.size()),
      memos_(dictionary.variables.size()) {}

void RecordCells::Read(std::string_view bytes, RecordSource& source) {
  const std::vector<ExportVariable>& variables = dictionary_.variables;
  for (size_t i = 0; i < variables.size(); ++i) {
    const ExportVariable& v = variables[i];
    ExportCell& cell = cells_[i];
    cell = ExportCell{};
    std::string_view raw;
    if (v.field >= 0) {
      if (v.memo) {
        memos_[i] = source.MemoText(v.field);
        raw = memos_[i];
      } else {
        raw = bytes.substr(static_cast<size_t>(v.offset), static_cast<size_t>(v.width));
      }
    }
    switch (v.kind) {
      case VariableKind::kText:
        cell.text = v.memo ? raw : TrimRight(raw);
        cell.missing = false;
        break;
      case VariableKind::kCode:
        if (const std::optional<double> code = Code(TrimBlanks(raw), v.other_code)) {
          cell.number = *code;
          cell.missing = false;
        }
        break;
      case VariableKind::kTick: {
        const std::string_view t = TrimBlanks(raw);
        cell.missing = t.empty();
        cell.number = t == "Y" ? 1 : 0;
        break;
      }
      case VariableKind::kNumber:
        if (const std::optional<double> x = DecodeNumber(raw)) {
          cell.number = *x;
          cell.missing = false;
        }
        break;
      case VariableKind::kDateTime:
        if (const std::optional<int64_t> s = StampSeconds(TrimBlanks(raw))) {
          cell.number = static_cast<double>(*s);
          cell.missing = false;
        }
        break;
    }
  }
}

}  // namespace quorvant
