// Every window at its edges: no caption cut or running into its neighbour, in the program's
// own font, whatever fonts the machine has; the titles as the window system shows them.
#include "forms/Unit1.h"
#include "forms/Unit12.h"

#include "tests/forms/EveryWindow.h"
#include "tests/forms/MainWindowFixture.h"
#include "ui/ArrowButton.h"
#include "ui/DBText.h"
#include "ui/DataGrid.h"
#include "ui/EmbeddedFonts.h"
#include "ui/ValueLabel.h"
#include "ui/WindowFont.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QWindow>

#include <memory>

namespace {

using testing_support::MainWindow;

QString withoutMnemonics(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

int widestLine(const QFontMetrics& fm, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

// Where a label draws its one-line caption, within its parent.
QRect captionRect(const QLabel* label)
{
    const int advance = label->fontMetrics().horizontalAdvance(label->text());
    const QRect inside = label->contentsRect().translated(label->pos());
    int left = inside.left();
    if (label->alignment() & Qt::AlignRight)
        left = inside.right() + 1 - advance;
    else if (label->alignment() & Qt::AlignHCenter)
        left = inside.left() + (inside.width() - advance) / 2;
    return QRect(left, inside.top(), advance, label->fontMetrics().height());
}

// Checks one window: every caption within its control, every one-line label clear of its
// neighbours by at least a pixel, every grid title within its column.
void expectNothingCutOrOverlapping(QWidget* window)
{
    SCOPED_TRACE(window->objectName().toStdString());
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty()) continue;
        if (qobject_cast<ui::ValueLabel*>(label) || label->wordWrap()) continue;
        SCOPED_TRACE(label->text().toStdString());
        const QRect text = captionRect(label);
        EXPECT_GE(text.left(), label->x()) << "cut on the left";
        EXPECT_LE(text.right(), label->geometry().right()) << "cut on the right";
        for (QWidget* other :
             label->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (other == label || !other->isVisibleTo(window)) continue;
            EXPECT_FALSE(text.adjusted(-1, 0, 1, 0).intersects(other->geometry()))
                << "touches " << other->objectName().toStdString();
        }
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(window) || button->text().isEmpty()) continue;
        SCOPED_TRACE(button->objectName().toStdString());
        const QFontMetrics fm = button->fontMetrics();
        const int text = widestLine(fm, withoutMnemonics(button->text()));
        int room = button->width() - 4;
        if (qobject_cast<ui::ArrowButton*>(button)) room -= 13;
        if (qobject_cast<QCheckBox*>(button)) {
            QStyleOptionButton option;
            option.initFrom(button);
            room = button->width() -
                   button->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, button) -
                   button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, button);
        }
        EXPECT_LE(text, room) << button->text().toStdString();
    }
    for (QGroupBox* box : window->findChildren<QGroupBox*>()) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, box);
        EXPECT_GE(title.width(),
                  box->fontMetrics().horizontalAdvance(withoutMnemonics(box->title())))
            << box->title().toStdString();
        EXPECT_TRUE(box->rect().contains(title)) << box->title().toStdString();
    }
    for (ui::DataGrid* grid : window->findChildren<ui::DataGrid*>()) {
        QHeaderView* header = grid->horizontalHeader();
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int c = 0; c < header->count(); ++c) {
            const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
            EXPECT_LE(header->fontMetrics().horizontalAdvance(title) + 2 * margin,
                      header->sectionSize(c))
                << title.toStdString();
        }
    }
}

class WindowEdges : public MainWindow {};

TEST_F(WindowEdges, NoCaptionIsCutOrRunsIntoItsNeighbourInAnyWindow)
{
    const testing_support::EveryWindow windows(*window);
    for (const auto& shown : windows.withCaptions)
        expectNothingCutOrOverlapping(shown.first);
}

TEST_F(WindowEdges, EveryWindowIsDrawnInTheEmbeddedFaces)
{
    const QStringList embedded = ui::embeddedFamilies();
    EXPECT_TRUE(embedded.contains(ui::sansFamily));
    EXPECT_TRUE(embedded.contains(ui::serifFamily));
    // Exactly one family each: a missing one must never be replaced by the machine's.
    EXPECT_EQ(ui::windowFont().families(), QStringList{ui::sansFamily});
    EXPECT_EQ(ui::rollFont().families(), QStringList{ui::serifFamily});
    EXPECT_EQ(QFontInfo(window->font()).family(), ui::sansFamily);
    EXPECT_EQ(QFontInfo(window->font()).pixelSize(), 11);
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), ui::sansFamily);
    for (QWidget* w : window->findChildren<QWidget*>())
        EXPECT_EQ(QFontInfo(w->font()).family(), ui::sansFamily) << w->objectName().toStdString();
    auto* dice = new forms::TForm12(window.get());
    const QFontInfo roll(dice->Label1()->font());
    EXPECT_EQ(roll.family(), ui::serifFamily);
    EXPECT_TRUE(roll.bold());
    EXPECT_EQ(roll.pixelSize(), 32);
    // Every character the windows draw is in the face (the navigator's and the grid's
    // triangles included), so nothing falls back to another font.
    const QFontMetrics fm(ui::windowFont());
    for (const char32_t c : {U'\u25BA', U'\u25C4', U'|', U'&'})
        EXPECT_TRUE(fm.inFontUcs4(c)) << static_cast<unsigned>(c);
}

TEST_F(WindowEdges, TheMainWindowOpensAtItsFirstPosition)
{
    EXPECT_EQ(window->pos(), QPoint(272, 228));
    EXPECT_EQ(window->windowHandle()->framePosition(), QPoint(272, 228));
}

TEST_F(WindowEdges, EveryWindowIsTitledWithItsCaptionAlone)
{
    // A display name of the application's own would be appended to every title by the window
    // system ("Add NPC \u2014 Tavrix"); the application has none, so the display name follows
    // the application's name.
    const QString name = QCoreApplication::applicationName();
    EXPECT_EQ(name, "Tavrix");
    QCoreApplication::setApplicationName(QStringLiteral("Elsewhere"));
    const QString followed = QGuiApplication::applicationDisplayName();
    QCoreApplication::setApplicationName(name);
    EXPECT_EQ(followed, "Elsewhere");

    const testing_support::EveryWindow windows(*window);
    for (const auto& [w, caption] : windows.withCaptions) {
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        EXPECT_EQ(w->windowHandle()->title(), caption);
        w->hide();
    }
}

TEST_F(WindowEdges, EveryDataBoundLabelTellsWhatItShowsAndItsValue)
{
    const auto labels = window->findChildren<ui::DBText*>();
    ASSERT_EQ(labels.size(), 13);
    for (ui::DBText* label : labels) {
        SCOPED_TRACE(label->objectName().toStdString());
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(label);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(QAccessible::Name), label->caption());
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty());
        EXPECT_EQ(a->text(QAccessible::Value), label->text());
    }
    auto* cp = control<ui::DBText>("DBText2");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(cp)->text(QAccessible::Value), "10");
    selectRow(1); // Brynn, with 4 cp
    EXPECT_EQ(QAccessible::queryAccessibleInterface(cp)->text(QAccessible::Value), "4");
}

} // namespace
