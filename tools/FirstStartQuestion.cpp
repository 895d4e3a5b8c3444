#include "tools/FirstStartQuestion.h"

#include "ui/WindowFont.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>

namespace launcher {

FirstStart askFirstStart(const std::filesystem::path& folder)
{
    QMessageBox box;
    box.setObjectName(QStringLiteral("FirstStartQuestion"));
    box.setWindowTitle(QStringLiteral("Tavrix"));
    box.setFont(ui::windowFont());
    box.setIcon(QMessageBox::Question);
    box.setText(QStringLiteral("There is no party in %1 yet.")
                    .arg(QFile::decodeName(QByteArray::fromStdString(folder.string()))));
    box.setInformativeText(QStringLiteral(
        "Start with an empty party to enter your own characters, or with a sample party to "
        "try Tavrix first."));
    // An Enter pressed without reading creates the empty party: no sample characters turn up
    // in a campaign.
    QPushButton* empty =
        box.addButton(QStringLiteral("Start with an empty party"), QMessageBox::AcceptRole);
    QPushButton* sample =
        box.addButton(QStringLiteral("Start with a sample party"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(empty);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == empty) return FirstStart::EmptyParty;
    if (box.clickedButton() == sample) return FirstStart::SampleParty;
    return FirstStart::Cancel;
}

} // namespace launcher
