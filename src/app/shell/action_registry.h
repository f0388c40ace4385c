// ActionRegistry: the commands of one window, made in one place (the
// window's setupActions) and found afterwards by their object name, which is
// the documented name of their control. The actions are children of the
// window, which owns them; the registry only indexes them and lives as long
// as the window (a member of it).
//
// A name that was never made is a slip in the program, not a state to carry
// on from: looking it up throws instead of handing out an empty entry.
//
// Thread-safety: none; GUI thread only, like the window.
#pragma once

#include <QAction>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>

namespace quorvant::app {

class ActionRegistry {
 public:
  // `window` becomes the parent of every action made.
  explicit ActionRegistry(QObject* window) : window_(window) {}
  ActionRegistry(const ActionRegistry&) = delete;
  ActionRegistry& operator=(const ActionRegistry&) = delete;

  // A new action with the object name `name` and the caption `text`. Throws
  // std::logic_error naming it when the name has been made before.
  QAction* Make(const char* name, const QString& text);

  // The same, triggering `slot` of `receiver` when `slot` is given.
  template <typename Receiver>
  QAction* Make(const char* name, const QString& text, Receiver* receiver,
                std::type_identity_t<void (Receiver::*)()> slot) {
    QAction* action = Make(name, text);
    if (slot != nullptr) QObject::connect(action, &QAction::triggered, receiver, slot);
    return action;
  }

  // The action made as `name`. Throws std::logic_error naming it when no
  // action was made with that name; the registry stays as it was.
  QAction* Get(std::string_view name) const;

  size_t size() const { return actions_.size(); }

 private:
  QObject* window_;
  std::map<std::string, QAction*, std::less<>> actions_;
};

}  // namespace quorvant::app
