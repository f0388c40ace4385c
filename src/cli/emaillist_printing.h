// Printing an e-mail list into a PDF file from the command line, through the
// printed reports' canvas (which needs Qt's GUI layer, started here without
// a display).
#pragma once

#include <string>

namespace quorvant::cli {

// quorvant-cli emaillist print: the list in list_file printed into pdf_path.
// The exit status: 1, with the message on stderr, when the list cannot be
// read or the file cannot be written.
int RunEmailListPrint(const std::string& list_file, const std::string& pdf_path);

}  // namespace quorvant::cli
