#include "app/window_placement.h"

#include <QSettings>

#include <algorithm>
#include <cmath>

namespace qtx::app {

int PixelsToTwips(int pixels, double dpi) { return static_cast<int>(std::lround(pixels * 1440.0 / dpi)); }

int TwipsToPixels(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

QRect ReadWindowPlacement(const QRect& screen, double dpi)
{
    QSettings store("QTX", "QTX");
    store.beginGroup("Settings");
    auto twips = [&](const char* key, int fallbackTwips) {
        bool ok = false;
        const int v = store.value(key).toString().toInt(&ok);
        return ok ? v : fallbackTwips;
    };
    const int left = twips("MainLeft", 0);
    const int top = twips("MainTop", 0);
    const int width = std::max(twips("MainWidth", PixelsToTwips(screen.width(), dpi)), kMinWindowTwips);
    const int height = std::max(twips("MainHeight", PixelsToTwips(screen.height(), dpi)), kMinWindowTwips);
    return QRect(TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(width, dpi), TwipsToPixels(height, dpi));
}

QRect FitIntoScreen(const QRect& placed, const QRect& available, const QMargins& frame)
{
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const QSize inner = placed.size()
                            .boundedTo(QSize(available.width() - frameWidth, available.height() - frameHeight))
                            .expandedTo(QSize(1, 1));
    const int x = std::clamp(placed.x(), available.left(),
                             std::max(available.left(), available.left() + available.width() - inner.width() - frameWidth));
    const int y = std::clamp(placed.y(), available.top(),
                             std::max(available.top(), available.top() + available.height() - inner.height() - frameHeight));
    return QRect(QPoint(x, y), inner);
}

void WriteWindowPlacement(const QRect& g, double dpi)
{
    QSettings store("QTX", "QTX");
    store.beginGroup("Settings");
    store.setValue("MainLeft", QString::number(PixelsToTwips(g.left(), dpi)));
    store.setValue("MainTop", QString::number(PixelsToTwips(g.top(), dpi)));
    store.setValue("MainWidth", QString::number(PixelsToTwips(g.width(), dpi)));
    store.setValue("MainHeight", QString::number(PixelsToTwips(g.height(), dpi)));
}

} // namespace qtx::app
