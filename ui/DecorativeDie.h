#pragma once

// The decorative die (the TJvDice of the windows): a square control that shows one of six face
// pictures (64 x 64 each), drawn to fit the control less a margin of one pixel on each side.
// Its state is its face (1 to 6) and whether it rotates. While it rotates, a 60 ms timer owned
// by the die shows a new face at every tick, drawn from the process-wide generator
// (ui/Random.h) until it differs from the face shown; switching rotation off stops and frees
// the timer and keeps the last face. Creating a die seeds the generator from the clock.
//
// A click emits clicked(); the owner decides what it does (its JvDice1Click toggles the
// rotation). The die takes no focus. Its hint is its tooltip; for assistive tools it is a
// button named "Die" whose value and description tell the face.

#include <QWidget>

class QTimer;

namespace ui {

class DecorativeDie : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(bool rotate READ rotate WRITE setRotate)
    Q_PROPERTY(QString hint READ hint WRITE setHint)

public:
    static constexpr int tickMs = 60;

    explicit DecorativeDie(QWidget* parent = nullptr);

    int value() const { return value_; }
    // Shows a face from 1 to 6; other values are ignored.
    void setValue(int face);

    bool rotate() const { return timer_ != nullptr; }
    void setRotate(bool on);

    QString hint() const { return toolTip(); }
    void setHint(const QString& text) { setToolTip(text); }

    // The rotation timer while rotating, null otherwise (for tests).
    QTimer* rotationTimer() const { return timer_; }

    // One tick of the rotation: shows a face other than the one shown.
    void tick();

    QSize sizeHint() const override { return {66, 66}; }

signals:
    void clicked();
    void valueChanged(int face);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void describe();

    int value_ = 1;
    QTimer* timer_ = nullptr;
    bool pressed_ = false;
};

} // namespace ui
