#include "app/splash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace qtx::app {

Splash::Splash(const QString& picture, int milliseconds)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), picture_(picture)
{
    setObjectName("frmSplash");
    resize(picture_.isNull() ? QSize(480, 300) : picture_.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &Splash::finish);
    timer_.start(milliseconds);
}

void Splash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!picture_.isNull()) {
        p.drawPixmap(0, 0, picture_);
        return;
    }
    p.fillRect(rect(), QColor(14, 44, 92));
    p.setPen(Qt::white);
    QFont f = font();
    f.setPixelSize(48);
    f.setBold(true);
    p.setFont(f);
    p.drawText(rect(), Qt::AlignCenter, "QTX\nQM-5210");
}

void Splash::mousePressEvent(QMouseEvent*) { finish(); }

void Splash::finish()
{
    if (done_)
        return;
    done_ = true;
    timer_.stop();
    close();
    emit finished();
}

} // namespace qtx::app
