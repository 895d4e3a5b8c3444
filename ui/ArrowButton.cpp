#include "ui/ArrowButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace ui {

namespace {

QString withoutMnemonics(QString caption)
{
    caption.replace(QLatin1String("&&"), QString(QChar(0xE000)));
    caption.remove(QLatin1Char('&'));
    caption.replace(QChar(0xE000), QLatin1Char('&'));
    return caption;
}

// The button cannot be reached with the keyboard, so assistive technology gets both of what
// the mouse can do with it: press it, and open its menu.
class ArrowButtonAccessible : public QAccessibleWidget {
public:
    explicit ArrowButtonAccessible(ArrowButton* button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? withoutMnemonics(button()->text()) : name;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->isDown();
        s.hasPopup = button()->dropDownMenu() != nullptr;
        s.expanded = button()->dropDownOpen();
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled()) {
            names << pressAction();
            if (button()->dropDownMenu()) names << showMenuAction();
        }
        return names;
    }

    void doAction(const QString& actionName) override
    {
        if (!widget()->isEnabled()) return;
        if (actionName == pressAction())
            button()->click();
        else if (actionName == showMenuAction())
            button()->openDropDown();
    }

private:
    ArrowButton* button() const { return static_cast<ArrowButton*>(widget()); }
};

QAccessibleInterface* arrowButtonAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("ui::ArrowButton") && object && object->isWidgetType())
        return new ArrowButtonAccessible(static_cast<ArrowButton*>(object));
    return nullptr;
}

} // namespace

ArrowButton::ArrowButton(QWidget* parent) : ArrowButton(QString(), parent) {}

ArrowButton::ArrowButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    static const bool registered = [] {
        QAccessible::installFactory(arrowButtonAccessible);
        return true;
    }();
    (void)registered;
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}

void ArrowButton::setDropDownMenu(QMenu* menu)
{
    if (menu_) disconnect(menu_, nullptr, this, nullptr);
    menu_ = menu;
    if (menu_)
        connect(menu_, &QMenu::aboutToHide, this, [this] {
            menuOpen_ = false;
            update();
        });
}

QRect ArrowButton::arrowRect() const
{
    return QRect(width() - arrowWidth, 0, arrowWidth, height());
}

void ArrowButton::openDropDown()
{
    if (!menu_ || !isEnabled()) return;
    menuOpen_ = true;
    update();
    menu_->popup(mapToGlobal(QPoint(0, height())));
}

QSize ArrowButton::sizeHint() const
{
    const QSize base = QPushButton::sizeHint();
    return QSize(base.width() + arrowWidth, base.height());
}

void ArrowButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && arrowRect().contains(event->position().toPoint())) {
        event->accept();
        openDropDown();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void ArrowButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.features &= ~QStyleOptionButton::HasMenu;
    if (menuOpen_) option.state |= QStyle::State_Sunken;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect strip = arrowRect();
    // The line that parts the strip from the caption, in the button's own shading.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(strip.left(), 4, strip.left(), height() - 5);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(strip.left() + 1, 4, strip.left() + 1, height() - 5);

    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = QRect(strip.left() + 2, (height() - 9) / 2, strip.width() - 4, 9);
    if (menuOpen_) arrow.rect.translate(1, 1);
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);

    QStyleOptionButton label = option;
    label.rect = QRect(0, 0, strip.left(), height());
    painter.drawControl(QStyle::CE_PushButtonLabel, label);
}

} // namespace ui
