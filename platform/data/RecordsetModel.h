#pragma once

#include "platform/data/Recordset.h"
#include "platform/data/Variant.h"

#include <QAbstractTableModel>
#include <QPointer>

Q_DECLARE_METATYPE(data::Variant)

namespace data {

// The rows of a recordset as a Qt table model (one model row per row the filter shows, one
// column per field), so that screens bind their editors with QDataWidgetMapper rather than
// copying values by hand:
//
//     auto* model = new data::RecordsetModel(*m_people, this);
//     auto* mapper = new QDataWidgetMapper(this);
//     data::bindMapper(*model, *mapper, {{m_firstName, "Youth_FName"}, // RecordsetMapper.h
//                                        {m_visitor, "Youth_Visitor"}}); // a QCheckBox
//
// The mapper then follows the recordset's current row, and hands the editors' text to the row
// before every move and Update (the recordset's flushRequested).
//
// Values: Yes/No fields as bool (for check boxes), dates as the general date text ("3/10/2024"),
// numbers as plain decimal text, Null as empty text; VariantRole gives the data::Variant itself.
// Text written back is read by the field's type: empty text is Null for numbers and dates, a
// date must read as a date in the current locale. Writing a value equal to the one shown
// changes nothing, so moving through bound rows never marks them as edited.
class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int VariantRole = Qt::UserRole + 1;

    explicit RecordsetModel(Recordset& recordset, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The model column of a field (for QDataWidgetMapper::addMapping); -1 when there is none.
    int fieldIndex(const QString& name) const;
    // The model row of the recordset's current row; -1 at BOF or EOF.
    int currentRow() const;

    // How a field value shows in an editor.
    static QVariant editValue(const Variant& value, FieldType type);

signals:
    void currentRowChanged(int row);
    // Bound editors should write their text into the current row now.
    void submitRequested();

private:
    QPointer<Recordset> m_recordset;
};

} // namespace data
