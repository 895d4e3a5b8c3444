// The real message boxes, as the master sees them: every text shown exactly as it was given.
#include "ui/MessageBoxes.h"
#include "ui/ErrorHandler.h"

#include "tests/support/RealMessageBoxes.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxes, EveryKindShowsItsTextAsPlainTextAndTakesTheFocus)
{
    testing_support::RealMessageBoxes real;
    const QString name = QStringLiteral("<b>Big</b> Ogre & <i>friends</i>");
    ui::showWarning(nullptr, name + QStringLiteral(" is not numeric value"));
    EXPECT_TRUE(ui::confirm(nullptr, QStringLiteral("Delete ") + name + QStringLiteral("?")));
    ui::showError(QStringLiteral("'") + name + QStringLiteral("' is not a valid integer value"));
    ui::showMessage(nullptr, QStringLiteral("String \"") + name + QStringLiteral("\" not found."));
    ASSERT_EQ(real.shown.size(), 4u);
    EXPECT_EQ(real.texts(),
              (std::vector<QString>{
                  name + QStringLiteral(" is not numeric value"),
                  QStringLiteral("Delete ") + name + QStringLiteral("?"),
                  QStringLiteral("'") + name + QStringLiteral("' is not a valid integer value."),
                  QStringLiteral("String \"") + name + QStringLiteral("\" not found."),
              }));
    for (const auto& box : real.shown) {
        SCOPED_TRACE(box.text.toStdString());
        EXPECT_FALSE(box.markup);
        EXPECT_TRUE(box.hadFocus);
    }
    EXPECT_EQ(real.shown[2].title, "Tavrix");
}

} // namespace
