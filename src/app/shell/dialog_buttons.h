// The OK and Cancel buttons that end a dialog, named "btnOK" and
// "btnCancel", OK the default button.
#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QPushButton;
class QWidget;

namespace quorvant::app {

// Adds the two buttons to a new button box of the dialog, connected to
// accept() and reject(). `ok` receives the OK button when given.
QDialogButtonBox* MakeOkCancelButtons(QDialog& dialog, const char* ok_text,
                                      QPushButton** ok = nullptr);

// Adds "&Help" (named "btnHelp") to the box; it opens the help page `page`
// (a name under data/help, without ".html") in the browser.
QPushButton* AddHelpButton(QDialogButtonBox& buttons, const char* page);

// A button named `name` beside a list or a field, which Enter does not
// press (it is not an automatic default), so that Enter still means OK.
QPushButton* MakeSideButton(const char* name, const QString& text, QWidget* parent);

}  // namespace quorvant::app
