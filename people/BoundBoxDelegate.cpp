#include "people/BoundBoxDelegate.h"

#include "platform/data/RecordsetModel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

QString editorText(const QWidget* editor)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->text();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(editor))
        return text->toPlainText();
    return QString();
}

} // namespace

QString BoundBoxDelegate::shownText(const QWidget* editor, const QModelIndex& index)
{
    const QString format = editor->property("dateFormat").toString();
    if (!format.isEmpty()) {
        const auto v = index.data(data::RecordsetModel::VariantRole).value<data::Variant>();
        if (v.isDate())
            return v.toQDate().toString(format);
    }
    return index.data(Qt::EditRole).toString();
}

void BoundBoxDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* check = qobject_cast<QCheckBox*>(editor)) {
        check->setChecked(index.data(Qt::EditRole).toBool());
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(shownText(editor, index));
        line->setCursorPosition(0);
        return;
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(editor)) {
        text->setPlainText(shownText(editor, index));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void BoundBoxDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const
{
    // The mapper may still point at a row the recordset has left (the list ran out, or shows no
    // rows under its filter): nothing is written there.
    const auto* rows = qobject_cast<const data::RecordsetModel*>(model);
    if (!rows || index.row() != rows->currentRow())
        return;
    if (auto* check = qobject_cast<QCheckBox*>(editor)) {
        if (check->isChecked() != index.data(Qt::EditRole).toBool())
            model->setData(index, check->isChecked(), Qt::EditRole);
        return;
    }
    const auto* line = qobject_cast<const QLineEdit*>(editor);
    if (line && line->isReadOnly())
        return;
    const QString text = editorText(editor);
    QString shown = shownText(editor, index);
    if (line && line->maxLength() < shown.size())
        shown.truncate(
            line->maxLength()); // a longer stored value shows cut, and stays unless edited
    if (!line) {
        // A several-line box gives its lines back joined by line feeds, whatever the stored
        // line ends were.
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    if (text == shown)
        return;
    if (!model->setData(index, text, Qt::EditRole))
        m_failures.push_back({editor, text});
}

bool BoundBoxDelegate::eventFilter(QObject*, QEvent*)
{
    return false;
}
