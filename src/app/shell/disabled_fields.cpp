#include "app/shell/disabled_fields.h"

#include <QPalette>
#include <QWidget>

namespace quorvant::app {

void GreyWhenDisabled(QWidget& widget) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Disabled, QPalette::Base,
                   palette.color(QPalette::Active, QPalette::Button));
  widget.setPalette(palette);
}

}  // namespace quorvant::app
