#include "platform/data/RecordsetModel.h"

#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"

#include <QDebug>

namespace data {

RecordsetModel::RecordsetModel(Recordset& recordset, QObject* parent)
    : QAbstractTableModel(parent), m_recordset(&recordset)
{
    connect(&recordset, &Recordset::flushRequested, this, &RecordsetModel::submitRequested);
    connect(&recordset, &Recordset::moveComplete, this,
            [this](EventReasonEnum) { emit currentRowChanged(currentRow()); });
    connect(&recordset, &Recordset::rowsChanged, this, [this]() {
        beginResetModel();
        endResetModel();
    });
    connect(&recordset, &Recordset::fieldChangeComplete, this, [this](int field) {
        const int row = currentRow();
        if (row >= 0 && field >= 0 && field < columnCount()) {
            const QModelIndex i = index(row, field);
            emit dataChanged(i, i);
        }
    });
}

int RecordsetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_recordset ? 0 : m_recordset->visibleRowCount();
}

int RecordsetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_recordset ? 0 : m_recordset->fieldCount();
}

QVariant RecordsetModel::editValue(const Variant& value, FieldType type)
{
    if (value.isNull() || value.isEmpty())
        return type == FieldType::Boolean ? QVariant(false) : QVariant(QString());
    switch (value.type()) {
    case Variant::Type::Boolean:
        return QVariant(value.number() != 0.0);
    case Variant::Type::String:
        return QVariant(value.text());
    case Variant::Type::Date:
        return QVariant(text::formatGeneralDate(value.number()));
    default:
        if (type == FieldType::Boolean)
            return QVariant(value.number() != 0.0);
        return QVariant(text::formatNumber(value.number()));
    }
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const
{
    if (!m_recordset || !index.isValid() || index.column() >= columnCount())
        return QVariant();
    const Variant v = m_recordset->valueAt(index.row(), index.column());
    switch (role) {
    case VariantRole:
        return QVariant::fromValue(v);
    case Qt::DisplayRole:
    case Qt::EditRole:
        return editValue(v, m_recordset->fieldType(index.column()));
    default:
        return QVariant();
    }
}

bool RecordsetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_recordset || !index.isValid() || (role != Qt::EditRole && role != VariantRole))
        return false;
    if (role == Qt::EditRole && value == data(index, Qt::EditRole))
        return true; // unchanged: the row is not marked as edited
    try {
        // Editors only ever write the current row; a write for any other row (an editor left
        // on a row the recordset has moved away from) must not land on another person.
        if (index.row() != m_recordset->currentVisibleRow())
            return false;
        Variant v;
        if (role == VariantRole) {
            v = value.value<Variant>();
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
                v = Variant(value.toBool());
                break;
            case QMetaType::Int:
                v = Variant(static_cast<std::int32_t>(value.toInt()));
                break;
            case QMetaType::Double:
                v = Variant(value.toDouble());
                break;
            default:
                v = Variant(value.toString());
                break;
            }
        }
        m_recordset->Fields(index.column()).setValue(v);
        return true;
    } catch (const DataError& e) {
        qWarning("A bound value was not taken: %s", e.what());
        return false;
    }
}

Qt::ItemFlags RecordsetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_recordset)
        return QVariant();
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount())
        return m_recordset->fieldName(section);
    if (orientation == Qt::Vertical)
        return section + 1;
    return QVariant();
}

int RecordsetModel::fieldIndex(const QString& name) const
{
    return m_recordset ? m_recordset->fieldIndex(name) : -1;
}

int RecordsetModel::currentRow() const
{
    return m_recordset ? m_recordset->currentVisibleRow() : -1;
}

} // namespace data
