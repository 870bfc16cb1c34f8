#pragma once

#include "platform/data/RecordsetModel.h"

#include <QDataWidgetMapper>
#include <QWidget>

#include <initializer_list>
#include <utility>

namespace data {

// Binds a widget mapper to a recordset model and maps editors to fields by name:
//
//     data::bindMapper(*model, *mapper, {{ui->txtFName, "Youth_FName"},
//                                        {ui->chkVisitor, "Youth_Visitor"}});
//
// The mapper then shows the recordset's current row (also after rows are added, filtered or
// read again) and writes its editors back before every move and Update. Editors mapped later
// with addMapping show the row from the next move on (or call setCurrentIndex(currentRow())).
// Header-only, so that the data library itself needs no widgets.
inline void bindMapper(RecordsetModel& model, QDataWidgetMapper& mapper,
                       std::initializer_list<std::pair<QWidget*, const char*>> editors = {})
{
    mapper.setModel(&model);
    for (const auto& [widget, field] : editors)
        mapper.addMapping(widget, model.fieldIndex(QString::fromUtf8(field)));
    QObject::connect(&model, &RecordsetModel::currentRowChanged, &mapper,
                     &QDataWidgetMapper::setCurrentIndex);
    QObject::connect(&model, &RecordsetModel::submitRequested, &mapper, &QDataWidgetMapper::submit);
    // A reset (rows added, filtered, read again) leaves the mapper without a row: put it back.
    QObject::connect(&model, &QAbstractItemModel::modelReset, &mapper,
                     [&model, &mapper]() { mapper.setCurrentIndex(model.currentRow()); });
    mapper.setCurrentIndex(model.currentRow());
}

} // namespace data
