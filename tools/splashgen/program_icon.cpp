#include "program_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cmath>
#include <numbers>
#include <vector>

namespace qtx::tools {

namespace {

constexpr double kUnits = 256;

// A linear gradient between two points; a plain colour when both ends agree.
struct Fill {
    QColor from, to;
    QPointF start, end;
};

struct Shape {
    enum Kind { RoundedRect, Circle, Line, Arc } kind = RoundedRect;
    QRectF rect;        // RoundedRect; the circle's square for Circle and Arc
    double radius = 0;  // RoundedRect corners
    Fill fill;          // RoundedRect, Circle
    QPointF a, b;       // Line
    double startDegrees = 0, spanDegrees = 0; // Arc, counter-clockwise from three o'clock
    QColor pen;         // Line, Arc
    double width = 0;
};

Fill vertical(const QRectF& r, QColor top, QColor bottom) { return {top, bottom, r.topLeft(), r.bottomLeft()}; }

Shape area(Shape::Kind kind, const QRectF& rect, double radius, const Fill& fill)
{
    Shape s;
    s.kind = kind;
    s.rect = rect;
    s.radius = radius;
    s.fill = fill;
    return s;
}

Shape stroke(Shape::Kind kind, const QColor& pen, double width)
{
    Shape s;
    s.kind = kind;
    s.pen = pen;
    s.width = width;
    return s;
}

QRectF around(QPointF centre, double radius) { return {centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius}; }

// A mobile radio front with its antenna sending, on the start-up pictures' blue.
std::vector<Shape> iconShapes()
{
    std::vector<Shape> s;
    const QRectF tile(8, 8, 240, 240);
    s.push_back(area(Shape::RoundedRect, tile, 44, {QColor(14, 44, 92), QColor(8, 108, 150), tile.topLeft(), tile.bottomRight()}));

    const QPointF tip(184, 54);
    const QColor wave[] = {QColor(255, 255, 255, 235), QColor(255, 255, 255, 150)};
    for (int ring = 0; ring < 2; ++ring)
        for (double start : {-45.0, 135.0}) {
            Shape arc = stroke(Shape::Arc, wave[ring], 9);
            arc.rect = around(tip, 28 + ring * 22);
            arc.startDegrees = start;
            arc.spanDegrees = 90;
            s.push_back(arc);
        }
    Shape antenna = stroke(Shape::Line, QColor(210, 216, 224), 10);
    antenna.a = QPointF(184, 128);
    antenna.b = tip;
    s.push_back(antenna);
    s.push_back(area(Shape::Circle, around(tip, 10), 0, vertical(around(tip, 10), Qt::white, Qt::white)));

    const QRectF body(26, 124, 204, 94);
    s.push_back(area(Shape::RoundedRect, body, 18, vertical(body, QColor(92, 102, 118), QColor(30, 34, 42))));
    const QRectF display(78, 140, 100, 40);
    s.push_back(area(Shape::RoundedRect, display, 8, vertical(display, QColor(170, 230, 255), QColor(70, 160, 220))));
    for (double x : {52.0, 204.0}) {
        const QRectF knob = around(QPointF(x, 171), 15);
        s.push_back(area(Shape::Circle, knob, 0, vertical(knob, QColor(190, 198, 210), QColor(60, 66, 78))));
    }
    for (int k = 0; k < 5; ++k) {
        const QRectF key(78 + k * 21, 190, 16, 12);
        s.push_back(area(Shape::RoundedRect, key, 3, vertical(key, QColor(214, 220, 228), QColor(214, 220, 228))));
    }
    return s;
}

QBrush brush(const Fill& f)
{
    if (f.from == f.to)
        return f.from;
    QLinearGradient g(f.start, f.end);
    g.setColorAt(0, f.from);
    g.setColorAt(1, f.to);
    return g;
}

QString number(double v) { return QString::number(v, 'g', 6); }

QString colour(const QColor& c, const char* what)
{
    QString text = QString("%1=\"%2\"").arg(what, c.name(QColor::HexRgb));
    if (c.alpha() != 255)
        text += QString(" %1-opacity=\"%2\"").arg(what, number(c.alphaF()));
    return text;
}

QPointF onCircle(const QRectF& r, double degrees)
{
    const double a = degrees * std::numbers::pi / 180;
    return {r.center().x() + r.width() / 2 * std::cos(a), r.center().y() - r.height() / 2 * std::sin(a)};
}

} // namespace

QImage ProgramIconImage(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kUnits, size / kUnits);
    for (const Shape& s : iconShapes()) {
        switch (s.kind) {
        case Shape::RoundedRect:
        case Shape::Circle:
            p.setPen(Qt::NoPen);
            p.setBrush(brush(s.fill));
            if (s.kind == Shape::Circle)
                p.drawEllipse(s.rect);
            else
                p.drawRoundedRect(s.rect, s.radius, s.radius);
            break;
        case Shape::Line:
        case Shape::Arc:
            p.setPen(QPen(s.pen, s.width, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            if (s.kind == Shape::Line)
                p.drawLine(s.a, s.b);
            else
                p.drawArc(s.rect, int(std::lround(s.startDegrees * 16)), int(std::lround(s.spanDegrees * 16)));
            break;
        }
    }
    return img;
}

QByteArray ProgramIconSvg()
{
    QString defs, body;
    int gradients = 0;
    const auto fillAttribute = [&](const Fill& f) {
        if (f.from == f.to)
            return colour(f.from, "fill");
        const QString id = QString("g%1").arg(++gradients);
        defs += QString("    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" x1=\"%2\" y1=\"%3\" x2=\"%4\" y2=\"%5\">\n"
                        "      <stop offset=\"0\" stop-color=\"%6\"/>\n      <stop offset=\"1\" stop-color=\"%7\"/>\n"
                        "    </linearGradient>\n")
                    .arg(id, number(f.start.x()), number(f.start.y()), number(f.end.x()), number(f.end.y()),
                         f.from.name(QColor::HexRgb), f.to.name(QColor::HexRgb));
        return QString("fill=\"url(#%1)\"").arg(id);
    };
    for (const Shape& s : iconShapes()) {
        switch (s.kind) {
        case Shape::RoundedRect:
            body += QString("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" %6/>\n")
                        .arg(number(s.rect.x()), number(s.rect.y()), number(s.rect.width()), number(s.rect.height()),
                             number(s.radius), fillAttribute(s.fill));
            break;
        case Shape::Circle:
            body += QString("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" %4/>\n")
                        .arg(number(s.rect.center().x()), number(s.rect.center().y()), number(s.rect.width() / 2),
                             fillAttribute(s.fill));
            break;
        case Shape::Line:
            body += QString("  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" %5 stroke-width=\"%6\" stroke-linecap=\"round\"/>\n")
                        .arg(number(s.a.x()), number(s.a.y()), number(s.b.x()), number(s.b.y()), colour(s.pen, "stroke"),
                             number(s.width));
            break;
        case Shape::Arc: {
            // Counter-clockwise on screen is SVG's negative sweep.
            const QPointF from = onCircle(s.rect, s.startDegrees);
            const QPointF to = onCircle(s.rect, s.startDegrees + s.spanDegrees);
            const double r = s.rect.width() / 2;
            body += QString("  <path d=\"M %1 %2 A %3 %3 0 %4 %5 %6 %7\" fill=\"none\" %8 stroke-width=\"%9\" "
                            "stroke-linecap=\"round\"/>\n")
                        .arg(number(from.x()), number(from.y()), number(r), std::abs(s.spanDegrees) > 180 ? "1" : "0",
                             s.spanDegrees > 0 ? "0" : "1", number(to.x()), number(to.y()), colour(s.pen, "stroke"),
                             number(s.width));
            break;
        }
        }
    }
    const QString svg = QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n"
                                "  <defs>\n%2  </defs>\n%3</svg>\n")
                            .arg(number(kUnits), defs, body);
    return svg.toUtf8();
}

} // namespace qtx::tools
