#pragma once
// The main window's position and size in the per-user store (application
// QTX, group "Settings"), kept in twips as the program always has.

#include <QRect>

class QWidget;

namespace qtx::app {

inline constexpr int kMinWindowTwips = 3000;

int PixelsToTwips(int pixels, double dpi);
int TwipsToPixels(int twips, double dpi);

// Defaults: 0, 0, the screen's width and height.
QRect ReadWindowPlacement(const QRect& screen, double dpi);
void WriteWindowPlacement(const QRect& geometry, double dpi);

} // namespace qtx::app
