// The Qt application that drawing a chart needs: text is laid out with the
// platform's fonts, which need no display when Qt runs offscreen.
#pragma once

#include <QGuiApplication>
#include <memory>

namespace quorvant::cli {

// Starts the application offscreen unless QT_QPA_PLATFORM says otherwise.
std::unique_ptr<QGuiApplication> StartOffscreenGui();

}  // namespace quorvant::cli
