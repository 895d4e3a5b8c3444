#include "ui/ValueLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace ui {

namespace {

class ValueLabelAccessible : public QAccessibleWidget {
public:
    explicit ValueLabelAccessible(ValueLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const auto* label = static_cast<const QLabel*>(widget());
        if (t == QAccessible::Value) return label->text();
        if (t == QAccessible::Name && label->accessibleName().isEmpty()) return label->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* valueLabelFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("ui::ValueLabel") && object && object->isWidgetType())
        return new ValueLabelAccessible(static_cast<ValueLabel*>(object));
    return nullptr;
}

} // namespace

ValueLabel::ValueLabel(QWidget* parent) : QLabel(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(valueLabelFactory);
        return true;
    }();
    (void)factoryInstalled;
    setTextFormat(Qt::PlainText);
}

void ValueLabel::setValueText(const QString& text)
{
    if (text == this->text()) return;
    setText(text);
    QAccessibleValueChangeEvent event(this, text);
    QAccessible::updateAccessibility(&event);
}

} // namespace ui
