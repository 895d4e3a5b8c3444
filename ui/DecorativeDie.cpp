#include "ui/DecorativeDie.h"

#include "ui/Random.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace ui {

DecorativeDie::DecorativeDie(QWidget* parent) : QWidget(parent)
{
    Random::seedFromClock();
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Die"));
    setAccessibleDescription(QStringLiteral("Face 1"));
}

QPixmap DecorativeDie::facePicture(int face)
{
    // Pips on a 3 x 3 grid, as a die shows them.
    static const int pips[7][7][2] = {
        {},
        {{1, 1}},
        {{0, 0}, {2, 2}},
        {{0, 0}, {1, 1}, {2, 2}},
        {{0, 0}, {2, 0}, {0, 2}, {2, 2}},
        {{0, 0}, {2, 0}, {1, 1}, {0, 2}, {2, 2}},
        {{0, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {2, 2}},
    };
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(250, 250, 245));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(face == 1 ? QColor(200, 30, 30) : QColor(30, 30, 30));
    for (int i = 0; i < face; ++i)
        p.drawEllipse(QPointF(16 + pips[face][i][0] * 16, 16 + pips[face][i][1] * 16), 6, 6);
    return pixmap;
}

void DecorativeDie::setValue(int face)
{
    value_ = std::clamp(face, 1, 6);
    setAccessibleDescription(QStringLiteral("Face %1").arg(value_));
    update();
}

void DecorativeDie::setRotate(bool on)
{
    if (on == rotate()) return;
    if (on) {
        timer_ = new QTimer(this);
        timer_->setInterval(60);
        connect(timer_, &QTimer::timeout, this, &DecorativeDie::tick);
        timer_->start();
    }
    else {
        delete timer_;
        timer_ = nullptr;
    }
}

void DecorativeDie::tick()
{
    int face = value_;
    while (face == value_)
        face = Random::below(6) + 1;
    setValue(face);
}

void DecorativeDie::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect().adjusted(1, 1, -1, -1), facePicture(value_));
}

void DecorativeDie::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace ui
