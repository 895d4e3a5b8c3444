#pragma once

#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <vector>

namespace testing_support {

// The program's real message boxes, each answered by a press of its OK button once it is up
// and holds the focus, as the master would answer it. Keeps what each box showed: its text as
// the label draws it, whether the label read it as markup, and whether it had the focus.
class RealMessageBoxes {
public:
    struct Shown {
        QString text;
        bool markup = false;
        bool hadFocus = false;
        QString title;
    };

    RealMessageBoxes()
    {
        ui::MessageBoxes::install(nullptr);
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start();
    }

    std::vector<QString> texts() const
    {
        std::vector<QString> out;
        for (const Shown& s : shown)
            out.push_back(s.text);
        return out;
    }

    std::vector<Shown> shown;

private:
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        const bool focused =
            QApplication::focusWidget() && box->isAncestorOf(QApplication::focusWidget());
        // A box is answered once it has taken the focus, as a person sees it; one that never
        // takes it is answered all the same after a while, and says so.
        if (!focused && ++waited_ < 40) return;
        waited_ = 0;
        Shown s;
        s.title = box->windowTitle();
        if (const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            s.text = label->text();
            s.markup = label->textFormat() == Qt::RichText ||
                       (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
        }
        s.hadFocus = focused;
        shown.push_back(s);
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }

    QTimer timer_;
    int waited_ = 0;
};

} // namespace testing_support
