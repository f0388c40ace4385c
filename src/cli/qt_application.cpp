#include "cli/qt_application.h"

#include <cstdlib>

namespace quorvant::cli {
namespace {

// Qt keeps the arguments for the application's whole life.
int argc = 1;
char program[] = "quorvant-cli";
char* argv[] = {program, nullptr};

}  // namespace

std::unique_ptr<QCoreApplication> StartQtCore() {
  return std::make_unique<QCoreApplication>(argc, argv);
}

std::unique_ptr<QGuiApplication> StartOffscreenGui() {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace quorvant::cli
