// The Qt application of the commands that need Qt: the event loop of the
// network commands, and the GUI layer of the drawing and printing ones
// (text is laid out with the platform's fonts, which need no display when
// Qt runs offscreen).
#pragma once

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

namespace quorvant::cli {

// The event loop alone, for the commands that use the network.
std::unique_ptr<QCoreApplication> StartQtCore();

// The GUI layer, offscreen unless QT_QPA_PLATFORM says otherwise.
std::unique_ptr<QGuiApplication> StartOffscreenGui();

}  // namespace quorvant::cli
