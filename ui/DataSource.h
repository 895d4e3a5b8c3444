#pragma once

#include "store/Dataset.h"

#include <QObject>

namespace ui {

// What the data-aware controls of a window are bound to: one dataset, whose events it passes
// on as signals, so that a control never listens to the dataset itself and a dataset that goes
// away leaves no control holding on to it.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    void setDataset(store::Dataset* dataset);
    store::Dataset* dataset() const { return dataset_; }

    bool active() const { return dataset_ && dataset_->active(); }
    store::DatasetState state() const;

    // Puts a browsing dataset into edit state, as a control does when the master starts
    // changing its value; nothing when the dataset is closed or already editing. True when the
    // dataset is editing afterwards. The dataset's own errors (a read-only query) are raised.
    bool edit();

    // Asks every control with a change of its own not yet in the record to write it now, as
    // the controls that move or post the dataset do first.
    void updateRecord();

signals:
    void activeChanged();  // opened or closed, or another dataset
    void rowsChanged();    // the set or the order of the records
    void cursorMoved();    // another record is current
    void recordChanged();  // the current record's values or its pending change
    void stateChanged();   // browse, edit, insert
    void datasetChanged(); // another dataset, or none after the dataset went away
    void dataChanged();    // after every one of the above: whatever a control shows may differ
    void updateRecordRequested();

private:
    void datasetEvent(store::DatasetEvent event);

    store::Dataset* dataset_ = nullptr;
    int subscription_ = 0;
};

} // namespace ui
