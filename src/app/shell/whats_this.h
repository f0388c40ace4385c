// Context help: the "&What's This?" entry on the pop-up menu of the
// controls of the main window and its dialogs. Choosing it shows a short
// explanation of the control the menu was opened on. Disabled controls
// offer it too: their explanation is where the person learns why.
//
// The explanations live in one table, keyed by the controls' object names,
// so that every window gets its help by one call at the end of its
// construction.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QMenu;
class QWidget;

namespace quorvant::app {

inline constexpr char kWhatsThisCaption[] = "&What's This?";

// The explanation of the control with this object name in the window with
// that object name, or "" when it has none.
QString WhatsThisText(const QString& window_name, const QString& object_name);

// Every key of the explanations (object names, some with their window's
// name in front), for checking the table against the windows.
QStringList WhatsThisNames();

// Gives root and each of its descendants that has an explanation its text
// and a pop-up menu offering "&What's This?". Text fields keep their usual
// editing menu, with the entry added at its end; a control that already
// has its own pop-up menu (the question list) gets only the text.
void InstallWhatsThis(QWidget* root);
// The same with a window's own explanations: `text_of(object_name)` gives a
// control's text, "" for none.
void InstallWhatsThis(QWidget* root, const std::function<QString(const QString&)>& text_of);

// The pop-up menu a control gets, parented to the control; exposed so that
// tests can look at it without opening it.
QMenu* WhatsThisMenuFor(QWidget* control);

}  // namespace quorvant::app
