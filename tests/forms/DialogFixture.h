#pragma once

#include "store/PartyStore.h"
#include "store/Statement.h"
#include "tests/support/PartyFixture.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "ui/ModalDialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// A dialog of the main window on a party file of its own: the store opened on it, an owner
// window standing in for the main window, and every message box answered and recorded.
class DialogTest : public ::testing::Test {
protected:
    // What runModal gives when the master's steps left the dialog open.
    static constexpr int stillOpen = -1;

    void SetUp() override { file.open(party); }
    void TearDown() override { ui::installModalRunner({}); }

    // Shows the dialog as the main window does, through ui::showModal, with `steps` standing
    // in for the master; gives the result the caller acts on.
    int runModal(QDialog& dialog, const std::function<void(QDialog&)>& steps)
    {
        ui::installModalRunner([&](QDialog& d) {
            d.show();
            d.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
            steps(d);
            return d.isVisible() ? stillOpen : d.result();
        });
        const int result = ui::showModal(dialog);
        ui::installModalRunner({});
        return result;
    }

    template <class T = QWidget> static T* control(QDialog& dialog, const char* name)
    {
        T* w = dialog.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void click(QDialog& dialog, const char* button)
    {
        QTest::mouseClick(control<QAbstractButton>(dialog, button), Qt::LeftButton);
    }
    // Replaces an edit's text by typing over it, key by key.
    static void type(QDialog& dialog, const char* edit, const QString& text)
    {
        auto* e = control<QLineEdit>(dialog, edit);
        e->setFocus();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_Backspace);
        for (const uint c : text.toUcs4()) {
            if (c < 0x80)
                QTest::keyClick(e, static_cast<char>(c));
            else { // a character beyond ASCII arrives as the text of a key with no name
                const char32_t ch = c;
                QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString::fromUcs4(&ch, 1),
                                    Qt::NoModifier);
            }
        }
    }

    using Rows = std::vector<std::vector<std::string>>;

    // A statement's parameters in order, each with the type it is declared with.
    using DeclaredParameters = std::vector<std::pair<std::string, std::optional<store::ValueType>>>;
    static DeclaredParameters declaredParameters(const store::Statement& statement)
    {
        DeclaredParameters out;
        for (const auto& p : statement.parameters())
            out.emplace_back(p.name(), p.declaredType());
        return out;
    }

    PartyFile file;
    store::PartyStore party;
    ScriptedMessageBoxes boxes;
    QWidget owner; // the main window
};

} // namespace testing_support
