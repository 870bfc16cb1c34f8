#pragma once

#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QValidator>

#include <functional>
#include <map>
#include <optional>

// The boxes of the meetings screen and how they show and take back the meeting's fields.

// The most characters a user may type into a line edit. Text put in by the program may be
// longer than that (a formatted amount); the user may then shorten it, but not lengthen it.
class TypingLimit : public QValidator {
    Q_OBJECT
public:
    TypingLimit(int limit, QObject* parent);

    int limit() const { return m_limit; }
    // Text the program is about to put in: it is accepted whatever its length.
    void allow(const QString& text) const;

    State validate(QString& input, int& pos) const override;

private:
    int m_limit;
    mutable int m_allowed;
};

// A several-line box with the same typing limit, telling user edits from the program's.
class MultiLineBox : public QPlainTextEdit {
    Q_OBJECT
public:
    MultiLineBox(int limit, QWidget* parent = nullptr);

    // Shows text from the program: no edit is signalled and the limit does not cut it.
    void setStoredText(const QString& text);

signals:
    // The user changed the text.
    void textEdited();

private:
    void onTextChanged();

    int m_limit;
    int m_allowed;
    bool m_programChange = false;
};

// Money as the offering box shows it: "$1,234.50" (the locale's separators), "-$5.00".
QString formatOffering(double amount);
// The amount in text typed into the offering box ("$1,234.5", "1234.50", "12"); nullopt when
// the text is no amount.
std::optional<double> parseOffering(const QString& text);

// Shows the fields of the meeting recordset in their boxes and writes back what the user
// changed: dates and money in their display forms, a date that is empty or no date refused
// with a message and the stored value shown again, other values the field cannot take
// likewise. Values the user did not change are never written. A box writes back when it is
// left, unless the screen says the place the focus goes to settles the boxes itself (or is not
// on the screen); a refusal's message waits for the end of a click.
class MeetingFieldDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    enum class Kind { Text, Number, Date, Money };

    explicit MeetingFieldDelegate(QObject* parent = nullptr);

    // How the model column `column` is shown; what is wrong with text it cannot take, and the
    // message when such text is refused (the stored value put back).
    void setColumn(int column, Kind kind, const QString& reason = QString(),
                   const QString& refusal = QString());
    // Whether a box left for the widget `to` writes back at once.
    void setWritesWhenLeftFor(std::function<bool(const QWidget* to)> rule);

    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    // The text a box shows for the value at `index`.
    QString displayText(const QModelIndex& index) const;
    // Why the changed text of a box would be refused; empty when it would be taken (or is not
    // changed). Nothing is written.
    QString reasonToRefuse(const QWidget* editor, const QModelIndex& index) const;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    struct Column {
        Kind kind = Kind::Text;
        QString reason;
        QString refusal;
    };
    std::function<bool(const QWidget*)> m_writesWhenLeftFor;
    Column columnOf(int column) const;
    void refuse(QWidget* editor, const QModelIndex& index, const QString& message) const;

    std::map<int, Column> m_columns;
};

// The text of a box that the delegate serves.
QString editorText(const QWidget* editor);
