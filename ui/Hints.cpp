#include "ui/Hints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <QWidget>

namespace ui {

namespace {

int pauseMs = HintTiming::defaultPause;
int hidePauseMs = HintTiming::defaultHidePause;

// The toolkit asks its style how long the mouse must rest before a hint shows.
class HintStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay) return pauseMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Shows every hint of the application itself, so that each stays up for the hide pause and
// shows its lines as lines, whichever control it belongs to.
class HintShower : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->toolTip().isEmpty()) return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), hintDisplayText(widget->toolTip()), widget, QRect(),
                           hidePauseMs);
        return true;
    }
};

QPointer<HintShower> shower;

void ensureShower()
{
    if (shower) return;
    shower = new HintShower(qApp);
    qApp->installEventFilter(shower);
}

} // namespace

void HintTiming::apply(int pause, int hidePause)
{
    pauseMs = pause;
    hidePauseMs = hidePause;
    if (!dynamic_cast<HintStyle*>(QApplication::style())) {
        // A fresh copy of the style in use as the base: the application deletes its old style
        // when it is given the new one.
        QStyle* base = QStyleFactory::create(QApplication::style()->name());
        QApplication::setStyle(new HintStyle(base));
    }
    ensureShower();
}

int HintTiming::pause()
{
    return pauseMs;
}
int HintTiming::hidePause()
{
    return hidePauseMs;
}

QString hintDisplayText(const QString& hint)
{
    QString text = hint;
    text.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void setHint(QWidget* widget, const QString& hint)
{
    ensureShower();
    widget->setToolTip(hint);
    widget->setToolTipDuration(hint.isEmpty() ? -1 : hidePauseMs);
    widget->setAttribute(Qt::WA_AlwaysShowToolTips, !hint.isEmpty());
}

} // namespace ui
