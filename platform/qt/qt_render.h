// Rendering a painting document window to an image without showing it:
// the window's pane is given the size, painted with its visible child
// panes (each at its place, with plain scroll bars where the pane shows
// them) through the Qt canvas, and the picture saved. Works without a
// display: when no Qt application exists one is made on the offscreen
// platform (and kept for later calls).
#pragma once

#include <QImage>

#include <string>

#include "dv/window.h"

namespace dv::qt {

// The Qt application that painting without a display needs, made when
// none exists yet.
void ensureApplication();

// The pane and its visible children painted into a width x height image.
QImage renderPane(dv::Pane& pane, int width, int height);
// The window's pane rendered and written as PNG; false when the window does
// not paint, the size is not positive or the file could not be written.
bool renderDocWindow(dv::DocWindow& window, int width, int height, const std::string& pngPath);

}  // namespace dv::qt
