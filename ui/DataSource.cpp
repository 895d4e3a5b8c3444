#include "ui/DataSource.h"

namespace ui {

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::~DataSource()
{
    if (dataset_) dataset_->unsubscribe(subscription_);
}

void DataSource::setDataset(store::Dataset* dataset)
{
    if (dataset == dataset_) return;
    if (dataset_) dataset_->unsubscribe(subscription_);
    dataset_ = dataset;
    subscription_ = 0;
    if (dataset_)
        subscription_ = dataset_->subscribe([this](store::DatasetEvent e) { datasetEvent(e); });
    emit datasetChanged();
    emit activeChanged();
    emit dataChanged();
}

store::DatasetState DataSource::state() const
{
    return dataset_ ? dataset_->state() : store::DatasetState::Inactive;
}

bool DataSource::edit()
{
    if (!dataset_ || !dataset_->active()) return false;
    if (dataset_->state() == store::DatasetState::Browse) dataset_->edit();
    return dataset_->editing();
}

void DataSource::updateRecord()
{
    if (dataset_ && dataset_->editing()) emit updateRecordRequested();
}

void DataSource::datasetEvent(store::DatasetEvent event)
{
    using E = store::DatasetEvent;
    switch (event) {
    case E::Opened:
    case E::Closed:
        emit activeChanged();
        break;
    case E::RowsChanged:
        emit rowsChanged();
        break;
    case E::CursorMoved:
        emit cursorMoved();
        break;
    case E::RecordChanged:
        emit recordChanged();
        break;
    case E::StateChanged:
        emit stateChanged();
        break;
    case E::Destroyed:
        // The dataset is being destroyed and is no longer to be read.
        dataset_ = nullptr;
        subscription_ = 0;
        emit datasetChanged();
        emit activeChanged();
        break;
    }
    emit dataChanged();
}

} // namespace ui
