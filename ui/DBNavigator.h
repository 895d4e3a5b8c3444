#pragma once

#include <QPointer>
#include <QWidget>

class QToolButton;

namespace ui {

class DataSource;

// Four buttons that move a data source's current record: First, Prior, Next, Last. Those that
// would not move it are disabled: First and Prior on the first record, Next and Last on the
// last, all four when there is no record or the dataset is closed.
//
// The navigator is one stop of the tab chain, as one control: Left and Right (Home, End)
// choose among its buttons, which shows a focus frame, and Space or Enter presses the chosen
// one. A mouse click takes no focus.
class DBNavigator : public QWidget {
    Q_OBJECT

public:
    explicit DBNavigator(QWidget* parent = nullptr);
    void setDataSource(DataSource* source);
    QToolButton* button(int index) const { return buttons_[index]; } // 0 First .. 3 Last
    int chosenButton() const { return chosen_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();
    void choose(int index);
    QPointer<DataSource> source_;
    QToolButton* buttons_[4];
    int chosen_ = 0;
};

} // namespace ui
