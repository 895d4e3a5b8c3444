#pragma once

#include <QMenu>
#include <QPointer>
#include <QPushButton>

namespace ui {

// A push button whose right end is an arrow strip: a press on the strip opens the button's
// drop-down menu at once below the button, and the button's own click does not happen; a
// press and release on the rest is an ordinary click. It takes no keyboard focus, so the
// drop-down is offered to assistive technology as an action of its own.
class ArrowButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr int arrowWidth = 13;

    explicit ArrowButton(QWidget* parent = nullptr);
    explicit ArrowButton(const QString& caption, QWidget* parent = nullptr);

    QMenu* dropDownMenu() const { return menu_; }
    void setDropDownMenu(QMenu* menu);

    // The strip the arrow is drawn in and that opens the menu.
    QRect arrowRect() const;

    // Opens the drop-down menu with its top-left corner at the button's bottom-left corner.
    void openDropDown();
    bool dropDownOpen() const { return menuOpen_; }

    QSize sizeHint() const override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QMenu> menu_;
    bool menuOpen_ = false;
};

} // namespace ui
