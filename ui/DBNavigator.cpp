#include "ui/DBNavigator.h"

#include "store/Dataset.h"
#include "ui/DataSource.h"
#include "ui/ErrorHandler.h"

#include <QToolButton>

namespace ui {

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    const struct {
        const char* name;
        const char* glyph;
        void (store::Dataset::*move)();
    } kinds[] = {
        {"First", "|\u25C0", &store::Dataset::first},
        {"Prior", "\u25C0", &store::Dataset::prior},
        {"Next", "\u25B6", &store::Dataset::next},
        {"Last", "\u25B6|", &store::Dataset::last},
    };
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(this);
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
    refresh();
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
