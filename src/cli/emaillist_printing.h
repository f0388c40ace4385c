// Printing an e-mail list into a PDF file from the command line, through the
// printed reports' canvas (which needs Qt's GUI layer, started here without
// a display).
#pragma once

#include <string>

namespace quorvant {
class TEmailList;
}

namespace quorvant::cli {

// False, with the message on stderr, when the file cannot be written.
bool PrintEmailListToPdf(quorvant::TEmailList& list, const std::string& pdf_path);

}  // namespace quorvant::cli
