#pragma once

#include "ui/MessageBoxes.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

// Answers every message box at once and keeps what each said. Answers are taken from the
// queue in order; when it is empty, OK. Installed for its lifetime.
class ScriptedMessageBoxes : public ui::MessageBoxes {
public:
    ScriptedMessageBoxes() { ui::MessageBoxes::install(this); }
    ~ScriptedMessageBoxes() override { ui::MessageBoxes::install(nullptr); }

    ui::ModalResult show(QWidget*, const ui::MessageRequest& request) override
    {
        shown.push_back(request);
        if (onShow) onShow(request);
        if (answers.empty()) return ui::mrOk;
        const ui::ModalResult r = answers.front();
        answers.pop_front();
        return r;
    }

    // The texts shown, in order.
    std::vector<QString> texts() const
    {
        std::vector<QString> out;
        for (const auto& r : shown)
            out.push_back(r.text);
        return out;
    }

    std::vector<ui::MessageRequest> shown;
    std::deque<ui::ModalResult> answers;
    std::function<void(const ui::MessageRequest&)> onShow;
};

} // namespace testing_support
