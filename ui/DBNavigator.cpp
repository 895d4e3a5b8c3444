#include "ui/DBNavigator.h"

#include "store/Dataset.h"
#include "ui/DataSource.h"
#include "ui/ErrorHandler.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolButton>

#include <algorithm>

namespace ui {

namespace {

// A navigator button that shows the focus frame while the navigator has the focus and has
// chosen it.
class NavigatorButton : public QToolButton {
public:
    using QToolButton::QToolButton;
    bool chosen = false;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QToolButton::paintEvent(event);
        if (!chosen) return;
        QPainter painter(this);
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
};

} // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    const struct {
        const char* name;
        const char* glyph;
        void (store::Dataset::*move)();
    } kinds[] = {
        // Triangles the embedded window font holds.
        {"First", "|\u25C4", &store::Dataset::first},
        {"Prior", "\u25C4", &store::Dataset::prior},
        {"Next", "\u25BA", &store::Dataset::next},
        {"Last", "\u25BA|", &store::Dataset::last},
    };
    for (int i = 0; i < 4; ++i) {
        auto* b = new NavigatorButton(this);
        b->setObjectName(kinds[i].name);
        b->setText(QString::fromUtf8(kinds[i].glyph));
        b->setAccessibleName(kinds[i].name);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, guarded([this, move = kinds[i].move](bool) {
                    if (source_ && source_->dataset()) {
                        source_->updateRecord();
                        (source_->dataset()->*move)();
                    }
                }));
        buttons_[i] = b;
    }
    setFocusPolicy(Qt::TabFocus);
    refresh();
}

void DBNavigator::choose(int index)
{
    chosen_ = std::clamp(index, 0, 3);
    for (int i = 0; i < 4; ++i) {
        auto* b = static_cast<NavigatorButton*>(buttons_[i]);
        b->chosen = hasFocus() && i == chosen_;
        b->update();
    }
}

void DBNavigator::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    choose(chosen_);
}

void DBNavigator::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    choose(chosen_);
}

void DBNavigator::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        choose(chosen_ - 1);
        return;
    case Qt::Key_Right:
        choose(chosen_ + 1);
        return;
    case Qt::Key_Home:
        choose(0);
        return;
    case Qt::Key_End:
        choose(3);
        return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (buttons_[chosen_]->isEnabled())
            buttons_[chosen_]->click();
        else
            QWidget::keyPressEvent(event);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void DBNavigator::setDataSource(DataSource* source)
{
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) connect(source_, &DataSource::dataChanged, this, &DBNavigator::refresh);
    refresh();
}

void DBNavigator::refresh()
{
    store::Dataset* d = source_ ? source_->dataset() : nullptr;
    const bool records = d && d->active() && !d->isEmpty();
    const bool atFirst = !records || d->recNo() <= 0;
    const bool atLast = !records || d->recNo() >= d->recordCount() - 1;
    buttons_[0]->setEnabled(!atFirst);
    buttons_[1]->setEnabled(!atFirst);
    buttons_[2]->setEnabled(!atLast);
    buttons_[3]->setEnabled(!atLast);
}

void DBNavigator::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = width() / 4;
    for (int i = 0; i < 4; ++i)
        buttons_[i]->setGeometry(i * w, 0, i == 3 ? width() - 3 * w : w, height());
}

} // namespace ui
