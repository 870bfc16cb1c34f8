#include "people/MeetingFields.h"

#include "people/ClickEnd.h"
#include "shell/Conversions.h"
#include "platform/data/LocaleText.h"
#include "platform/data/RecordsetModel.h"
#include "platform/ui/Services.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTextCursor>

#include <cmath>

// TypingLimit ---------------------------------------------------------------------------------

TypingLimit::TypingLimit(int limit, QObject* parent)
    : QValidator(parent), m_limit(limit), m_allowed(limit)
{}

void TypingLimit::allow(const QString& text) const
{
    m_allowed = std::max(m_limit, static_cast<int>(text.size()));
}

QValidator::State TypingLimit::validate(QString& input, int&) const
{
    const int length = static_cast<int>(input.size());
    if (length > std::max(m_limit, m_allowed))
        return Invalid;
    m_allowed = std::max(m_limit, length);
    return Acceptable;
}

// MultiLineBox --------------------------------------------------------------------------------

MultiLineBox::MultiLineBox(int limit, QWidget* parent)
    : QPlainTextEdit(parent), m_limit(limit), m_allowed(limit)
{
    // Tab moves on to the next box, as in every other box of the screen.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &MultiLineBox::onTextChanged);
}

void MultiLineBox::setStoredText(const QString& text)
{
    m_allowed = std::max(m_limit, static_cast<int>(text.size()));
    if (text == toPlainText())
        return;
    m_programChange = true;
    setPlainText(text);
    m_programChange = false;
}

void MultiLineBox::onTextChanged()
{
    if (m_programChange)
        return;
    const int length = static_cast<int>(toPlainText().size());
    const int cap = std::max(m_limit, m_allowed);
    if (length > cap) {
        // Keep what was there and as much of the new text as fits: the characters beyond the
        // limit are those just typed or pasted before the caret.
        QTextCursor cursor = textCursor();
        const int excess = std::min(length - cap, cursor.position());
        cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, excess);
        m_programChange = true;
        cursor.removeSelectedText();
        m_programChange = false;
        setTextCursor(cursor);
    }
    m_allowed = std::max(m_limit, static_cast<int>(toPlainText().size()));
    emit textEdited();
}

// Money ---------------------------------------------------------------------------------------

QString formatOffering(double amount)
{
    const double cents = std::round(amount * 100.0);
    const QString digits = QLocale().toString(std::abs(cents) / 100.0, 'f', 2);
    return (cents < 0 ? QStringLiteral("-$") : QStringLiteral("$")) + digits;
}

std::optional<double> parseOffering(const QString& text)
{
    QString t = text.trimmed();
    t.remove(QLatin1Char('$'));
    return data::text::parseNumber(t);
}

// MeetingFieldDelegate ------------------------------------------------------------------------

QString editorText(const QWidget* editor)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->text();
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(editor))
        return box->toPlainText();
    return QString();
}

MeetingFieldDelegate::MeetingFieldDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void MeetingFieldDelegate::setColumn(int column, Kind kind, const QString& reason,
                                     const QString& refusal)
{
    m_columns[column] = Column{kind, reason, refusal};
}

void MeetingFieldDelegate::setWritesWhenLeftFor(std::function<bool(const QWidget*)> rule)
{
    m_writesWhenLeftFor = std::move(rule);
}

QString MeetingFieldDelegate::reasonToRefuse(const QWidget* editor, const QModelIndex& index) const
{
    const QString text = editorText(editor);
    if (!index.isValid() || text == displayText(index))
        return QString();
    const Column column = columnOf(index.column());
    const QString trimmed = text.trimmed();
    switch (column.kind) {
    case Kind::Text:
        return QString();
    case Kind::Number:
        return trimmed.isEmpty() || data::text::parseNumber(trimmed) ? QString() : column.reason;
    case Kind::Date: {
        const auto day = data::text::parseDate(trimmed);
        return day && data::jetdate::toDate(*day) != data::jetdate::epoch() ? QString()
                                                                            : column.reason;
    }
    case Kind::Money:
        return trimmed.isEmpty() || parseOffering(trimmed) ? QString() : column.reason;
    }
    return QString();
}

bool MeetingFieldDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<QWidget*>(object);
    if (!editor || event->type() != QEvent::FocusOut)
        return QStyledItemDelegate::eventFilter(object, event);
    // Another window (a message) or a list opening is no leaving; nor is the focus moving inside
    // the box.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    const QWidget* to = QApplication::focusWidget();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        (to && (to == editor || editor->isAncestorOf(to))))
        return false;
    if (!m_writesWhenLeftFor || m_writesWhenLeftFor(to))
        RunWhenClickEnds(editor, [this, editor] { emit commitData(editor); });
    return false;
}

MeetingFieldDelegate::Column MeetingFieldDelegate::columnOf(int column) const
{
    const auto it = m_columns.find(column);
    return it == m_columns.end() ? Column{} : it->second;
}

QString MeetingFieldDelegate::displayText(const QModelIndex& index) const
{
    const auto v = index.data(data::RecordsetModel::VariantRole).value<data::Variant>();
    switch (columnOf(index.column()).kind) {
    case Kind::Money: {
        const auto amount = convert::toDouble(v);
        return amount ? formatOffering(*amount) : QString();
    }
    case Kind::Date: {
        const auto day = convert::toDate(v);
        return day ? data::text::formatGeneralDate(*day) : QString();
    }
    case Kind::Text:
    case Kind::Number:
        break;
    }
    return index.data(Qt::EditRole).toString();
}

void MeetingFieldDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = displayText(index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        if (const auto* limit = qobject_cast<const TypingLimit*>(line->validator()))
            limit->allow(text);
        if (line->text() != text)
            line->setText(text);
    } else if (auto* box = qobject_cast<MultiLineBox*>(editor)) {
        box->setStoredText(text);
    } else {
        QStyledItemDelegate::setEditorData(editor, index);
    }
}

void MeetingFieldDelegate::refuse(QWidget* editor, const QModelIndex& index,
                                  const QString& message) const
{
    ui::information(message);
    setEditorData(editor, index);
}

void MeetingFieldDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                        const QModelIndex& index) const
{
    // Only the row the recordset stands on is written: a box may still show a row that has
    // been deleted or left for the end of the records.
    const auto* rows = qobject_cast<const data::RecordsetModel*>(model);
    if (!index.isValid() || !rows || index.row() != rows->currentRow())
        return;
    const QString text = editorText(editor);
    if (text == displayText(index))
        return;
    const Column column = columnOf(index.column());
    const QString trimmed = text.trimmed();
    data::Variant value;
    switch (column.kind) {
    case Kind::Text:
        if (!model->setData(index, text, Qt::EditRole))
            refuse(editor, index, column.refusal);
        return;
    case Kind::Number:
        if (!model->setData(index, trimmed, Qt::EditRole))
            refuse(editor, index, column.refusal);
        return;
    case Kind::Date: {
        const auto day = data::text::parseDate(trimmed);
        // A time alone reads as the zero date, which means "no date".
        if (!day || data::jetdate::toDate(*day) == data::jetdate::epoch()) {
            refuse(editor, index, column.refusal);
            return;
        }
        value = data::Variant::date(data::jetdate::fromDate(data::jetdate::toDate(*day)));
        break;
    }
    case Kind::Money: {
        if (trimmed.isEmpty()) {
            value = data::Variant::null();
            break;
        }
        const auto amount = parseOffering(trimmed);
        if (!amount) {
            refuse(editor, index, column.refusal);
            return;
        }
        value = data::Variant::currency(*amount);
        break;
    }
    }
    if (value == index.data(data::RecordsetModel::VariantRole).value<data::Variant>()) {
        setEditorData(editor, index); // the same value typed differently
        return;
    }
    if (!model->setData(index, QVariant::fromValue(value), data::RecordsetModel::VariantRole))
        refuse(editor, index, column.refusal);
}
