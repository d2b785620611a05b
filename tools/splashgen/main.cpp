// Draws the start-up pictures StartE.jpg (English) and StartC.jpg (Chinese),
// or the program icon in the sizes of an icon theme.
// Usage: qtx-splashgen <output folder>
//        qtx-splashgen --icons <theme folder> <icon name>

#include "program_icon.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

namespace {

struct Captions {
    QString subtitle;
    QString line;
    QString family;
};

void drawRadio(QPainter& p, const QRectF& r)
{
    // A stylised mobile radio front: body, display, knobs and keys.
    p.setPen(Qt::NoPen);
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, QColor(70, 78, 92));
    body.setColorAt(1, QColor(28, 32, 40));
    p.setBrush(body);
    p.drawRoundedRect(r, 14, 14);

    const QRectF display(r.left() + r.width() * 0.28, r.top() + r.height() * 0.2, r.width() * 0.44, r.height() * 0.34);
    QLinearGradient lcd(display.topLeft(), display.bottomLeft());
    lcd.setColorAt(0, QColor(150, 220, 255));
    lcd.setColorAt(1, QColor(70, 160, 220));
    p.setBrush(lcd);
    p.drawRoundedRect(display, 6, 6);
    p.setPen(QColor(10, 40, 70));
    QFont f("DejaVu Sans Mono");
    f.setPixelSize(int(display.height() * 0.42));
    f.setBold(true);
    p.setFont(f);
    p.drawText(display, Qt::AlignCenter, "145.500");

    p.setPen(Qt::NoPen);
    for (int side = 0; side < 2; ++side) {
        const double cx = side == 0 ? r.left() + r.width() * 0.13 : r.right() - r.width() * 0.13;
        const QPointF c(cx, r.center().y());
        QRadialGradient knob(c - QPointF(4, 4), r.height() * 0.3);
        knob.setColorAt(0, QColor(160, 168, 180));
        knob.setColorAt(1, QColor(40, 44, 52));
        p.setBrush(knob);
        p.drawEllipse(c, r.height() * 0.22, r.height() * 0.22);
    }
    p.setBrush(QColor(200, 206, 214));
    const double keyW = display.width() / 5 - 6;
    for (int k = 0; k < 5; ++k)
        p.drawRoundedRect(QRectF(display.left() + k * (keyW + 7.5), r.top() + r.height() * 0.68, keyW, r.height() * 0.13), 3, 3);
}

QImage drawSplash(const Captions& c)
{
    QImage img(560, 340, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient bg(0, 0, 560, 340);
    bg.setColorAt(0, QColor(14, 44, 92));
    bg.setColorAt(1, QColor(8, 108, 150));
    p.fillRect(img.rect(), bg);

    // Radio waves from the antenna corner.
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 6; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 60 - i * 8), 3));
        p.drawArc(QRectF(470 - i * 34, -60 - i * 34, i * 68, i * 68), 180 * 16, 180 * 16);
    }

    QFont title(c.family);
    title.setPixelSize(72);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(36, 28, 300, 90), Qt::AlignLeft | Qt::AlignVCenter, "QTX");

    QFont model(c.family);
    model.setPixelSize(26);
    p.setFont(model);
    p.setPen(QColor(180, 225, 255));
    p.drawText(QRect(40, 112, 480, 34), Qt::AlignLeft | Qt::AlignVCenter, "QM-5210");

    QFont sub(c.family);
    sub.setPixelSize(20);
    p.setFont(sub);
    p.setPen(Qt::white);
    p.drawText(QRect(40, 146, 480, 30), Qt::AlignLeft | Qt::AlignVCenter, c.subtitle);

    drawRadio(p, QRectF(130, 200, 300, 100));

    QFont small(c.family);
    small.setPixelSize(13);
    p.setFont(small);
    p.setPen(QColor(200, 220, 240));
    p.drawText(QRect(0, 308, 560, 26), Qt::AlignCenter, c.line);
    return img;
}

// <theme>/scalable/apps/<name>.svg and <theme>/<n>x<n>/apps/<name>.png.
bool writeIcons(const QString& theme, const QString& name)
{
    const QString scalable = theme + "/scalable/apps";
    QFile svg(scalable + "/" + name + ".svg");
    if (!QDir().mkpath(scalable) || !svg.open(QIODevice::WriteOnly) || svg.write(qtx::tools::ProgramIconSvg()) < 0)
        return false;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QString("%1/%2x%2/apps").arg(theme).arg(size);
        if (!QDir().mkpath(dir) || !qtx::tools::ProgramIconImage(size).save(dir + "/" + name + ".png", "PNG"))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && QString(argv[1]) == "--icons")
        return writeIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    if (argc < 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const Captions english{"Radio Programming Software", "Analog FM mobile radio  ·  read, edit, write", "DejaVu Sans"};
    const Captions chinese{QString::fromUtf8("对讲机编程软件"), QString::fromUtf8("模拟调频车载电台  ·  读取、编辑、写入"),
                           "WenQuanYi Micro Hei"};
    const bool ok = drawSplash(english).save(dir + "/StartE.jpg", "JPG", 92) &&
                    drawSplash(chinese).save(dir + "/StartC.jpg", "JPG", 92);
    return ok ? 0 : 1;
}
