#pragma once
// The main window's position and size in the per-user store (application
// QTX, group "Settings"), kept in twips as the program always has.

#include <QMargins>
#include <QRect>

class QWidget;

namespace qtx::app {

inline constexpr int kMinWindowTwips = 3000;

int PixelsToTwips(int pixels, double dpi);
int TwipsToPixels(int twips, double dpi);

// Defaults: 0, 0, the screen's width and height.
QRect ReadWindowPlacement(const QRect& screen, double dpi);
// `geometry`: the frame's top left corner and the inner size, as move() and
// resize() take them.
void WriteWindowPlacement(const QRect& geometry, double dpi);

// A placement (frame position, inner size) moved, and shrunk where it must
// be, so that the whole window with its frame and title bar lies inside
// `available`; one that already does is returned as it is.
QRect FitIntoScreen(const QRect& placed, const QRect& available, const QMargins& frame);

} // namespace qtx::app
