// The attendance side of the meetings screen: the list of the shown meeting, the people
// drop-down, barcode entry, Save List and the meeting's roll sheet.

#include "people/frmServices.h"

#include "people/MeetingsText.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "shell/TryStep.h"
#include "shell/ShowReport.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Recordset.h"
#include "platform/report/Registry.h"
#include "platform/ui/Services.h"

#include <QApplication>
#include <QComboBox>
#include <QDebug>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>

#include <algorithm>

using namespace meetings_text;

namespace {

// The tick an entry had when the program last set it or the user's change was taken; the
// person's id is in Qt::UserRole.
constexpr int kTickRole = Qt::UserRole + 1;

const QString kActivePeopleSql =
    QStringLiteral("SELECT Youth_ID, Youth_LName, Youth_FName From Youth WHERE Youth_Status=1 AND "
                   "Youth_Deleted=False ORDER BY Youth_LName, Youth_FName;");

QString attendeesSql(std::int32_t wk)
{
    return QStringLiteral("SELECT Youth_ID, Youth_FName, Youth_LName FROM Youth INNER JOIN "
                          "Attendance ON Youth.Youth_ID = Attendance.Attend_Youth_ID WHERE "
                          "Attend_Wk_ID=") +
           QString::number(wk) + QStringLiteral(" ORDER BY Youth_LName, Youth_FName;");
}

QString sqlDate(double dayNumber)
{
    return QLatin1Char('#') + data::text::formatUsDate(data::jetdate::toDate(dayNumber)) +
           QLatin1Char('#');
}

std::int32_t entryId(const QListWidgetItem* item)
{
    return ToLong(data::Variant(static_cast<std::int32_t>(item->data(Qt::UserRole).toInt())), 0);
}

const QString kAttendanceChanged = QStringLiteral(
    "The attendance of this meeting was changed by another user since you opened it. To see it "
    "as it is stored now, move to another meeting and back without saving, then make your "
    "changes again.");

// The people stored as attending a meeting, as the list reads them, in order of their ids.
std::vector<std::int32_t> storedAttendance(data::Connection& conn, std::int32_t wk)
{
    data::Recordset rs;
    rs.Open(attendeesSql(wk), conn);
    std::vector<std::int32_t> ids;
    while (!rs.EOF()) {
        ids.push_back(ToLong(rs.Fields(QStringLiteral("Youth_ID")), 0));
        rs.MoveNext();
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool meetingStored(data::Connection& conn, std::int32_t wk)
{
    data::Recordset rs;
    rs.Open(QStringLiteral("SELECT Wk_ID FROM Weeks WHERE Wk_ID=") + QString::number(wk) +
                QLatin1Char(';'),
            conn);
    return !rs.EOF();
}

} // namespace

// The list ------------------------------------------------------------------------------------

void frmServices::addListEntry(std::int32_t id, const QString& text, bool ticked)
{
    // Everything is set before the entry joins the list, so that filling raises no tick.
    auto* item = new QListWidgetItem(text);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setData(Qt::UserRole, id);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    item->setData(kTickRole, ticked);
    AttendedList->addItem(item);
}

void frmServices::setSaveListShown(bool shown)
{
    cmdSet->setHidden(!shown);
}

void frmServices::ShowAttendeeCount()
{
    lblItemCount->setText(QLatin1Char(' ') + QString::number(AttendedList->count()) +
                          QStringLiteral(" Total Names"));
}

std::optional<std::int32_t> frmServices::attendanceMeetingId()
{
    if (!adoPrimaryRS || adoPrimaryRS->EOF() || adoPrimaryRS->BOF())
        return std::nullopt;
    const std::int32_t wk = ToLong(adoPrimaryRS->Fields(QStringLiteral("Wk_ID")), 0);
    if (wk != 0)
        return wk;
    // A meeting not yet stored: it can only be the meeting of its date when no other meeting
    // shares that date.
    const auto day = meetingDay();
    if (!day)
        return std::nullopt;
    data::Recordset rs;
    rs.Open(QStringLiteral("SELECT Wk_ID FROM Weeks WHERE Wk_Date = ") + sqlDate(*day) +
                QLatin1Char(';'),
            *m_connection);
    if (rs.RecordCount() != 1)
        return std::nullopt;
    const std::int32_t found = ToLong(rs.Fields(QStringLiteral("Wk_ID")), 0);
    return found != 0 ? std::optional<std::int32_t>(found) : std::nullopt;
}

void frmServices::LoadAttendanceList()
{
    if (SuppressLoad)
        return;
    if (!adoPrimaryRS || adoPrimaryRS->EOF() || adoPrimaryRS->BOF())
        return;
    const std::int32_t wk = ToLong(adoPrimaryRS->Fields(QStringLiteral("Wk_ID")), 0);
    if (wk == 0 && adoPrimaryRS->Fields(QStringLiteral("Wk_Date")).Value().isNull())
        return;

    AttendedList->clear();
    m_storedAttendance.clear();
    AttendedList->setUpdatesEnabled(false);
    const auto refresh = qScopeGuard([this] {
        Loading = false;
        AttendedList->setUpdatesEnabled(true);
    });
    try {
        QString sql;
        bool tick = true;
        if (FillWithActive) {
            sql = kActivePeopleSql;
            tick = false;
            FillWithActive = false;
        } else if (const auto meeting = attendanceMeetingId()) {
            sql = attendeesSql(*meeting);
        }
        if (!sql.isEmpty()) {
            data::Recordset rs;
            rs.Open(sql, *m_connection, data::adOpenForwardOnly);
            Loading = true;
            const data::Field id = rs.Fields(QStringLiteral("Youth_ID"));
            const data::Field last = rs.Fields(QStringLiteral("Youth_LName"));
            const data::Field first = rs.Fields(QStringLiteral("Youth_FName"));
            while (!rs.EOF()) {
                addListEntry(ToLong(id, 0),
                             ToString(last, QString()) + QStringLiteral(", ") +
                                 ToString(first, QString()),
                             tick);
                if (tick)
                    m_storedAttendance.push_back(ToLong(id, 0));
                rs.MoveNext();
            }
            std::sort(m_storedAttendance.begin(), m_storedAttendance.end());
            Loading = false;
        }
        ShowAttendeeCount();
        setSaveListShown(!tick);
        if (AttendedList->count() > 0)
            AttendedList->setCurrentRow(0);
        ListChanged = false;
    } catch (const std::exception& e) {
        qWarning().noquote() << "Loading the attendance list stopped:" << e.what();
    }
}

void frmServices::FillPeopleList(bool sortByFirst)
{
    Select_Youth->clear();
    data::Recordset rs;
    rs.Open(QStringLiteral("SELECT Youth_ID, Youth_FName, Youth_LName FROM Youth WHERE "
                           "Youth_Deleted=False ORDER BY ") +
                (sortByFirst ? QStringLiteral("Youth_FName, Youth_LName")
                             : QStringLiteral("Youth_LName, Youth_FName")) +
                QLatin1Char(';'),
            *m_connection, data::adOpenStatic, data::adLockOptimistic);
    const data::Field id = rs.Fields(QStringLiteral("Youth_ID"));
    const data::Field last = rs.Fields(QStringLiteral("Youth_LName"));
    const data::Field first = rs.Fields(QStringLiteral("Youth_FName"));
    while (!rs.EOF()) {
        const QString f = ToString(first, QString());
        const QString l = ToString(last, QString());
        Select_Youth->addItem(sortByFirst ? f + QLatin1Char(' ') + l : l + QStringLiteral(", ") + f,
                              ToLong(id, 0));
        rs.MoveNext();
    }
    SortByFirst = sortByFirst;
    cmdResort->setText(QStringLiteral("Sort by ") +
                       (sortByFirst ? QStringLiteral("Last") : QStringLiteral("First")) +
                       QStringLiteral(" Name"));
    Select_Youth->setCurrentIndex(-1); // shows "Add Another Name"
    rs.Close();
}

void frmServices::cmdResort_Click()
{
    TryStep("Sorting the people drop-down", [this] { FillPeopleList(!SortByFirst); });
}

// Changes ---------------------------------------------------------------------------------------

bool frmServices::ConfirmOldListChange()
{
    if (Loading || !IsOldMeeting() || OldListConfirmed)
        return true;
    const auto day = meetingDay();
    const QString text = QStringLiteral("This attendance list is dated more than ") +
                         QString::number(6) +
                         QStringLiteral(" days ago.  Are you sure you want to change "
                                        "information for ") +
                         shortDateText(data::Variant::date(day.value_or(0))) + QLatin1Char('?');
    if (!ui::askCriticalYesNo(text))
        return false;
    OldListConfirmed = true;
    return true;
}

void frmServices::AttendedList_ItemCheck(QListWidgetItem* item)
{
    if (Loading || !item)
        return;
    const bool ticked = item->checkState() == Qt::Checked;
    const bool before = item->data(kTickRole).toBool();
    if (ticked == before)
        return; // the text or the selection changed, not the tick
    const bool confirmed = ConfirmOldListChange();
    Loading = true;
    const auto done = qScopeGuard([this] { Loading = false; });
    if (confirmed)
        item->setData(kTickRole, ticked);
    else
        item->setCheckState(before ? Qt::Checked : Qt::Unchecked); // asks nothing further
    setSaveListShown(true);
    ListChanged = true;
}

void frmServices::AddAttendee(std::int32_t id, const QString& name, bool showDuplicate)
{
    if (!ConfirmOldListChange())
        return;
    // A changed list is saved first (and read back), so the new name joins a stored list.
    if (!cmdSet->isHidden() && !SaveList())
        return;
    for (int i = 0; i < AttendedList->count(); ++i) {
        if (entryId(AttendedList->item(i)) == id) {
            if (showDuplicate)
                ui::plainMessage(kAlreadyListed);
            return;
        }
    }
    Loading = true;
    const auto done = qScopeGuard([this] { Loading = false; });
    addListEntry(id, name, true);
    AttendedList->setCurrentRow(AttendedList->count() - 1);
    AttendedList->scrollToItem(AttendedList->currentItem());
    setSaveListShown(true);
    ListChanged = true;
    Loading = false;
    ShowAttendeeCount();
}

void frmServices::cmdNewAttendee_Click()
{
    const int index = Select_Youth->currentIndex();
    if (index < 0)
        return;
    const std::int32_t id =
        ToLong(data::Variant(static_cast<std::int32_t>(Select_Youth->itemData(index).toInt())), 0);
    TryStep("Adding a person to the list",
            [&] { AddAttendee(id, Select_Youth->currentText(), true); });
}

// Save List -----------------------------------------------------------------------------------

void frmServices::cmdSet_Click()
{
    SaveList();
}

bool frmServices::SaveList()
{
    if (!ConfirmOldListChange())
        return false;
    std::optional<std::int32_t> wk;
    std::optional<double> day;
    try {
        wk = attendanceMeetingId();
        day = meetingDay();
    } catch (const std::exception& e) {
        qWarning().noquote() << "Finding the meeting of the list failed:" << e.what();
    }
    if (!wk || !day) {
        ui::critical(kNoMeetingForList);
        return false;
    }
    const QString meeting = QString::number(*wk);
    const QString date = sqlDate(*day);
    try {
        // The meeting's pending edits are stored first, so that the date the attendees are
        // marked with is the meeting's stored date.
        adoPrimaryRS->Update();
        // All or nothing: the stored attendance is replaced only when every row is written.
        data::Transaction transaction(*m_connection);
        // Nor is a meeting that another user removed given attendance again.
        if (!meetingStored(*m_connection, *wk))
            throw data::DataError(data::kRemovedByAnotherUser, QString(), QString(),
                                  data::DataError::kRemovedByAnotherUserCode);
        // Another user's list, saved since this one was read, is never overwritten unseen.
        if (storedAttendance(*m_connection, *wk) != m_storedAttendance)
            throw data::DataError(kAttendanceChanged, QString(), QString(),
                                  data::DataError::kChangedByAnotherUserCode);
        m_connection->Execute(
            QStringLiteral("DELETE Attendance.* FROM Attendance WHERE Attend_Wk_ID=") + meeting +
            QLatin1Char(';'));
        for (int i = 0; i < AttendedList->count(); ++i) {
            const QListWidgetItem* item = AttendedList->item(i);
            if (item->checkState() != Qt::Checked)
                continue;
            m_connection->Execute(QStringLiteral("INSERT INTO Attendance ( Attend_Youth_ID, "
                                                 "Attend_Wk_ID ) SELECT ") +
                                  QString::number(entryId(item)) + QStringLiteral(" AS Expr1, ") +
                                  meeting + QStringLiteral(" AS Expr2;"));
        }
        m_connection->Execute(
            QStringLiteral("UPDATE DISTINCTROW Youth INNER JOIN Attendance ON Youth.Youth_ID = "
                           "Attendance.Attend_Youth_ID") +
            QStringLiteral(" SET Youth_Last_Attended=") + date +
            QStringLiteral(" WHERE (Youth_Last_Attended<") + date +
            QStringLiteral(" Or Youth_Last_Attended Is Null) AND Attend_Wk_ID=") + meeting +
            QLatin1Char(';'));
        transaction.commit();
    } catch (const std::exception& e) {
        ui::critical(kListNotSaved + QStringLiteral("\n\n") + describe(e));
        setSaveListShown(true);
        ListChanged = true;
        return false;
    }
    ListChanged = false;
    LoadAttendanceList();
    m_printAllowed = true;
    updateCommands();
    return true;
}

// Barcode entry ---------------------------------------------------------------------------------

void frmServices::bc_Entry_GotFocus()
{
    bc_Entry->clear();
    bc_Entry->setEchoMode(QLineEdit::Password);
    QFont font = bc_Entry->font();
    font.setBold(true);
    bc_Entry->setFont(font);
    bc_ReadyImage->show();
}

void frmServices::bc_Entry_LostFocus()
{
    bc_Entry->setEchoMode(QLineEdit::Normal);
    bc_Entry->setText(kScanIdleText);
    QFont font = bc_Entry->font();
    font.setBold(false);
    bc_Entry->setFont(font);
    bc_ReadyImage->hide();
}

bool frmServices::bc_Entry_KeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        bc_Entry_Enter();
        return true;
    }
    const QString typed = event->text();
    if (typed.size() != 1 || !typed[0].isPrint())
        return false; // editing keys keep their meaning
    const QChar c = typed[0];
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return false;
    // Anything but a digit is no part of a person's id: it is taken out of the box.
    QString text = bc_Entry->text();
    text.remove(c);
    if (text != bc_Entry->text())
        bc_Entry->setText(text);
    return true;
}

void frmServices::bc_Entry_Enter()
{
    // The barcode holds the id with leading zeros ("000007"): it is read as a number.
    const std::int32_t id = ToLong(data::Variant(bc_Entry->text()), 0);
    try {
        QString name;
        bool found = false;
        {
            data::Recordset rs;
            rs.Open(QStringLiteral("SELECT Youth_LName & ', ' & Youth_FName AS FullName FROM Youth "
                                   "WHERE Youth_ID=") +
                        QString::number(id),
                    *m_connection, data::adOpenDynamic, data::adLockOptimistic);
            found = !rs.EOF() && !rs.BOF();
            if (found)
                name = ToString(rs.Fields(QStringLiteral("FullName")), QString());
        }
        if (found) {
            AddAttendee(id, name, false);
        } else {
            QApplication::beep();
            ui::critical(kNotFound, QStringLiteral("Member Not Found"));
        }
    } catch (const std::exception& e) {
        qWarning().noquote() << "Looking up a scanned id failed:" << e.what();
    }
    // Ready for the next scan.
    bc_Entry->clear();
    bc_Entry->setFocus();
}

// Printing --------------------------------------------------------------------------------------

void frmServices::cmdPrintWeekRoll_Click()
{
    if (!hasMeeting())
        return;
    // The sheet prints the stored list: it is never silently other than the ticks shown.
    if (ListChanged) {
        switch (ui::askYesNoCancel(kSaveBeforePrinting, kSaveBeforePrintingTitle)) {
        case ui::Answer::Yes:
            if (!SaveList())
                return; // the user has been told why
            break;
        case ui::Answer::No:
            break;
        default:
            return;
        }
    }
    try {
        // The roll sheet reads the meeting's date, offering, topic and scripture from the file.
        try {
            adoPrimaryRS->Update();
        } catch (const std::exception& e) {
            ui::critical(meetingNotSavedText(e));
            return;
        }
        program().ReportWeekID = ToLong(adoPrimaryRS->Fields(QStringLiteral("Wk_ID")), 0);
        // The roll sheet reads the meeting while it is created; the catalogue's roll sheet
        // must find no meeting afterwards.
        const auto reset = qScopeGuard([] { program().ReportWeekID = 0; });
        std::shared_ptr<report::Report> layout = report::createLayout(kRollSheetLayout);
        if (layout) {
            ShowReport(std::move(layout), true);
            // Ticks still unsaved now are ones the user chose not to save before printing.
            m_listKeptBehindPreview = ListChanged;
        }
    } catch (const std::exception& e) {
        ui::plainMessage(describe(e));
    }
}

void frmServices::keepUnsavedList()
{
    KeptAttendanceList kept;
    kept.meetingId = ToLong(adoPrimaryRS->Fields(QStringLiteral("Wk_ID")), 0);
    kept.meetingDay = meetingDay();
    kept.stored = m_storedAttendance;
    kept.oldListConfirmed = OldListConfirmed;
    for (int i = 0; i < AttendedList->count(); ++i) {
        const QListWidgetItem* item = AttendedList->item(i);
        kept.entries.push_back({entryId(item), item->text(), item->checkState() == Qt::Checked});
    }
    if (kept.meetingId != 0)
        program().KeptAttendance = std::move(kept);
}

bool frmServices::showKeptList(const KeptAttendanceList& kept)
{
    const auto copy = adoPrimaryRS->Clone();
    copy->Find(QStringLiteral("Wk_ID = ") + QString::number(kept.meetingId), 0,
               data::adSearchForward, data::adBookmarkFirst);
    if (copy->EOF())
        return false;
    adoPrimaryRS->setBookmark(copy->Bookmark());
    AttendedList->clear();
    Loading = true;
    for (const KeptAttendanceList::Entry& e : kept.entries)
        addListEntry(e.id, e.text, e.ticked);
    Loading = false;
    m_storedAttendance = kept.stored;
    OldListConfirmed = kept.oldListConfirmed;
    ShowAttendeeCount();
    if (AttendedList->count() > 0)
        AttendedList->setCurrentRow(0);
    setSaveListShown(true);
    ListChanged = true;
    return true;
}
