// ExportWriter: one file format of the response export. The run hands it
// the dictionary, then every record's cells in order, then asks it to
// finish; a writer streams the records to its file and keeps none of them
// (but for Stata's long texts, which the format stores after all records).
//
// Each writer cuts what its format cannot hold (see export_limits.h) and
// notes the first cut in the CutReport it was made with.
//
// Ownership: the CutReport and Env given to a factory must outlive the
// writer. Thread-safety: none. Failures throw std::runtime_error; a writer
// destroyed before Finish() leaves no file behind.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/env/env.h"
#include "core/export/export_dictionary.h"
#include "core/export/export_limits.h"
#include "core/export/record_cells.h"

namespace quorvant {

struct ExportOptions {
  // Option texts instead of codes, "Selected" / "Not selected" for boxes
  // (files without value labels of their own: .csv and .xlsx).
  bool labels = false;
};

class ExportWriter {
 public:
  virtual ~ExportWriter() = default;

  // True when Begin() needs the longest memo text of each text variable in
  // text_bytes (formats of fixed-width strings).
  virtual bool NeedsTextWidths() const { return false; }
  virtual void Begin(const VariableDictionary& dictionary, uint32_t records) = 0;
  virtual void Row(const std::vector<ExportCell>& cells) = 0;
  virtual void Finish() = 0;
};

using WriterFactory = std::unique_ptr<ExportWriter> (*)(const std::string& path,
                                                        const ExportOptions& options,
                                                        CutReport& report, Env& env);

std::unique_ptr<ExportWriter> MakeCsvWriter(const std::string& path, const ExportOptions& options,
                                            CutReport& report, Env& env);
std::unique_ptr<ExportWriter> MakeXlsxWriter(const std::string& path, const ExportOptions& options,
                                             CutReport& report, Env& env);
std::unique_ptr<ExportWriter> MakeSavWriter(const std::string& path, const ExportOptions& options,
                                            CutReport& report, Env& env);
std::unique_ptr<ExportWriter> MakeDtaWriter(const std::string& path, const ExportOptions& options,
                                            CutReport& report, Env& env);

}  // namespace quorvant
