// The "&What's This?" explanations of the e-mail list manager's controls.
#pragma once

#include <QString>

namespace quorvant::app {

// The explanation of the control with this object name, "" when it has none.
QString EmailListWhatsThis(const QString& object_name);

}  // namespace quorvant::app
