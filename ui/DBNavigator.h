#pragma once

#include <QPointer>
#include <QWidget>

class QToolButton;

namespace ui {

class DataSource;

// Four buttons that move a data source's current record: First, Prior, Next, Last. Those that
// would not move it are disabled: First and Prior on the first record, Next and Last on the
// last, all four when there is no record or the dataset is closed.
class DBNavigator : public QWidget {
    Q_OBJECT

public:
    explicit DBNavigator(QWidget* parent = nullptr);
    void setDataSource(DataSource* source);
    QToolButton* button(int index) const { return buttons_[index]; } // 0 First .. 3 Last

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();
    QPointer<DataSource> source_;
    QToolButton* buttons_[4];
};

} // namespace ui
