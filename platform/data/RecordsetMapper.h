#pragma once

#include "platform/data/RecordsetModel.h"

#include <QDataWidgetMapper>

namespace data {

// Binds a widget mapper to a recordset model: the mapper shows the recordset's current row and
// writes its editors back before every move and Update. Header-only, so that the data library
// itself needs no widgets.
inline void bindMapper(RecordsetModel& model, QDataWidgetMapper& mapper)
{
    mapper.setModel(&model);
    QObject::connect(&model, &RecordsetModel::currentRowChanged, &mapper,
                     &QDataWidgetMapper::setCurrentIndex);
    QObject::connect(&model, &RecordsetModel::submitRequested, &mapper, &QDataWidgetMapper::submit);
    // A reset (rows added, filtered, read again) leaves the mapper without a row: put it back.
    QObject::connect(&model, &QAbstractItemModel::modelReset, &mapper,
                     [&model, &mapper]() { mapper.setCurrentIndex(model.currentRow()); });
    mapper.setCurrentIndex(model.currentRow());
}

} // namespace data
