#include "people/DirectoryLists.h"

#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QFocusEvent>
#include <QLineEdit>

QString ShowFilterText(int code)
{
    switch (static_cast<DirectoryShowFilter>(code)) {
    case DirectoryShowFilter::All:
        return QStringLiteral("Youth_Deleted = False");
    case DirectoryShowFilter::ActiveOnly:
        return QStringLiteral("(Youth_Deleted = False AND Youth_Status = ") + QLatin1String("1") +
               QStringLiteral(") OR (Youth_Deleted = False AND Youth_Status = ") +
               QLatin1String("2") + QLatin1Char(')');
    case DirectoryShowFilter::InactiveOnly:
        return QStringLiteral("Youth_Deleted = False AND Youth_Status = ") + QLatin1String("3");
    }
    return QString();
}

void FillShowList(QComboBox* list)
{
    list->clear();
    list->addItem(QStringLiteral("All"), static_cast<int>(DirectoryShowFilter::All));
    list->addItem(QStringLiteral("Active Only"), static_cast<int>(DirectoryShowFilter::ActiveOnly));
    list->addItem(QStringLiteral("Inactive Only"),
                  static_cast<int>(DirectoryShowFilter::InactiveOnly));
}

void FillStatusList(QComboBox* list)
{
    list->clear();
    list->addItem(QStringLiteral("(Unassigned)"), 0);
    list->addItem(QStringLiteral("Active"), 1);
    list->addItem(QStringLiteral("Away/Active"), 2);
    list->addItem(QStringLiteral("Inactive"), 3);
}

void FillIMServiceList(QComboBox* list)
{
    list->clear();
    for (const char* service : {"", "AIM", "Google", "ICQ", "Jabber", "MSN", "Yahoo", "Other"})
        list->addItem(QString::fromLatin1(service));
}

QStringList ReadTeamNames(const QString& connectionString)
{
    data::Connection conn;
    conn.setCursorLocation(data::adUseServer);
    conn.Open(connectionString);
    data::Recordset rs;
    rs.Open(QStringLiteral("SELECT DISTINCT Youth_Team FROM Youth WHERE Youth_Team<>'' AND "
                           "Youth_Team IS NOT NULL AND Youth_Deleted=False ORDER BY Youth_Team;"),
            conn, data::adOpenForwardOnly, data::adLockReadOnly);
    QStringList names;
    while (!rs.EOF()) {
        names << ToString(rs[QStringLiteral("Youth_Team")], QString()).trimmed();
        rs.MoveNext();
    }
    rs.Close();
    conn.Close();
    // Teams stored with blanks around them (" Blue " and "Blue") are one team.
    return DistinctEntries(names);
}

QString LimitedChoice(const QString& text, int limit)
{
    return text.left(limit).trimmed();
}

ChoiceBox::ChoiceBox(int limit, QWidget* parent) : QComboBox(parent), m_limit(limit)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The typed text stays as typed: no completion from the entries.
    setCompleter(nullptr);
    connect(this, &QComboBox::activated, this, [this] {
        if (!m_leaving)
            emit picked();
    });
}

void ChoiceBox::showPopup()
{
    emit aboutToDropDown();
    QComboBox::showPopup();
}

void ChoiceBox::keyReleaseEvent(QKeyEvent* event)
{
    QComboBox::keyReleaseEvent(event);
    emit keyReleased();
}

void ChoiceBox::focusOutEvent(QFocusEvent* event)
{
    // Leaving, the box itself selects an entry equal to the typed text: that is no pick.
    m_leaving = true;
    QComboBox::focusOutEvent(event);
    m_leaving = false;
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit left();
}
