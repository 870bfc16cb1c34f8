#pragma once

#include <QAbstractListModel>
#include <QComboBox>
#include <QHash>
#include <QString>

#include <vector>

// One person in the picker: key "Y" followed by the person's id ("Y" alone for a new row that
// has no id yet), the text shown and the picture key (PersonIcons.h).
struct PickerEntry {
    QString key;
    QString text;
    QString iconKey;
};

// The picker's entries as a list model: the text, the picture, and the key (KeyRole).
class PersonPickerModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int KeyRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void setEntries(std::vector<PickerEntry> entries);
    void append(PickerEntry entry);
    // Takes out the first entry with the key; false when there is none.
    bool remove(const QString& key);
    // The first entry with the key; -1 when there is none.
    int indexOfKey(const QString& key) const;
    const PickerEntry& entry(int row) const { return m_entries[static_cast<std::size_t>(row)]; }
    void setEntry(int row, PickerEntry entry);
    void setText(int row, const QString& text);
    const std::vector<PickerEntry>& entries() const { return m_entries; }

private:
    void reindex();

    std::vector<PickerEntry> m_entries;
    QHash<QString, int> m_byKey;
};

// The person picker: a drop-down list of people with their pictures. Typing selects the first
// entry whose text starts with the characters typed since the last move, pick or Enter (with
// the wildcards of LikePattern.h); selecting an entry this way moves nothing. A pick with the
// mouse raises activated(); Enter raises enterPressed(). Arrow and page keys do not change the
// selection of the closed list; F4 and Alt with an arrow open it.
class PersonPicker : public QComboBox {
    Q_OBJECT
public:
    explicit PersonPicker(QWidget* parent = nullptr);

    PersonPickerModel& entries() { return *m_model; }
    const QString& typeAhead() const { return m_typeAhead; }
    void clearTypeAhead() { m_typeAhead.clear(); }
    // Selects an entry without raising activated(); -1 clears the selection.
    void selectEntry(int row);
    // The key of the selected entry; empty when none is selected.
    QString selectedKey() const;

signals:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void typed(const QString& character);

    PersonPickerModel* m_model;
    QString m_typeAhead;
};
