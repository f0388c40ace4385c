// Entry fields and lists that show whether they take input by their
// background: the window colour while enabled, the button-face colour while
// disabled.
#pragma once

class QWidget;

namespace quorvant::app {

// Gives the widget's disabled look the button-face background.
void GreyWhenDisabled(QWidget& widget);

}  // namespace quorvant::app
