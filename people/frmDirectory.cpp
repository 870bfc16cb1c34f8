#include "people/frmDirectory.h"

#include "people/AttendanceHistory.h"
#include "people/Beep.h"
#include "people/BoundBoxDelegate.h"
#include "people/ClickEnd.h"
#include "people/DirectoryLists.h"
#include "people/PersonIcons.h"
#include "people/PersonPicker.h"
#include "people/SendEmail.h"
#include "people/TabFrame.h"
#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "shell/ProgramState.h"
#include "shell/RunMarker.h"
#include "shell/ShowReport.h"
#include "shell/TryStep.h"
#include "shell/frmMainMDI.h"
#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/data/RecordsetMapper.h"
#include "platform/data/RecordsetModel.h"
#include "platform/report/Registry.h"
#include "platform/report/Report.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Services.h"

#include <QApplication>
#include <QCheckBox>
#include <QDataWidgetMapper>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

namespace {

// Bound boxes and check boxes: control index and field.
struct Binding {
    int index;
    const char* field;
};

constexpr std::array<Binding, 23> kBoxFields{{
    {11, "Youth_FName"},        {21, "Youth_MName"},         {18, "Youth_LName"},
    {0, "Youth_Address1"},      {4, "Youth_City"},           {27, "Youth_State"},
    {34, "Youth_Zip"},          {8, "Youth_EMail"},          {13, "Youth_HomePhone"},
    {1, "Youth_WorkPhone"},     {10, "Youth_CellPhone"},     {9, "Youth_BeeperPhone"},
    {2, "Youth_IM_Username"},   {3, "Youth_Bday"},           {23, "Youth_School"},
    {24, "Youth_School_Grade"}, {22, "Youth_ParentName"},    {20, "Youth_Ministry"},
    {5, "Youth_Comments"},      {16, "Youth_Last_Attended"}, {6, "Youth_Contact"},
    {29, "Youth_Updated"},      {7, "Youth_Created"},
}};

constexpr std::array<Binding, 6> kCheckFields{{
    {32, "Youth_Visitor"},
    {19, "Youth_Mail_List"},
    {17, "Youth_Leader"},
    {33, "Youth_VLetter"},
    {30, "Youth_VCall"},
    {31, "Youth_VHousecall"},
}};

// The statement that clears away unfinished new people ("New Profile" rows). While another copy
// of the program runs, only those this copy added go: the other copy may be adding one right
// now. Empty when there is nothing this copy may clear.
QString placeholderCleanup()
{
    QString sql = QStringLiteral("DELETE Youth_FName FROM Youth WHERE Youth_FName='New Profile'");
    if (AnotherCopyIsRunning()) {
        const auto& added = program().PeopleAddedByThisRun;
        if (added.empty())
            return QString();
        QStringList ids;
        for (const std::int32_t id : added)
            ids << QString::number(id);
        sql += QStringLiteral(" AND Youth_ID IN (") + ids.join(QStringLiteral(", ")) +
               QLatin1Char(')');
    }
    return sql + QLatin1Char(';');
}

const QString kTeamHelp = QStringLiteral(
    "Team names could be useful when dividing your group into teams for evangelism outreaches "
    "or other small group functions. The first time you assign a team, type the name in this "
    "box.  The next time you assign the same name, it will appear in the drop-down list.");

bool isModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

} // namespace

const QString frmDirectory::kProfileLayout = QStringLiteral("rptProfile");
const QString frmDirectory::kPlaceholderName = QStringLiteral("New Profile");

// Building the screen --------------------------------------------------------------------------

frmDirectory::frmDirectory(QWidget* parent)
    : ContentForm(QStringLiteral("frmDirectory"), parent),
      adoPrimaryRS(std::make_unique<data::Recordset>()),
      m_navigator({[this] { return isOpen() ? adoPrimaryRS.get() : nullptr; },
                   [this](const std::function<void()>& move) {
                       tryMove(move);
                       SyncNavCombo();
                   },
                   [] { people::Beep(); }, [] { people::Beep(); }})
{
    buildControls();
    m_history = std::make_unique<AttendanceHistory>(Attendance_Record);
    connectHandlers();
    applyColours();
    // One tab's page at a time from the start, also on a screen whose data file cannot be read.
    SSTabCtl->setCurrentIndex(0);
    SSTabCtl_Click();
    // The screen sees the keys of its controls before they do.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
    }
}

frmDirectory::~frmDirectory()
{
    // The controls outlive this part of the screen: nothing they do while they go may reach
    // its handlers.
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        QObject::disconnect(child, nullptr, this, nullptr);
    }
    if (adoPrimaryRS)
        QObject::disconnect(adoPrimaryRS.get(), nullptr, this, nullptr);
}

void frmDirectory::connectHandlers()
{
    connect(cmdAdd, &QToolButton::clicked, this, [this] { AddRecord(false); });
    connect(cmdClone, &QToolButton::clicked, this, [this] { AddRecord(true); });
    connect(cmdUpdate, &QPushButton::clicked, this, [this] { cmdUpdate_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdDelete, &QToolButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdPrintProfile, &QPushButton::clicked, this, [this] { cmdPrintProfile_Click(); });
    connect(cmdEmail, &QPushButton::clicked, this, [this] { cmdEmail_Click(); });
    m_navigator.connectButtons(this, cmdFirst, cmdPrevious, cmdNext, cmdLast);
    for (auto& [index, check] : chkFields)
        connect(check, &QCheckBox::clicked, this, [this] { chkFields_Click(); });
    connect(SSTabCtl, &TabFrame::currentChanged, this, [this] { SSTabCtl_Click(); });

    connect(NavCombo, &QComboBox::activated, this, [this] { NavCombo_Click(); });
    connect(NavCombo, &PersonPicker::enterPressed, this, [this] { NavCombo_Enter(); });

    connect(Select_Show, &QComboBox::activated, this, [this] { Select_Show_Click(); });
    connect(Select_Status, &QComboBox::activated, this, [this] { Select_Status_Click(); });
    connect(Select_Team, &ChoiceBox::picked, this,
            [this] { choiceClicked(Select_Team, "Youth_Team", m_currentTeam); });
    connect(Select_Team, &ChoiceBox::keyReleased, this, [this] { choiceKeyReleased(Select_Team); });
    connect(Select_Team, &ChoiceBox::left, this,
            [this] { choiceLeft(Select_Team, "Youth_Team", m_currentTeam); });
    connect(Select_Team, &ChoiceBox::aboutToDropDown, this, [this] { Select_Team_DropDown(); });
    connect(Select_IMService, &ChoiceBox::picked, this,
            [this] { choiceClicked(Select_IMService, "Youth_IM_Service", m_currentIMService); });
    connect(Select_IMService, &ChoiceBox::keyReleased, this,
            [this] { choiceKeyReleased(Select_IMService); });
    connect(Select_IMService, &ChoiceBox::left, this,
            [this] { choiceLeft(Select_IMService, "Youth_IM_Service", m_currentIMService); });
    for (int i : {1, 2})
        connect(optGender[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { optGender_Click(i); });

    // Typing that comes without a key release (pasting with the mouse) is typing too.
    for (auto& [index, box] : txtFields) {
        if (auto* line = qobject_cast<QLineEdit*>(box))
            connect(line, &QLineEdit::textEdited, this, [this] { m_editing = true; });
    }

    connect(adoPrimaryRS.get(), &data::Recordset::moveComplete, this,
            [this](data::EventReasonEnum) { adoPrimaryRS_MoveComplete(); });
    connect(adoPrimaryRS.get(), &data::Recordset::willChangeRecord, this,
            [this](data::EventReasonEnum reason) {
                if (reason == data::adRsnUpdate)
                    m_savingAdd = adoPrimaryRS->EditMode() == data::adEditAdd;
            });
    connect(adoPrimaryRS.get(), &data::Recordset::recordChangeComplete, this,
            [this](data::EventReasonEnum reason) {
                if (reason == data::adRsnUpdate && m_savingAdd) {
                    program().PeopleAddedByThisRun.push_back(ToLong(fieldValue("Youth_ID"), 0));
                    rekeyAddedEntry();
                }
                m_savingAdd = false;
            });
}

void frmDirectory::bindFields()
{
    m_model = new data::RecordsetModel(*adoPrimaryRS, this);
    m_mapper = new QDataWidgetMapper(this);
    m_delegate = new BoundBoxDelegate(m_mapper);
    m_mapper->setItemDelegate(m_delegate);
    // The boxes hand their text to the row when the list moves or saves, never on their own.
    m_mapper->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    data::bindMapper(*m_model, *m_mapper);
    for (const Binding& b : kBoxFields)
        m_mapper->addMapping(txtFields.at(b.index),
                             m_model->fieldIndex(QString::fromUtf8(b.field)));
    for (const Binding& b : kCheckFields)
        m_mapper->addMapping(chkFields.at(b.index),
                             m_model->fieldIndex(QString::fromUtf8(b.field)));
    m_mapper->setCurrentIndex(m_model->currentRow());
}

// Load and unload ------------------------------------------------------------------------------

void frmDirectory::Form_Load()
{
    ui::Hourglass hourglass;
    m_visitorMode = program().MainForm && program().MainForm->VisitorMode();
    applyColours();
    FollowUpPanel->setVisible(m_visitorMode);
    try {
        openList();
    } catch (const std::exception& e) {
        // A data file that cannot be read leaves an empty screen that cannot be used.
        m_loadFailed = true;
        program().SelectedYouthID = 0;
        ui::critical(data::describe(e));
        adoPrimaryRS->Close();
        showNoPerson();
        setEnabled(false);
        return;
    }
    // A file that can be read but not changed is said at once, before anything is typed.
    if (const QString why = data::readOnlyReason(m_connection); !why.isEmpty())
        ui::critical(why);
}

void frmDirectory::openList()
{
    m_connection.setCursorLocation(data::adUseServer);
    m_connection.Open(program().ConnectionString);
    // The dates of the attendance record, before the first person is shown.
    m_history->LoadRecentWeeks();
    QString sql =
        QStringLiteral("SELECT Youth.*, Youth_LName & ', ' & Youth_FName AS YouthName From Youth");
    sql += m_visitorMode ? QStringLiteral(" WHERE Youth_Visitor=True")
                         : QStringLiteral(" WHERE Youth_Visitor=False");
    sql += QStringLiteral(" AND Youth_Deleted=False");
    sql += QStringLiteral(" ORDER by Youth_LName, Youth_FName;");
    adoPrimaryRS->Open(sql, m_connection, data::adOpenStatic, data::adLockOptimistic);
    // Every save stamps the time of the change: another user's newer stamp is no conflict.
    adoPrimaryRS->excludeFromConflictCheck(QStringLiteral("Youth_Updated"));

    // An empty list starts on a new person, unless the file cannot take one: the screen then
    // shows nobody, and a person added with Add is refused, with the reason, when saved.
    if (adoPrimaryRS->RecordCount() == 0 && data::readOnlyReason(m_connection).isEmpty()) {
        adoPrimaryRS->AddNew();
        (*adoPrimaryRS)["Youth_FName"] = kPlaceholderName;
        (*adoPrimaryRS)["Youth_Visitor"] = m_visitorMode;
    } else if (adoPrimaryRS->RecordCount() > 0) {
        m_defaultState = ToString(fieldValue("Youth_State"), QString());
    }
    // A data file without the photo column has no photo tab, whether or not it holds people.
    if (!HasPhotoField(*adoPrimaryRS))
        SSTabCtl->setTabVisible(3, false);

    bindFields();

    NavCombo->setIconSize(QSize(16, 16));
    LoadNavCombo(1);
    LoadStatusList();
    LoadIMServiceList();
    {
        const QSignalBlocker blocker(Select_IMService);
        Select_IMService->setEditText(m_currentIMService);
    }
    LoadTeamList();
    {
        const QSignalBlocker blocker(Select_Team);
        Select_Team->setEditText(m_currentTeam);
    }
    LoadShowList();

    const QString country = ui::settingsStore().value(
        QStringLiteral("GroupInfo"), QStringLiteral("Country"), QStringLiteral("USA"));
    if (country == QLatin1String("Canada"))
        lblLabels[4]->setText(QStringLiteral("City/Province/Postal:"));
    else if (country == QLatin1String("Australia"))
        lblLabels[4]->setText(QStringLiteral("City/State/Postal:"));

    SSTabCtl->setCurrentIndex(0);
    SSTabCtl_Click();
    showStatus();

    if (program().SelectedYouthID != 0) {
        const QString id = QString::number(program().SelectedYouthID);
        tryMove([&] { GotoYouthID(id); });
        SyncNavCombo();
        program().SelectedYouthID = 0;
    }
}

void frmDirectory::Form_Unload()
{
    if (m_loadFailed || !isOpen()) {
        m_unloading = true;
        return;
    }
    // A changed row is saved first (the user was asked before leaving when it could not be);
    // nothing a check refuses is stored. A failed save is shown, and the clean-up still runs.
    commitChoiceBoxes();
    if (hasCurrentRow() && !refusal() && adoPrimaryRS->EditMode() != data::adEditNone)
        cmdUpdate_Click();
    // From here on the boxes are no longer checked as the screen goes.
    m_unloading = true;
    try {
        const QString cleanup = placeholderCleanup();
        if (!cleanup.isEmpty()) {
            data::Connection conn;
            conn.setCursorLocation(data::adUseServer);
            conn.Open(program().ConnectionString);
            // A file that cannot be changed keeps its placeholders for a later visit to clear;
            // the user heard why when the screen opened.
            if (data::readOnlyReason(conn).isEmpty())
                conn.Execute(cleanup);
        }
    } catch (const data::DataError& e) {
        ui::critical(e.description());
    }
    adoPrimaryRS->Close();
    m_connection.Close();
}

// The list and its rows ------------------------------------------------------------------------

bool frmDirectory::isOpen() const
{
    return adoPrimaryRS && adoPrimaryRS->State() == data::adStateOpen;
}

bool frmDirectory::hasCurrentRow() const
{
    return isOpen() && (adoPrimaryRS->EditMode() == data::adEditAdd ||
                        (!adoPrimaryRS->EOF() && !adoPrimaryRS->BOF()));
}

data::Variant frmDirectory::fieldValue(const char* field) const
{
    if (!hasCurrentRow())
        return data::Variant::null();
    return adoPrimaryRS->Fields(QString::fromUtf8(field)).Value();
}

QString frmDirectory::fieldText(const char* field) const
{
    return ToString(fieldValue(field), QString());
}

QString frmDirectory::currentIdText() const
{
    if (!hasCurrentRow())
        return QString();
    return ToString(fieldValue("Youth_ID"), QString());
}

QString frmDirectory::boxText(int index) const
{
    const QWidget* box = txtFields.at(index);
    if (const auto* line = qobject_cast<const QLineEdit*>(box))
        return line->text();
    return static_cast<const QPlainTextEdit*>(box)->toPlainText();
}

void frmDirectory::setBoxText(int index, const QString& text)
{
    QWidget* box = txtFields.at(index);
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setText(text);
    else
        static_cast<QPlainTextEdit*>(box)->setPlainText(text);
}

int frmDirectory::boxIndexOf(const QObject* widget) const
{
    for (const auto& [index, box] : txtFields) {
        if (box == widget)
            return index;
    }
    return -1;
}

QString frmDirectory::boxCaption(const QWidget* box) const
{
    const int index = boxIndexOf(box);
    const auto label = lblLabels.find(index);
    QString caption = label != lblLabels.end() ? label->second->text() : QString();
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption;
}

template <class Move> bool frmDirectory::tryMove(Move&& move)
{
    if (!isOpen() || !settleBeforeLeaving())
        return false;
    try {
        move();
        return true;
    } catch (const data::DataError& e) {
        // A move off a changed person saves it first: a failed save leaves the change pending.
        if (adoPrimaryRS->EditMode() == data::adEditNone) {
            ui::critical(e.description());
        } else {
            showStoredChangeTime();
            if (tellNotSaved(e))
                return tryMove(move); // the changes were dropped: the move can go on
        }
    }
    SyncNavCombo();
    return false;
}

void frmDirectory::adoPrimaryRS_MoveComplete()
{
    if (!isOpen())
        return;
    if (!hasCurrentRow()) {
        showNoPerson();
        return;
    }
    setFormEnabled(true);
    m_currentGender = ToInteger(fieldValue("Youth_Sex"), 0);
    ShowGender();
    m_currentTeam = fieldText("Youth_Team").trimmed();
    Select_Team->setEditText(m_currentTeam);
    m_currentIMService = fieldText("Youth_IM_Service").trimmed();
    Select_IMService->setEditText(m_currentIMService);
    m_currentStatus = ToInteger(fieldValue("Youth_Status"), 0);
    showStatus();
    lblAge->setText(QString::number(GetAge(fieldValue("Youth_Bday"))));
    m_history->ShowAttendanceRecord(fieldValue("Youth_ID"));

    m_photoTab->ShowCurrentPhoto();
    if (adoPrimaryRS->EditMode() != data::adEditAdd)
        TryStep("Remembering the position", [this] { m_remembered = adoPrimaryRS->Bookmark(); });
    updateCounter();
    NavCombo->clearTypeAhead();
    SyncNavCombo();
}

void frmDirectory::updateCounter()
{
    if (!isOpen())
        return;
    const int count = adoPrimaryRS->RecordCount();
    const int position = adoPrimaryRS->AbsolutePosition();
    if (adoPrimaryRS->Filter().isEmpty() && position > 0)
        NumRecords->setText(QStringLiteral("%1 of %2 Records").arg(position).arg(count));
    else
        NumRecords->setText(QStringLiteral("%1 Records").arg(count));
}

// No person to show (the list, as filtered, has no rows): the boxes are emptied and only Add and
// the Show list can be used.
void frmDirectory::showNoPerson()
{
    for (auto& [index, box] : txtFields)
        setBoxText(index, QString());
    for (auto& [index, check] : chkFields)
        check->setChecked(false);
    m_currentGender = 0;
    ShowGender();
    m_currentTeam.clear();
    Select_Team->setEditText(QString());
    m_currentIMService.clear();
    Select_IMService->setEditText(QString());
    Select_Status->setCurrentIndex(-1);
    lblAge->clear();
    Attendance_Record->clear();
    m_photoTab->ShowPhoto(QString());
    m_remembered.reset();
    updateCounter();
    setFormEnabled(false);
}

void frmDirectory::setFormEnabled(bool enabled)
{
    for (QFrame* panel : TabPanel)
        panel->setEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdUpdate, cmdCancel, cmdDelete, cmdClone,
                                                      cmdFirst, cmdPrevious, cmdNext, cmdLast,
                                                      NavCombo, txtFields[29], txtFields[7]})
        w->setEnabled(enabled);
    cmdPrintProfile->setEnabled(enabled && report::registeredLayouts().contains(kProfileLayout));
    m_photoTab->setEnabled(enabled);
}

// Moving ---------------------------------------------------------------------------------------

bool frmDirectory::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (!isOpen() || m_editing || m_adding || (modifiers & Qt::AltModifier))
        return false;
    const auto step = RecordNavigator::stepForKey(key, modifiers, RecordNavigator::CtrlRule::Held);
    if (!step)
        return false;
    // A team or IM service typed but not yet taken is an edit: the keys then do nothing.
    if (commitChoiceBoxes())
        return false;
    m_navigator.go(*step);
    return true;
}

void frmDirectory::chkFields_Click()
{
    m_editing = true;
}

void frmDirectory::SSTabCtl_Click()
{
    const int tab = SSTabCtl->currentIndex();
    for (int i = 0; i < 3; ++i)
        TabPanel[static_cast<std::size_t>(i)]->setVisible(i == tab);
    for (QWidget* photo :
         std::initializer_list<QWidget*>{MugShot, cmdNewPhoto, cmdDelPhoto, PhotoLabel})
        photo->setVisible(tab == 3);
}

// Printing, photos and e-mail ------------------------------------------------------------------

void frmDirectory::cmdPrintProfile_Click()
{
    // A new person is saved first, so that the sheet finds the person by its new id.
    if (!saveKeepingFlags())
        return;
    const std::int32_t id = ToLong(fieldValue("Youth_ID"), 0);
    if (id == 0)
        return;
    program().SelectedYouthID = id;
    std::shared_ptr<report::Report> layout;
    try {
        layout = report::createLayout(kProfileLayout);
    } catch (const std::exception& e) {
        ui::critical(data::describe(e));
        return;
    }
    if (layout)
        ShowReport(std::move(layout), true);
}

void frmDirectory::cmdEmail_Click()
{
    SendEmailTo(boxText(8));
}

data::Recordset* frmDirectory::PhotoRow()
{
    return hasCurrentRow() ? adoPrimaryRS.get() : nullptr;
}

bool frmDirectory::SaveForPhoto()
{
    return saveKeepingFlags();
}

// Person picker --------------------------------------------------------------------------------

void frmDirectory::LoadNavCombo(int selectIndex)
{
    if (adoPrimaryRS->RecordCount() == 0 && adoPrimaryRS->EditMode() != data::adEditNone) {
        // The first person of an empty list is saved so that it is listed.
        try {
            adoPrimaryRS->Update();
        } catch (const data::DataError& e) {
            ui::critical(e.description());
        }
    }
    const auto copy = adoPrimaryRS->Clone();
    copy->setFilter(adoPrimaryRS->Filter());
    const int id = copy->fieldIndex(QStringLiteral("Youth_ID"));
    const int first = copy->fieldIndex(QStringLiteral("Youth_FName"));
    const int name = copy->fieldIndex(QStringLiteral("YouthName"));
    const int visitor = copy->fieldIndex(QStringLiteral("Youth_Visitor"));
    const int attended = copy->fieldIndex(QStringLiteral("Youth_Last_Attended"));
    const int status = copy->fieldIndex(QStringLiteral("Youth_Status"));
    const int mail = copy->fieldIndex(QStringLiteral("Youth_Mail_List"));
    const int leader = copy->fieldIndex(QStringLiteral("Youth_Leader"));
    std::vector<PickerEntry> entries;
    const int rows = copy->RecordCount();
    entries.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        auto value = [&](int field) { return copy->valueAt(row, field); };
        PickerEntry e;
        e.key = QLatin1Char('Y') + ToString(value(id), QString());
        e.text = ToString(value(first), QString()) == kPlaceholderName
                     ? kPlaceholderName
                     : ToString(value(name), QString());
        e.iconKey = GetPersonIconKey(ToBoolean(value(visitor), false), value(attended),
                                     ToInteger(value(status), 0), ToBoolean(value(mail), false),
                                     ToBoolean(value(leader), false));
        entries.push_back(std::move(e));
    }
    copy->Close();
    NavCombo->entries().setEntries(std::move(entries));
    if (adoPrimaryRS->EditMode() == data::adEditAdd)
        AddNavComboItem(fieldText("Youth_FName"), fieldText("Youth_LName"), data::Variant::null());
    NavCombo->selectEntry(selectIndex - 1 < NavCombo->count() ? selectIndex - 1 : -1);
    // The picker shows the person on screen, also when the list stayed where it was.
    SyncNavCombo();
}

void frmDirectory::AddNavComboItem(const QString& firstName, const QString& lastName,
                                   const data::Variant& id)
{
    PickerEntry e;
    e.text = firstName == kPlaceholderName ? kPlaceholderName
                                           : lastName + QStringLiteral(", ") + firstName;
    e.key = QLatin1Char('Y') + ToString(id, QString());
    e.iconKey = GetPersonIconKey(m_visitorMode, data::Variant::null(), 1, true, false);
    NavCombo->entries().append(std::move(e));
}

// Gives the entry of a person just saved for the first time its id, its name and its picture.
void frmDirectory::rekeyAddedEntry()
{
    const int row = NavCombo->entries().indexOfKey(QStringLiteral("Y"));
    if (row < 0 || !hasCurrentRow())
        return;
    PickerEntry e;
    e.key = QLatin1Char('Y') + currentIdText();
    e.text =
        fieldText("Youth_FName") == kPlaceholderName ? kPlaceholderName : fieldText("YouthName");
    e.iconKey = GetPersonIconKey(
        ToBoolean(fieldValue("Youth_Visitor"), false), fieldValue("Youth_Last_Attended"),
        ToInteger(fieldValue("Youth_Status"), 0), ToBoolean(fieldValue("Youth_Mail_List"), false),
        ToBoolean(fieldValue("Youth_Leader"), false));
    NavCombo->entries().setEntry(row, std::move(e));
}

// After Cancel the entry shows the name as stored again, not the one typed.
void frmDirectory::restoreEntryText(const QString& key)
{
    const int row = NavCombo->entries().indexOfKey(key);
    if (row < 0 || !hasCurrentRow() || QLatin1Char('Y') + currentIdText() != key)
        return;
    NavCombo->entries().setText(row, fieldText("Youth_FName") == kPlaceholderName
                                         ? kPlaceholderName
                                         : fieldText("YouthName"));
}

bool frmDirectory::GotoYouthID(const QString& id)
{
    bool ok = false;
    const qlonglong number = id.toLongLong(&ok);
    if (!ok)
        return false;
    const auto copy = adoPrimaryRS->Clone();
    copy->Move(0);
    copy->Find(QStringLiteral("Youth_ID = ") + QString::number(number), 0, data::adSearchForward,
               data::adBookmarkFirst);
    if (copy->EOF())
        return false;
    const data::Variant bookmark = copy->Bookmark();
    copy->Close();
    try {
        adoPrimaryRS->setBookmark(bookmark);
    } catch (const data::DataError&) {
        // The person is not in the list as the Show choice filters it.
        if (adoPrimaryRS->EditMode() != data::adEditNone)
            throw;
        return false;
    }
    return true;
}

void frmDirectory::SyncNavCombo()
{
    if (!hasCurrentRow())
        return;
    const int row = NavCombo->entries().indexOfKey(QLatin1Char('Y') + currentIdText());
    if (row >= 0)
        NavCombo->selectEntry(row);
}

void frmDirectory::NavCombo_Click()
{
    const QString key = NavCombo->selectedKey();
    NavCombo->clearTypeAhead();
    if (key.size() > 1 && key != QLatin1Char('Y') + currentIdText())
        tryMove([&] { GotoYouthID(key.mid(1)); });
    SyncNavCombo();
}

void frmDirectory::NavCombo_Enter()
{
    const QString key = NavCombo->selectedKey();
    if (key.size() > 1 && key != QLatin1Char('Y') + currentIdText())
        tryMove([&] { GotoYouthID(key.mid(1)); });
    SyncNavCombo();
}

void frmDirectory::EchoName()
{
    SyncNavCombo();
    const int row = NavCombo->currentIndex();
    if (row >= 0)
        NavCombo->entries().setText(row, boxText(18) + QStringLiteral(", ") + boxText(11));
}

// Show filter, choice lists and gender ------------------------------------------------------------

void frmDirectory::LoadShowList()
{
    FillShowList(Select_Show);
    SelectComboByItemData(Select_Show, static_cast<int>(DirectoryShowFilter::All));
    Select_Show_Click();
}

void frmDirectory::Select_Show_Click()
{
    ApplyShowFilter(Select_Show->currentData().toInt());
}

void frmDirectory::ApplyShowFilter(int code)
{
    const QString filter = ShowFilterText(code);
    if (adoPrimaryRS->Filter() != filter) {
        if (!tryMove([&] { adoPrimaryRS->setFilter(filter); })) {
            SelectComboByItemData(Select_Show, m_showCode);
            return;
        }
    }
    m_showCode = code;
    LoadNavCombo(1);
}

void frmDirectory::LoadStatusList()
{
    FillStatusList(Select_Status);
}

void frmDirectory::LoadIMServiceList()
{
    FillIMServiceList(Select_IMService);
}

void frmDirectory::LoadTeamList()
{
    const QStringList teams = ReadTeamNames(program().ConnectionString);
    Select_Team->clear();
    Select_Team->addItem(QString());
    Select_Team->addItems(teams);
}

void frmDirectory::showStatus()
{
    // A status outside the list shows as unassigned.
    const std::int16_t shown = m_currentStatus >= 0 && m_currentStatus <= 3 ? m_currentStatus : 0;
    Select_Status->setCurrentIndex(-1);
    SelectComboByItemData(Select_Status, shown);
}

void frmDirectory::Select_Status_Click()
{
    m_currentStatus = static_cast<std::int16_t>(Select_Status->currentData().toInt());
    if (hasCurrentRow())
        TryStep("Writing the status",
                [this] { (*adoPrimaryRS)["Youth_Status"] = m_currentStatus; });
    m_editing = true;
}

void frmDirectory::choiceClicked(ChoiceBox* box, const char* field, QString& current)
{
    current = LimitedChoice(box->currentText(), box->limit());
    if (hasCurrentRow())
        TryStep("Writing a choice", [&] { (*adoPrimaryRS)[QString::fromUtf8(field)] = current; });
    m_editing = true;
}

void frmDirectory::choiceKeyReleased(ChoiceBox* box)
{
    const QString text = box->currentText();
    if (text.size() <= box->limit())
        return;
    box->setEditText(LimitedChoice(text, box->limit()));
    people::Beep();
    if (QLineEdit* line = box->lineEdit())
        line->setCursorPosition(std::min(box->limit(), static_cast<int>(line->text().size())));
}

// Leaving a team or IM-service box: a value that differs from the row's is written and added to
// the box's entries. True when something was written.
bool frmDirectory::choiceLeft(ChoiceBox* box, const char* field, QString& current)
{
    if (m_unloading || !hasCurrentRow())
        return false;
    const QString value = LimitedChoice(box->currentText(), box->limit());
    current = value;
    if (value == fieldText(field).trimmed())
        return false;
    const bool written =
        TryStep("Writing a choice", [&] { (*adoPrimaryRS)[QString::fromUtf8(field)] = value; });
    m_editing = true;
    box->addItem(value);
    return written;
}

// A team or IM service typed into a box that still has the focus is taken as if the box were
// left. True when one was taken.
bool frmDirectory::commitChoiceBoxes()
{
    const QWidget* focus = QApplication::focusWidget();
    if (focus == Select_Team || (focus && focus->parentWidget() == Select_Team))
        return choiceLeft(Select_Team, "Youth_Team", m_currentTeam);
    if (focus == Select_IMService || (focus && focus->parentWidget() == Select_IMService))
        return choiceLeft(Select_IMService, "Youth_IM_Service", m_currentIMService);
    return false;
}

void frmDirectory::Select_Team_DropDown()
{
    if (Select_Team->count() < 2 && !m_teamHelpShown) {
        ui::information(kTeamHelp, QStringLiteral("What is a Team?"));
        m_teamHelpShown = true;
    }
}

void frmDirectory::optGender_Click(int index)
{
    if (index != m_currentGender) {
        m_currentGender = static_cast<std::int16_t>(index);
        if (hasCurrentRow())
            TryStep("Writing the gender",
                    [this] { (*adoPrimaryRS)["Youth_Sex"] = m_currentGender; });
        m_editing = true;
    }
    ShowGender();
}

void frmDirectory::optGender_KeyUp(int, int key)
{
    int meant = 0;
    if (key == Qt::Key_M)
        meant = 1;
    else if (key == Qt::Key_F)
        meant = 2;
    if (meant != 0 && meant != m_currentGender) {
        optGender[static_cast<std::size_t>(meant)]->setChecked(true);
        optGender_Click(meant);
    }
}

void frmDirectory::ShowGender()
{
    for (int i : {1, 2}) {
        QRadioButton* button = optGender[static_cast<std::size_t>(i)];
        const QSignalBlocker blocker(button);
        button->setChecked(i == m_currentGender);
    }
}

// Field entry ----------------------------------------------------------------------------------

void frmDirectory::txtFields_GotFocus(int index)
{
    if (index == 24 || index == 27)
        return;
    QWidget* box = txtFields.at(index);
    // Later than the focus change itself, so that the mouse click that gave the focus does not
    // undo the selection.
    QTimer::singleShot(0, box, [box] {
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->selectAll();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(box))
            text->selectAll();
    });
}

void frmDirectory::txtFields_KeyUp(int index)
{
    if (!hasCurrentRow())
        return;
    m_editing = true;
    if (index == 11 || index == 18)
        TryStep("Showing the typed name", [this] { EchoName(); });
    TryStep("Stamping the change time",
            [this] { (*adoPrimaryRS)["Youth_Updated"] = data::Variant::dateTime(ui::now()); });
}

bool frmDirectory::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (QApplication::activePopupWidget())
            break;
        if (Form_KeyDown(key->key(), key->modifiers())) {
            m_consumedKeys.insert(key->key());
            m_pressedIn.remove(key->key());
            return true;
        }
        m_pressedIn.insert(key->key(), watched);
        break;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The release of a key the screen acted on is not typing in the box that has the focus
        // now; nor is the release of a key pressed elsewhere (Tab into a box) or of Shift,
        // Ctrl or Alt alone.
        if (m_consumedKeys.remove(key->key()))
            return true;
        const QObject* pressedIn = m_pressedIn.take(key->key());
        if (pressedIn != watched || isModifierKey(key->key()))
            break;
        const int index = boxIndexOf(watched);
        if (index >= 0)
            txtFields_KeyUp(index);
        else if (watched == optGender[1])
            optGender_KeyUp(1, key->key());
        else if (watched == optGender[2])
            optGender_KeyUp(2, key->key());
        break;
    }
    case QEvent::FocusIn: {
        const int index = boxIndexOf(watched);
        if (index >= 0)
            txtFields_GotFocus(index);
        break;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const int index = boxIndexOf(watched);
        if (index >= 0 && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            const bool checked = checksWhenLeftFor(QApplication::focusWidget(), reason);
            RunWhenClickEnds(this, [this, index, checked] { txtFields_LostFocus(index, checked); });
        }
        break;
    }
    default:
        break;
    }
    return ContentForm::eventFilter(watched, event);
}
