#include "people/PersonPicker.h"

#include "people/LikePattern.h"
#include "people/PersonIcons.h"

#include <QKeyEvent>
#include <QSignalBlocker>

int PersonPickerModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant PersonPickerModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const PickerEntry& e = entry(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return e.text;
    case Qt::DecorationRole:
        return PersonIcon(e.iconKey);
    case KeyRole:
        return e.key;
    default:
        return QVariant();
    }
}

void PersonPickerModel::setEntries(std::vector<PickerEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    reindex();
    endResetModel();
}

void PersonPickerModel::append(PickerEntry entry)
{
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    if (!m_byKey.contains(entry.key))
        m_byKey.insert(entry.key, row);
    m_entries.push_back(std::move(entry));
    endInsertRows();
}

bool PersonPickerModel::remove(const QString& key)
{
    const int row = indexOfKey(key);
    if (row < 0)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_entries.erase(m_entries.begin() + row);
    reindex();
    endRemoveRows();
    return true;
}

int PersonPickerModel::indexOfKey(const QString& key) const
{
    return m_byKey.value(key, -1);
}

void PersonPickerModel::setEntry(int row, PickerEntry entry)
{
    if (row < 0 || row >= rowCount())
        return;
    const bool rekeyed = m_entries[static_cast<std::size_t>(row)].key != entry.key;
    m_entries[static_cast<std::size_t>(row)] = std::move(entry);
    if (rekeyed)
        reindex();
    const QModelIndex i = index(row);
    emit dataChanged(i, i);
}

void PersonPickerModel::setText(int row, const QString& text)
{
    if (row < 0 || row >= rowCount())
        return;
    m_entries[static_cast<std::size_t>(row)].text = text;
    const QModelIndex i = index(row);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void PersonPickerModel::reindex()
{
    m_byKey.clear();
    m_byKey.reserve(static_cast<qsizetype>(m_entries.size()));
    // The first entry of a key wins, as a search from the top would find it.
    for (int row = rowCount() - 1; row >= 0; --row)
        m_byKey.insert(m_entries[static_cast<std::size_t>(row)].key, row);
}

PersonPicker::PersonPicker(QWidget* parent)
    : QComboBox(parent), m_model(new PersonPickerModel(this))
{
    setModel(m_model);
    setEditable(false);
    setMaxVisibleItems(20);
    // Sizing the box to its longest entry would measure every person at each fill.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
}

void PersonPicker::selectEntry(int row)
{
    const QSignalBlocker blocker(this);
    setCurrentIndex(row);
}

QString PersonPicker::selectedKey() const
{
    const int row = currentIndex();
    return row >= 0 && row < m_model->rowCount() ? m_model->entry(row).key : QString();
}

void PersonPicker::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (key == Qt::Key_F4 || (alt && (key == Qt::Key_Down || key == Qt::Key_Up))) {
        QComboBox::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_typeAhead.clear();
        emit enterPressed();
        event->accept();
        return;
    }
    if (key == Qt::Key_Backspace) {
        typed(QString(QChar(8)));
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        typed(text);
        event->accept();
        return;
    }
    // Arrows, page keys and the rest leave the closed list as it is.
    event->ignore();
}

void PersonPicker::typed(const QString& character)
{
    m_typeAhead += character;
    if (character == QString(QChar(8)))
        m_typeAhead.chop(1); // the earlier characters stay as typed
    QStringList texts;
    texts.reserve(m_model->rowCount());
    for (const PickerEntry& e : m_model->entries())
        texts << e.text;
    const int match = FirstPrefixMatch(texts, m_typeAhead);
    if (match >= 0)
        selectEntry(match);
}
