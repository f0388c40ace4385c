#include "cli/offscreen_gui.h"

#include <cstdlib>

namespace quorvant::cli {

std::unique_ptr<QGuiApplication> StartOffscreenGui() {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "quorvant-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace quorvant::cli
