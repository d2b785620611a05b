#include "program_icon.h"

#include <QColor>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace qtx::tools;

TEST(ProgramIconTest, EverySizeIsTheTileOnATransparentGround)
{
    for (int size : {16, 22, 48, 256}) {
        SCOPED_TRACE(size);
        const QImage img = ProgramIconImage(size);
        ASSERT_EQ(img.size(), QSize(size, size));
        ASSERT_TRUE(img.hasAlphaChannel());
        // Rounded corners stay see-through; the middle is fully painted.
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(img.pixel(size - 1, size - 1)), 0);
        EXPECT_EQ(qAlpha(img.pixel(size / 2, size / 2)), 255);
    }
}

namespace {

struct SvgArc {
    double x1, y1, r;
    int large, sweep;
    double x2, y2;
};

// The middle of an SVG arc of a circle, the way an SVG viewer finds it.
QPointF arcMiddle(const SvgArc& a)
{
    const double hx = (a.x1 - a.x2) / 2, hy = (a.y1 - a.y2) / 2;
    const double k = std::sqrt(std::max(0.0, (a.r * a.r - hx * hx - hy * hy) / (hx * hx + hy * hy)));
    const double sign = a.large != a.sweep ? 1 : -1;
    const double cx = sign * k * hy + (a.x1 + a.x2) / 2;
    const double cy = sign * k * -hx + (a.y1 + a.y2) / 2;
    const double t1 = std::atan2(a.y1 - cy, a.x1 - cx);
    double delta = std::atan2(a.y2 - cy, a.x2 - cx) - t1;
    const double turn = 2 * std::numbers::pi;
    if (a.sweep == 1 && delta < 0)
        delta += turn;
    if (a.sweep == 0 && delta > 0)
        delta -= turn;
    return {cx + a.r * std::cos(t1 + delta / 2), cy + a.r * std::sin(t1 + delta / 2)};
}

} // namespace

TEST(ProgramIconTest, SvgIsWellFormedAndDrawsWhereThePngDoes)
{
    const QByteArray svg = ProgramIconSvg();
    QXmlStreamReader xml(svg);
    QSet<QString> gradients, used;
    QList<SvgArc> arcs;
    const QRegularExpression arcPath(
        R"(^M ([-\d.]+) ([-\d.]+) A ([\d.]+) \3 0 ([01]) ([01]) ([-\d.]+) ([-\d.]+)$)");
    bool root = true;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attr = xml.attributes();
        if (root) {
            EXPECT_EQ(xml.name(), u"svg");
            EXPECT_EQ(attr.value("viewBox"), u"0 0 256 256");
            root = false;
        }
        if (xml.name() == u"linearGradient")
            gradients << attr.value("id").toString();
        const QString fill = attr.value("fill").toString();
        if (fill.startsWith("url(#"))
            used << fill.mid(5, fill.size() - 6);
        if (xml.name() == u"path") {
            const auto m = arcPath.match(attr.value("d").toString());
            ASSERT_TRUE(m.hasMatch()) << attr.value("d").toString().toStdString();
            arcs << SvgArc{m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                           m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toDouble(),
                           m.captured(7).toDouble()};
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_FALSE(gradients.isEmpty());
    EXPECT_EQ(used, gradients); // every fill refers to a gradient that exists, and none is left over

    // The radio waves: each arc's middle, as an SVG viewer bends it, is
    // light in the PNG too; an arc bent the wrong way would sit on the blue.
    ASSERT_EQ(arcs.size(), 4);
    const QImage png = ProgramIconImage(256);
    for (const SvgArc& arc : arcs) {
        const QPoint p = arcMiddle(arc).toPoint();
        SCOPED_TRACE(::testing::Message() << "arc middle " << p.x() << "," << p.y());
        EXPECT_GT(qRed(png.pixel(p)), 130);
    }
}
