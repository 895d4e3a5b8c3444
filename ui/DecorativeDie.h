#pragma once

#include <QPixmap>
#include <QWidget>

class QTimer;

namespace ui {

// A small die to click: it shows one of six faces, and while rotating shows a new face every
// 60 ms, never the same one twice in a row, until it is clicked again.
class DecorativeDie : public QWidget {
    Q_OBJECT

public:
    explicit DecorativeDie(QWidget* parent = nullptr);

    int value() const { return value_; }
    void setValue(int face);
    bool rotate() const { return timer_ != nullptr; }
    void setRotate(bool on);
    void tick();                          // one step of the rotation
    static QPixmap facePicture(int face); // 64 x 64

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int value_ = 1;
    QTimer* timer_ = nullptr;
};

} // namespace ui
