#include "ui/LabelSize.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>
#include <climits>

namespace ui {

void sizeLabelToOneLine(QLabel* label)
{
    if (!label->wordWrap()) {
        label->resize(label->sizeHint());
        return;
    }
    const QFontMetrics fm(label->font());
    const QMargins m = label->contentsMargins();
    const int margin = 2 * label->margin();
    // One pixel more than the advance, so that rounding never makes the text wrap.
    const int width =
        std::max(1, fm.horizontalAdvance(label->text()) + 1 + m.left() + m.right() + margin);
    label->resize(width, std::max(fm.height(), label->heightForWidth(width)));
}

void sizeLabelToText(QLabel* label)
{
    if (!label->wordWrap()) {
        sizeLabelToOneLine(label);
        return;
    }
    const QFontMetrics fm(label->font());
    const QMargins m = label->contentsMargins();
    const int margin = 2 * label->margin();
    const int inner = std::max(1, label->width() - m.left() - m.right() - margin);
    const QRect bounds = fm.boundingRect(QRect(0, 0, inner, INT_MAX / 2),
                                         Qt::TextWordWrap | label->alignment(), label->text());
    const int width = std::max(label->width(), bounds.width() + 1 + m.left() + m.right() + margin);
    const int height = std::max(fm.height(), bounds.height()) + m.top() + m.bottom() + margin;
    label->resize(width, std::max(height, label->heightForWidth(width)));
}

} // namespace ui
