#include "app/shell/action_registry.h"

#include <stdexcept>

namespace quorvant::app {

QAction* ActionRegistry::Make(const char* name, const QString& text) {
  if (actions_.find(std::string_view(name)) != actions_.end()) {
    throw std::logic_error(std::string("Action made twice: ") + name);
  }
  auto* action = new QAction(text, window_);
  action->setObjectName(name);
  actions_.emplace(name, action);
  return action;
}

QAction* ActionRegistry::Get(std::string_view name) const {
  const auto found = actions_.find(name);
  if (found == actions_.end()) throw std::logic_error("No action named " + std::string(name));
  return found->second;
}

}  // namespace quorvant::app
