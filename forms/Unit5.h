#pragma once

// The About window TAboutBox: the program's name, its version as the executable's own version
// block gives it, two lines of text and a decorative die. The main window creates a new one on
// every click of its picture button, owned by it and shown non-modally (show()), centred on
// the screen. Enter presses "OK", which closes (hides) it; Escape does nothing; the close box
// hides it too. It is destroyed with its owner.

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;

namespace Ui {
class TAboutBox;
}

namespace ui {
class DecorativeDie;
}

namespace forms {

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* owner);
    ~TAboutBox() override;

    // The file whose version the window shows; the running executable unless a test says
    // otherwise. Takes effect at the next creation.
    static void setVersionFileForTesting(const QString& fileName);

    // The handlers.
    void FormCreate();
    void OKButtonClick();
    void JvDice1Click();

    // The controls, by their component names, for tests.
    ui::DecorativeDie* JvDice1() const;
    QLabel* Version() const;
    QPushButton* OKButton() const;

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void centreOnScreen();

    std::unique_ptr<Ui::TAboutBox> ui_;
};

} // namespace forms
