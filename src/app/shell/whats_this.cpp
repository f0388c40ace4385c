#include "app/shell/whats_this.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>
#include <QWhatsThis>
#include <QWidget>

namespace quorvant::app {
namespace {

// Text fields start from their own editing menu so that cut, copy and
// paste stay where people expect them.
QMenu* StandardMenu(QWidget* control) {
  if (auto* line = qobject_cast<QLineEdit*>(control)) return line->createStandardContextMenu();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
    return plain->createStandardContextMenu();
  }
  if (auto* rich = qobject_cast<QTextEdit*>(control)) return rich->createStandardContextMenu();
  return nullptr;
}

// A toolbar's buttons are made by the toolbar and carry their action's name.
QString NameOf(QWidget* control) {
  if (auto* tool = qobject_cast<QToolButton*>(control); tool && tool->defaultAction()) {
    return tool->defaultAction()->objectName();
  }
  return control->objectName();
}

void ShowAt(QWidget* control, const QPoint& pos) {
  QWhatsThis::showText(control->mapToGlobal(pos), control->whatsThis(), control);
}

void PopUp(QWidget* control, const QPoint& pos) {
  QMenu* menu = WhatsThisMenuFor(control);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  // The explanation appears where the menu was asked for.
  QObject::connect(menu->actions().constLast(), &QAction::triggered, control,
                   [control, pos] { ShowAt(control, pos); });
  menu->popup(control->mapToGlobal(pos));
}

// A disabled control refuses its pop-up request, yet its explanation is
// often what says why it is disabled; the request is taken before the
// control sees it.
class DisabledControlMenu : public QObject {
 public:
  explicit DisabledControlMenu(QWidget* control) : QObject(control), control_(control) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != control_ || event->type() != QEvent::ContextMenu || control_->isEnabled())
      return false;
    PopUp(control_, static_cast<QContextMenuEvent*>(event)->pos());
    return true;
  }

 private:
  QWidget* control_;
};

void Attach(QWidget* control) {
  control->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(control, &QWidget::customContextMenuRequested, control,
                   [control](const QPoint& pos) { PopUp(control, pos); });
  control->installEventFilter(new DisabledControlMenu(control));
}

}  // namespace

QMenu* WhatsThisMenuFor(QWidget* control) {
  QMenu* menu = StandardMenu(control);
  if (menu != nullptr) {
    menu->setParent(control, menu->windowFlags());
    menu->addSeparator();
  } else {
    menu = new QMenu(control);
  }
  menu->setObjectName("pmWhatsThis");
  QAction* action = menu->addAction(kWhatsThisCaption);
  action->setObjectName("miWhatsThis");
  return menu;
}

void InstallWhatsThis(QWidget* root) {
  const QString window = root->objectName();
  InstallWhatsThis(root, [&window](const QString& name) { return WhatsThisText(window, name); });
}

void InstallWhatsThis(QWidget* root, const std::function<QString(const QString&)>& text_of) {
  QList<QWidget*> controls = root->findChildren<QWidget*>();
  controls.prepend(root);
  for (QWidget* control : controls) {
    // Dialogs owned by this window install their own help.
    if (control->window() != root->window()) continue;
    const QString text = text_of(NameOf(control));
    if (text.isEmpty()) continue;
    control->setWhatsThis(text);
    if (control->contextMenuPolicy() == Qt::DefaultContextMenu) Attach(control);
  }
}

}  // namespace quorvant::app
