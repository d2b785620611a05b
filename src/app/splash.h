#pragma once
// frmSplash: the start-up picture for two seconds; a click closes it early.

#include <QTimer>
#include <QWidget>

namespace qtx::app {

class Splash : public QWidget {
    Q_OBJECT
public:
    // picture: StartE.jpg or StartC.jpg; when it cannot be loaded the
    // splash shows the program's name instead.
    explicit Splash(const QString& picture, int milliseconds = 2000);
    bool hasPicture() const { return !picture_.isNull(); }

signals:
    void finished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void finish();

    QPixmap picture_;
    QTimer timer_;
    bool done_ = false;
};

} // namespace qtx::app
