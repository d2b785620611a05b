#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qtx::app {

namespace {

void drawPage(QPainter& p, const QColor& fill)
{
    QPainterPath page;
    page.moveTo(6, 3);
    page.lineTo(19, 3);
    page.lineTo(25, 9);
    page.lineTo(25, 28);
    page.lineTo(6, 28);
    page.closeSubpath();
    p.setPen(QPen(QColor(70, 80, 100), 1.5));
    p.setBrush(fill);
    p.drawPath(page);
    p.drawLine(QPointF(19, 3), QPointF(19, 9));
    p.drawLine(QPointF(19, 9), QPointF(25, 9));
}

void drawRadio(QPainter& p)
{
    p.setPen(QPen(QColor(40, 44, 52), 1.5));
    p.setBrush(QColor(80, 88, 104));
    p.drawRoundedRect(QRectF(3, 13, 26, 15), 3, 3);
    p.setBrush(QColor(120, 200, 250));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(9, 16, 14, 6));
    p.setPen(QPen(QColor(40, 44, 52), 2));
    p.drawLine(QPointF(24, 13), QPointF(27, 4));
}

void drawArrow(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    p.drawLine(to, to - d * 5 + n * 4);
    p.drawLine(to, to - d * 5 - n * 4);
}

} // namespace

QIcon DrawToolIcon(ToolIcon kind)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case ToolIcon::New:
        drawPage(p, Qt::white);
        p.setPen(QPen(QColor(40, 150, 60), 2.5));
        p.drawLine(QPointF(15.5, 13), QPointF(15.5, 23));
        p.drawLine(QPointF(10.5, 18), QPointF(20.5, 18));
        break;
    case ToolIcon::Open:
        p.setPen(QPen(QColor(150, 110, 30), 1.5));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(3, 9, 26, 18));
        p.setBrush(QColor(250, 220, 120));
        p.drawPolygon(QPolygonF({QPointF(3, 27), QPointF(8, 14), QPointF(31, 14), QPointF(29, 27)}));
        break;
    case ToolIcon::Save:
        p.setPen(QPen(QColor(30, 50, 90), 1.5));
        p.setBrush(QColor(60, 100, 170));
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.setBrush(QColor(200, 210, 230));
        p.drawRect(QRectF(8, 18, 16, 10));
        break;
    case ToolIcon::Read:
        drawRadio(p);
        drawArrow(p, QPointF(16, 2), QPointF(16, 12), QColor(30, 140, 60));
        break;
    case ToolIcon::Write:
        drawRadio(p);
        drawArrow(p, QPointF(16, 12), QPointF(16, 2), QColor(200, 70, 40));
        break;
    case ToolIcon::Port:
        p.setPen(QPen(QColor(40, 44, 52), 1.5));
        p.setBrush(QColor(210, 215, 225));
        p.drawPolygon(QPolygonF({QPointF(3, 10), QPointF(29, 10), QPointF(25, 22), QPointF(7, 22)}));
        p.setBrush(QColor(40, 44, 52));
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(QPointF(8.5 + i * 3.75, 14), 1.2, 1.2);
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(10.5 + i * 3.75, 18), 1.2, 1.2);
        break;
    case ToolIcon::About:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 110, 200));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 14), QPointF(16, 23));
        p.drawPoint(QPointF(16, 9));
        break;
    }
    return QIcon(pm);
}

} // namespace qtx::app
