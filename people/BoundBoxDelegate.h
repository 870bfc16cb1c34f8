#pragma once

#include <QStyledItemDelegate>
#include <QString>

#include <vector>

// How the directory's bound boxes show and hand back their fields (for QDataWidgetMapper over a
// data::RecordsetModel):
// - a box with the property "dateFormat" shows a date value in that format (time left out);
// - a read-only box never writes;
// - a box writes only text the user changed, and only into the recordset's current row; text
//   the field cannot take (a date box holding no date) is kept in failures() for the screen to
//   report instead of being dropped in silence.
// Keys and focus are left to the screen: the delegate neither commits on leaving a box nor
// reverts on Escape.
class BoundBoxDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    struct Failure {
        QWidget* editor;
        QString text;
    };

    using QStyledItemDelegate::QStyledItemDelegate;

    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    const std::vector<Failure>& failures() const { return m_failures; }
    void clearFailures() { m_failures.clear(); }

    // The text a box shows for the field at index.
    static QString shownText(const QWidget* editor, const QModelIndex& index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    mutable std::vector<Failure> m_failures;
};
