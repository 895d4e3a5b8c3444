#include "forms/Unit5.h"

#include "ui_Unit5.h"

#include "platform/FileVersion.h"
#include "ui/DecorativeDie.h"
#include "ui/ErrorHandler.h"
#include "ui/LabelSize.h"
#include "ui/WindowFont.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QScreen>

namespace forms {

namespace {
QString& versionFileOverride()
{
    static QString fileName;
    return fileName;
}
} // namespace

TAboutBox::TAboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::TAboutBox>())
{
    setFont(ui::windowFont());
    ui_->setupUi(this);
    setFixedSize(size()); // a fixed dialog border: no resizing
    setModal(false);

    connect(ui_->OKButton, &QPushButton::clicked, this,
            ui::guarded([this](bool) { OKButtonClick(); }));
    connect(ui_->JvDice1, &ui::DecorativeDie::clicked, this,
            ui::guarded([this] { JvDice1Click(); }));

    ui::guarded([this] { FormCreate(); })();
    for (QLabel* label : {ui_->ProductName, ui_->Version, ui_->Copyright, ui_->Comments})
        ui::sizeLabelToText(label);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::setVersionFileForTesting(const QString& fileName)
{
    versionFileOverride() = fileName;
}

void TAboutBox::FormCreate()
{
    const QString file = versionFileOverride().isEmpty() ? QCoreApplication::applicationFilePath()
                                                         : versionFileOverride();
    const std::string version =
        platform::GetFileVersionString(QFile::encodeName(file).toStdString());
    ui_->Version->setText(QStringLiteral("Version ") + QString::fromStdString(version));
}

void TAboutBox::OKButtonClick()
{
    close();
}

void TAboutBox::JvDice1Click()
{
    ui_->JvDice1->setRotate(!ui_->JvDice1->rotate());
}

ui::DecorativeDie* TAboutBox::JvDice1() const
{
    return ui_->JvDice1;
}
QLabel* TAboutBox::Version() const
{
    return ui_->Version;
}
QPushButton* TAboutBox::OKButton() const
{
    return ui_->OKButton;
}

void TAboutBox::setVisible(bool visible)
{
    if (visible && !isVisible()) centreOnScreen();
    QDialog::setVisible(visible);
}

void TAboutBox::centreOnScreen()
{
    const QWidget* owner = parentWidget();
    QScreen* s = owner ? owner->screen() : screen();
    if (!s) return;
    const QRect area = s->geometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
}

void TAboutBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept(); // Escape does nothing: the window has no cancel button
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace forms
