#include "ui/DecorativeDie.h"

#include "ui/Images.h"
#include "ui/Random.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace ui {

namespace {

// A die is a button for assistive tools: its press action clicks it; its value is the face.
class DieAccessible : public QAccessibleWidget {
public:
    explicit DieAccessible(DecorativeDie* die) : QAccessibleWidget(die, QAccessible::Button) {}

    DecorativeDie* die() const { return static_cast<DecorativeDie*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) return QString::number(die()->value());
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction()) emit die()->clicked();
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = false;
        s.animated = die()->rotate();
        return s;
    }
};

QAccessibleInterface* dieFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("ui::DecorativeDie") && object && object->isWidgetType())
        return new DieAccessible(static_cast<DecorativeDie*>(object));
    return nullptr;
}

} // namespace

DecorativeDie::DecorativeDie(QWidget* parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(dieFactory);
        return true;
    }();
    (void)factoryInstalled;
    images::ensureLoaded();
    random::randomize();
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAccessibleName(QStringLiteral("Die"));
    describe();
}

void DecorativeDie::setValue(int face)
{
    if (face < 1 || face > 6 || face == value_) return;
    value_ = face;
    describe();
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, value_);
        QAccessible::updateAccessibility(&event);
    }
    emit valueChanged(value_);
}

void DecorativeDie::setRotate(bool on)
{
    if (on == rotate()) return;
    if (on) {
        timer_ = new QTimer(this);
        timer_->setInterval(tickMs);
        connect(timer_, &QTimer::timeout, this, &DecorativeDie::tick);
        timer_->start();
    }
    else {
        timer_->stop();
        delete timer_;
        timer_ = nullptr;
    }
    describe();
}

void DecorativeDie::tick()
{
    int face = value_;
    while (face == value_)
        face = random::below(6) + 1;
    setValue(face);
}

void DecorativeDie::describe()
{
    setAccessibleDescription(rotate() ? QStringLiteral("Face %1, rotating").arg(value_)
                                      : QStringLiteral("Face %1").arg(value_));
}

void DecorativeDie::paintEvent(QPaintEvent*)
{
    const QRect target = rect().adjusted(1, 1, -1, -1);
    if (target.isEmpty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, images::dieFace(value_));
}

void DecorativeDie::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void DecorativeDie::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

} // namespace ui
