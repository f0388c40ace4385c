// The windows' action registry: actions made once under their object name,
// and a name that was never made caught at once instead of answered with an
// empty entry.
#include "app/shell/action_registry.h"

#include <QAction>
#include <QMainWindow>
#include <QtTest>
#include <stdexcept>

using namespace quorvant;

namespace {

struct Counter : QObject {
  void Hit() { ++hits; }
  int hits = 0;
};

// The text of the std::logic_error that `call` throws; empty when it throws
// nothing.
template <typename F>
QString LogicError(F call) {
  try {
    call();
  } catch (const std::logic_error& e) {
    return QString::fromUtf8(e.what());
  }
  return {};
}

}  // namespace

class ActionRegistryTest : public QObject {
  Q_OBJECT

 private slots:
  void madeActionsAreFoundAndMisspeltNamesCaught();
};

void ActionRegistryTest::madeActionsAreFoundAndMisspeltNamesCaught() {
  QMainWindow window;
  Counter counter;
  app::ActionRegistry actions(&window);
  QAction* open = actions.Make("miFileOpen", "&Open...", &counter, &Counter::Hit);
  QAction* close = actions.Make("miFileClose", "&Close", &counter, nullptr);
  QCOMPARE(actions.Get("miFileOpen"), open);
  QCOMPARE(actions.Get("miFileClose"), close);
  QCOMPARE(open->parent(), &window);
  QCOMPARE(window.findChild<QAction*>("miFileOpen"), open);
  QCOMPARE(open->text(), "&Open...");
  open->trigger();
  close->trigger();
  QCOMPARE(counter.hits, 1);

  for (const char* misspelt : {"miFileOpn", "mifileopen", "miFileOpen ", ""}) {
    QCOMPARE(LogicError([&] { actions.Get(misspelt); }), QString("No action named ") + misspelt);
  }
  QCOMPARE(LogicError([&] { actions.Make("miFileOpen", "again"); }),
           "Action made twice: miFileOpen");
  QCOMPARE(actions.size(), size_t(2));  // nothing was added by the slips
  QCOMPARE(actions.Get("miFileOpen"), open);
  QCOMPARE(window.findChildren<QAction*>().size(), 2);
}

QTEST_MAIN(ActionRegistryTest)
#include "action_registry_test.moc"
