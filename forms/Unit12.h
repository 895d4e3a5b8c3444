#pragma once

// The Dice window TForm12: rolls one to ten dice of one of seven kinds and shows the sum with
// every single roll. The main window creates a new one on every click of "Dice", owned by it
// and shown non-modally (show()); closing hides it, and it is destroyed with its owner.

#include <QWidget>

#include <memory>
#include <vector>

class QAbstractButton;
class QLabel;

namespace Ui {
class TForm12;
}

namespace ui {
class SpinEdit;
}

namespace forms {

class TForm12 : public QWidget {
    Q_OBJECT

public:
    // The first position of the window's frame on the screen.
    static constexpr int firstLeft = 216;
    static constexpr int firstTop = 124;

    explicit TForm12(QWidget* owner);
    ~TForm12() override;

    // The roll text of a list of rolls: the sum, "=", the rolls joined by "+": 12=4+2+6.
    static QString rollText(const std::vector<int>& rolls);

    // The handlers.
    void FormCreate();
    // The handler of the seven dice buttons: rolls the spin edit's count of dice with as many
    // sides as the caption of `sender` (a button) gives from its third character on.
    void Button1Click(QObject* sender);
    void Button8Click();

    // The controls, by their component names, for the owner and for tests.
    ui::SpinEdit* SpinEdit1() const;
    QLabel* Label1() const;
    QAbstractButton* button(const QString& componentName) const;

private:
    void showRollText(const QString& text);

    std::unique_ptr<Ui::TForm12> ui_;
};

} // namespace forms
