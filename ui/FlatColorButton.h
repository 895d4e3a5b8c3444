#pragma once

#include <QColor>
#include <QPushButton>

namespace ui {

// A push button filled in one flat colour inside a border of another, with its caption in the
// window's text colour: no gradient, no text shadow, no change of look under the mouse.
class FlatColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit FlatColorButton(QWidget* parent = nullptr);
    explicit FlatColorButton(const QString& caption, QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);
    QColor borderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = Qt::lightGray;
    QColor borderColor_ = Qt::gray;
};

} // namespace ui
