#include "people/frmServices.h"

#include "people/MeetingFields.h"
#include "people/MeetingsLayout.h"
#include "people/MeetingsText.h"
#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "shell/ProgramState.h"
#include "shell/TryStep.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/data/RecordsetMapper.h"
#include "platform/data/RecordsetModel.h"
#include "platform/report/Registry.h"
#include "platform/ui/Services.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QComboBox>
#include <QDataWidgetMapper>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>

#include <utility>

using namespace meetings_text;

const QString frmServices::kRollSheetLayout = QStringLiteral("rptRollSheet");

namespace {

const QString kMeetingsSql = QStringLiteral(
    "select Wk_Comments,Wk_Date,Wk_ID,Wk_Offering,Wk_Scripture,Wk_Topic,Wk_Attendance,Wk_Mtg_Type "
    "from Weeks Order by Wk_Date");
const QString kMeetingTypesSql =
    QStringLiteral("SELECT DISTINCT Wk_Mtg_Type FROM Weeks WHERE Wk_Mtg_Type<>'' AND Wk_Mtg_Type "
                   "IS NOT NULL ORDER BY Wk_Mtg_Type;");

constexpr int kMeetingTypeLimit = 50;

// The bound boxes: field, caption, most characters typed, top (twips), width, height.
struct BoundBox {
    const char* field;
    const char* caption;
    int limit;
    double top;
    double width;
    double height;
};
constexpr double kCaptionLeft = 120;
constexpr double kCaptionWidth = 1380;
constexpr double kBoxLeft = 1560;
constexpr double kBoxHeight = 315;
constexpr double kRowPitch = 420;
constexpr double kTypeTop = 120 + kRowPitch;
constexpr BoundBox kBoxes[] = {
    {"Wk_Date", "Date:", 10, 120, 1500, kBoxHeight},
    {"Wk_Topic", "Topic:", 50, 120 + 2 * kRowPitch, 3180, kBoxHeight},
    {"Wk_Scripture", "Scripture:", 50, 120 + 3 * kRowPitch, 3180, kBoxHeight},
    {"Wk_Offering", "Offering:", 8, 120 + 4 * kRowPitch, 1500, kBoxHeight},
    {"Wk_Attendance", "Attendance:", 4, 120 + 5 * kRowPitch, 900, kBoxHeight},
    {"Wk_Comments", "Comments:", 255, 120 + 6 * kRowPitch, 3180, 1500},
};
constexpr int kCommentsBox = 5;

// Twips of the navigation panel and the print command.
constexpr double kNavTop = 4320;
constexpr ui::TwipsRect kNavPanel{120, kNavTop, 4680, 1620};
constexpr ui::TwipsRect kPrintButton{120, kNavTop + 1620 + 180, 2400, 420};

// A small picture of a barcode under a red scan line: shown while the scan box is ready.
QPixmap scanReadyPicture(const QSize& size)
{
    QPixmap picture(size);
    picture.fill(Qt::white);
    QPainter p(&picture);
    const int margin = std::max(2, size.height() / 8);
    const QRect bars = QRect(QPoint(0, 0), size).adjusted(margin, margin, -margin, -margin);
    static constexpr int kPattern[] = {2, 1, 1, 2, 3, 1, 1, 1, 2, 2, 1, 3, 1, 1, 2, 1};
    int x = bars.left();
    bool black = true;
    for (int i = 0; x < bars.right(); ++i) {
        const int w = kPattern[i % std::size(kPattern)];
        if (black)
            p.fillRect(QRect(x, bars.top(), w, bars.height()), Qt::black);
        x += w;
        black = !black;
    }
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(margin / 2, size.height() / 2, size.width() - margin / 2, size.height() / 2);
    return picture;
}

} // namespace

frmServices::frmServices(QWidget* parent)
    : ContentForm(QStringLiteral("frmServices"), parent),
      m_navigator(
          {[this] { return adoPrimaryRS.get(); },
           [this](const std::function<void()>& move) {
               if (!settleBeforeMoving())
                   return;
               try {
                   move();
               } catch (const std::exception& e) {
                   moveFailed(e, move);
               }
           },
           [] { ui::information(kEndOfRecords, QStringLiteral("End of Records")); },
           [] { ui::information(kBeginningOfRecords, QStringLiteral("Beginning of Records")); }})
{
    buildControls();
}

frmServices::~frmServices() = default;

void frmServices::buildControls()
{
    setFocusPolicy(Qt::ClickFocus);
    auto caption = [&](const QString& text, double top) {
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ui::place(label, {kCaptionLeft, top, kCaptionWidth, kBoxHeight});
    };

    for (const BoundBox& bound : kBoxes) {
        caption(QString::fromUtf8(bound.caption), bound.top);
        QWidget* box = nullptr;
        if (&bound == &kBoxes[kCommentsBox]) {
            auto* comments = new MultiLineBox(bound.limit, this);
            connect(comments, &MultiLineBox::textEdited, this, &frmServices::txtFields_Change);
            box = comments;
        } else {
            auto* line = new QLineEdit(this);
            line->setValidator(new TypingLimit(bound.limit, line));
            connect(line, &QLineEdit::textEdited, this, &frmServices::txtFields_Change);
            box = line;
        }
        box->setObjectName(QStringLiteral("txtFields"));
        box->setProperty("DataField", QString::fromUtf8(bound.field));
        ui::place(box, {kBoxLeft, bound.top, bound.width, bound.height});
        txtFields.push_back(box);
    }

    caption(QStringLiteral("Meeting Type:"), kTypeTop);
    Select_Type = new QComboBox(this);
    Select_Type->setObjectName(QStringLiteral("Select_Type"));
    Select_Type->setEditable(true);
    Select_Type->setInsertPolicy(QComboBox::NoInsert);
    // The typed type stays as typed ("Youth" while "Youth Night" is listed): no completion.
    Select_Type->setCompleter(nullptr);
    Select_Type->installEventFilter(this);
    Select_Type->lineEdit()->installEventFilter(this);
    ui::place(Select_Type, {kBoxLeft, kTypeTop, 3180, kBoxHeight});
    connect(Select_Type, &QComboBox::activated, this,
            [this](int) { TryStep("Choosing the meeting type", [this] { Select_Type_Click(); }); });

    // The navigation panel.
    NavPanel = new QFrame(this);
    NavPanel->setObjectName(QStringLiteral("NavPanel"));
    NavPanel->setFrameShape(QFrame::StyledPanel);
    ui::place(NavPanel, kNavPanel);
    auto navButton = [&](const char* name, QStyle::StandardPixmap picture, int i) {
        auto* b = new QPushButton(NavPanel);
        b->setObjectName(QString::fromUtf8(name));
        b->setIcon(style()->standardIcon(picture));
        ui::place(b, {120.0 + i * 600, 120, 540, 420});
        return b;
    };
    cmdFirst = navButton("cmdFirst", QStyle::SP_MediaSkipBackward, 0);
    cmdPrevious = navButton("cmdPrevious", QStyle::SP_MediaSeekBackward, 1);
    cmdNext = navButton("cmdNext", QStyle::SP_MediaSeekForward, 2);
    cmdLast = navButton("cmdLast", QStyle::SP_MediaSkipForward, 3);
    cmdAdd = new QPushButton(QStringLiteral("&Add Meeting"), NavPanel);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    ui::place(cmdAdd, {120, 660, 1800, 420});
    cmdDelete = new QPushButton(QStringLiteral("&Delete Meeting"), NavPanel);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    ui::place(cmdDelete, {2040, 660, 1800, 420});
    auto* hint = new QLabel(
        QStringLiteral("Use this panel to move between records, and to create or delete records."),
        NavPanel);
    hint->setWordWrap(true);
    ui::place(hint, {120, 1140, 4440, 420});

    m_navigator.connectButtons(this, cmdFirst, cmdPrevious, cmdNext, cmdLast);
    connect(cmdAdd, &QPushButton::clicked, this, &frmServices::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmServices::cmdDelete_Click);

    cmdPrintWeekRoll = new QPushButton(QStringLiteral("Print Meeting Summary"), this);
    cmdPrintWeekRoll->setObjectName(QStringLiteral("cmdPrintWeekRoll"));
    ui::place(cmdPrintWeekRoll, kPrintButton);
    connect(cmdPrintWeekRoll, &QPushButton::clicked, this, &frmServices::cmdPrintWeekRoll_Click);

    // The attendance side.
    Label1 = new QLabel(QStringLiteral("Attendees for this week:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ui::place(Label1, {meetings_layout::kAttendanceLeft, 120, 3000, 285});
    MainPanel = new QFrame(this);
    MainPanel->setObjectName(QStringLiteral("MainPanel"));
    AttendedList = new QListWidget(MainPanel);
    AttendedList->setObjectName(QStringLiteral("AttendedList"));
    AttendedList->setSortingEnabled(false);
    connect(AttendedList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        TryStep("Ticking a name", [&] { AttendedList_ItemCheck(item); });
    });
    lblItemCount = new QLabel(this);
    lblItemCount->setObjectName(QStringLiteral("lblItemCount"));
    cmdSet = new QPushButton(QStringLiteral("&Save List"), this);
    cmdSet->setObjectName(QStringLiteral("cmdSet"));
    connect(cmdSet, &QPushButton::clicked, this, &frmServices::cmdSet_Click);
    Select_Youth = new QComboBox(this);
    Select_Youth->setObjectName(QStringLiteral("Select_Youth"));
    Select_Youth->setPlaceholderText(QStringLiteral("Add Another Name"));
    cmdNewAttendee = new QPushButton(QStringLiteral("&Add"), this);
    cmdNewAttendee->setObjectName(QStringLiteral("cmdNewAttendee"));
    connect(cmdNewAttendee, &QPushButton::clicked, this, &frmServices::cmdNewAttendee_Click);
    cmdResort = new QPushButton(QStringLiteral("Sort by First Name"), this);
    cmdResort->setObjectName(QStringLiteral("cmdResort"));
    connect(cmdResort, &QPushButton::clicked, this, &frmServices::cmdResort_Click);
    bc_Entry = new QLineEdit(kScanIdleText, this);
    bc_Entry->setObjectName(QStringLiteral("bc_Entry"));
    // Typed digits show as ">" while the box waits for a scan.
    bc_Entry->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 62; }"));
    bc_Entry->installEventFilter(this);
    bc_ReadyImage = new QLabel(this);
    bc_ReadyImage->setObjectName(QStringLiteral("bc_ReadyImage"));
    bc_ReadyImage->hide();
    lblInstructions = new QLabel(this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    lblInstructions->setWordWrap(true);
    lblInstructions->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    setTabOrder(txtFields[0], Select_Type);
    setTabOrder(Select_Type, txtFields[1]);
    Form_Resize();
}

void frmServices::bindFields()
{
    m_model = new data::RecordsetModel(*adoPrimaryRS, this);
    m_delegate = new MeetingFieldDelegate(this);
    using Kind = MeetingFieldDelegate::Kind;
    const struct {
        const char* field;
        Kind kind;
        const QString& reason;
        const QString& refusal;
    } kinds[] = {
        {"Wk_Date", Kind::Date, kDateInvalid, kDateRefused},
        {"Wk_Topic", Kind::Text, kValueInvalid, kValueRefused},
        {"Wk_Scripture", Kind::Text, kValueInvalid, kValueRefused},
        {"Wk_Offering", Kind::Money, kOfferingInvalid, kOfferingRefused},
        {"Wk_Attendance", Kind::Number, kAttendanceInvalid, kAttendanceRefused},
        {"Wk_Comments", Kind::Text, kValueInvalid, kValueRefused},
    };
    for (const auto& k : kinds)
        m_delegate->setColumn(m_model->fieldIndex(QString::fromUtf8(k.field)), k.kind, k.reason,
                              k.refusal);
    // Leaving the screen, or moving to another meeting, settles the boxes with a question.
    m_delegate->setWritesWhenLeftFor([this](const QWidget* to) {
        if (!to || !isAncestorOf(to))
            return false;
        for (const QWidget* command : {cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdAdd})
            if (to == command)
                return false;
        return true;
    });

    m_mapper = new QDataWidgetMapper(this);
    m_mapper->setItemDelegate(m_delegate);
    data::bindMapper(*m_model, *m_mapper);
    for (QWidget* box : txtFields) {
        const int column = m_model->fieldIndex(box->property("DataField").toString());
        if (column >= 0)
            m_mapper->addMapping(box, column);
    }
    m_mapper->setCurrentIndex(m_model->currentRow());

    connect(adoPrimaryRS.get(), &data::Recordset::willMove, this, [this](data::EventReasonEnum) {
        TryStep("Leaving the meeting", [this] { adoPrimaryRS_WillMove(); });
    });
    connect(adoPrimaryRS.get(), &data::Recordset::moveComplete, this,
            [this](data::EventReasonEnum) {
                TryStep("Showing the meeting", [this] { adoPrimaryRS_MoveComplete(); });
            });
}

// Loading and unloading -----------------------------------------------------------------------

void frmServices::Form_Load()
{
    adoPrimaryRS = std::make_unique<data::Recordset>();
    try {
        m_connection = std::make_unique<data::Connection>();
        m_connection->setCursorLocation(data::adUseClient);
        m_connection->Open(program().ConnectionString, QString(), QString(), -1);
        adoPrimaryRS->Open(kMeetingsSql, *m_connection, data::adOpenDynamic, data::adLockOptimistic,
                           -1);
    } catch (const std::exception& e) {
        // A data file that cannot be read is reported once; the screen stays empty and none of
        // its commands can be used.
        ui::critical(describe(e));
        updateCommands();
        setEnabled(false);
        return;
    }
    // A file that can be read but not changed is said at once, before anything is typed.
    if (const QString why = data::readOnlyReason(*m_connection); !why.isEmpty())
        ui::critical(why);
    bindFields();
    const auto kept = std::exchange(program().KeptAttendance, std::nullopt);
    TryStep("Choosing the meeting to show", [&] {
        if (kept && showKeptList(*kept))
            return;
        if (kept)
            ui::critical(keptListLostText(kept->meetingDay));
        if (adoPrimaryRS->EOF()) {
            addMeetingRow(data::jetdate::fromDate(ui::today()));
            FillWithActive = true;
            LoadAttendanceList();
            lblInstructions->setText(kPrefillInstructions);
        } else {
            adoPrimaryRS->MoveLast();
        }
    });
    TryStep("Filling the people drop-down", [this] { FillPeopleList(false); });
    TryStep("Filling the meeting types", [this] { FillMeetingTypes(); });
    Select_Type->setEditText(MeetingType);
    updateCommands();
}

void frmServices::Form_Unload()
{
    if (!adoPrimaryRS || adoPrimaryRS->State() != data::adStateOpen) {
        m_connection.reset();
        return;
    }
    // The focus may never leave the meeting type before the screen goes.
    TryStep("Keeping the meeting type", [this] { Select_Type_LostFocus(); });
    // Unsaved ticks are never dropped without the question, whether or not the meeting's
    // own fields were edited; ticks the user chose not to save before printing are kept for
    // the screen made when the preview closes, without asking again.
    if (ListChanged && m_listKeptBehindPreview)
        TryStep("Keeping the attendance list", [this] { keepUnsavedList(); });
    else if (ListChanged)
        TryStep("Offering to save the attendance list", [this] { adoPrimaryRS_WillMove(); });
    if (RecordChanged) {
        try {
            adoPrimaryRS->Update();
        } catch (const std::exception& e) {
            ui::critical(kMeetingNotStored + QStringLiteral("\n\n") + describe(e));
        }
    }
    TryStep("Closing the data file", [this] {
        adoPrimaryRS->Close();
        m_connection->Close();
    });
    m_connection.reset();
}

// Layout and keys -------------------------------------------------------------------------------

void frmServices::resizeEvent(QResizeEvent* event)
{
    ContentForm::resizeEvent(event);
    Form_Resize();
}

void frmServices::Form_Resize()
{
    const MeetingsLayout l =
        layoutMeetings(ui::pixelsToTwips(width(), this), ui::pixelsToTwips(height(), this));
    ui::place(MainPanel, l.MainPanel);
    AttendedList->setGeometry(QRect(QPoint(0, 0), MainPanel->size()));
    ui::place(lblItemCount, l.lblItemCount);
    ui::place(cmdSet, l.cmdSet);
    ui::place(Select_Youth, l.Select_Youth);
    ui::place(cmdNewAttendee, l.cmdNewAttendee);
    ui::place(cmdResort, l.cmdResort);
    ui::place(bc_Entry, l.bc_Entry);
    ui::place(bc_ReadyImage, l.bc_ReadyImage);
    bc_ReadyImage->setPixmap(scanReadyPicture(bc_ReadyImage->size()));
    ui::place(lblInstructions, l.lblInstructions);
}

void frmServices::keyPressEvent(QKeyEvent* event)
{
    const auto step = RecordNavigator::stepForKey(event->key(), event->modifiers(),
                                                  RecordNavigator::CtrlRule::Alone);
    if (!step) {
        ContentForm::keyPressEvent(event);
        return;
    }
    // While a new meeting's list waits to be filled in, the keys do nothing.
    if (!FillWithActive)
        m_navigator.go(*step);
    event->accept();
}

bool frmServices::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bc_Entry) {
        switch (event->type()) {
        case QEvent::FocusIn:
            bc_Entry_GotFocus();
            break;
        case QEvent::FocusOut:
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
                bc_Entry_LostFocus();
            break;
        case QEvent::KeyPress:
            if (bc_Entry_KeyPress(static_cast<QKeyEvent*>(event)))
                return true;
            break;
        default:
            break;
        }
    } else if (watched == Select_Type || watched == Select_Type->lineEdit()) {
        if (event->type() == QEvent::KeyRelease) {
            TryStep("Typing the meeting type", [this] { Select_Type_KeyUp(); });
        } else if (event->type() == QEvent::FocusOut &&
                   static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            const QWidget* to = QApplication::focusWidget();
            if (to != Select_Type && to != Select_Type->lineEdit())
                TryStep("Leaving the meeting type", [this] { Select_Type_LostFocus(); });
        }
    }
    return ContentForm::eventFilter(watched, event);
}

// The meeting -------------------------------------------------------------------------------------

bool frmServices::hasMeeting() const
{
    return adoPrimaryRS && adoPrimaryRS->State() == data::adStateOpen &&
           !(adoPrimaryRS->EOF() && adoPrimaryRS->BOF());
}

std::optional<double> frmServices::meetingDay()
{
    if (!adoPrimaryRS || adoPrimaryRS->EOF() || adoPrimaryRS->BOF())
        return std::nullopt;
    return convert::toDate(adoPrimaryRS->Fields(QStringLiteral("Wk_Date")));
}

bool frmServices::IsOldMeeting()
{
    const auto day = meetingDay();
    if (!day)
        return false;
    return data::jetdate::toDate(*day).daysTo(ui::today()) >= 7;
}

void frmServices::FillMeetingTypes()
{
    data::Connection types;
    types.setCursorLocation(data::adUseServer);
    types.Open(program().ConnectionString, QString(), QString(), -1);
    data::Recordset rs;
    rs.Open(kMeetingTypesSql, types, data::adOpenForwardOnly, data::adLockReadOnly);
    QStringList typesInUse;
    while (!rs.EOF()) {
        typesInUse << ToString(rs.Fields(QStringLiteral("Wk_Mtg_Type")), QString()).trimmed();
        rs.MoveNext();
    }
    rs.Close();
    types.Close();
    Select_Type->clear();
    Select_Type->addItem(QString());
    Select_Type->addItems(DistinctEntries(typesInUse));
}

void frmServices::addMeetingRow(double dayNumber)
{
    adoPrimaryRS->AddNew();
    adoPrimaryRS->Fields(QStringLiteral("Wk_Date")) = data::Variant::date(dayNumber);
    adoPrimaryRS->UpdateBatch(data::adAffectAll);
}

bool frmServices::settleBoxes()
{
    if (!m_mapper || !hasMeeting() || adoPrimaryRS->EOF() || adoPrimaryRS->BOF())
        return true;
    for (QWidget* box : txtFields) {
        const QModelIndex index =
            m_model->index(m_model->currentRow(), m_mapper->mappedSection(box));
        const QString reason = m_delegate->reasonToRefuse(box, index);
        if (reason.isEmpty())
            continue;
        if (!ui::askCriticalYesNo(reason + QStringLiteral("\n\n") + kLeaveWithoutEntry)) {
            box->setFocus();
            return false;
        }
        m_delegate->setEditorData(box, index);
    }
    m_mapper->submit();
    return true;
}

bool frmServices::settleList()
{
    if (!ListChanged)
        return true;
    // A list that cannot be saved stays on screen as it was, unsaved.
    if (ui::askYesNo(kSaveListQuestion, QStringLiteral("Save List Changes?")) && !SaveList())
        return false;
    ListChanged = false;
    return true;
}

bool frmServices::settleBeforeMoving()
{
    return settleBoxes() && settleList();
}

bool frmServices::ReadyToLeave()
{
    if (!hasMeeting())
        return true;
    if (!settleBeforeMoving())
        return false;
    TryStep("Keeping the meeting type", [this] { Select_Type_LostFocus(); });
    if (!RecordChanged && adoPrimaryRS->EditMode() == data::adEditNone)
        return true;
    // Stored here rather than as the screen goes, so that a failure can still keep the user.
    try {
        adoPrimaryRS->Update();
        RecordChanged = false;
    } catch (const std::exception& e) {
        if (!ui::askCriticalYesNo(meetingNotSavedText(e) + QStringLiteral("\n\n") +
                                  kLeaveWithoutStoring))
            return false;
        TryStep("Dropping the meeting's changes", [this] { adoPrimaryRS->CancelUpdate(); });
        RecordChanged = false;
    }
    return true;
}

void frmServices::moveFailed(const std::exception& e, const std::function<void()>& move)
{
    // A move off a changed meeting saves it first: a failed save leaves the change pending.
    const auto* error = dynamic_cast<const data::DataError*>(&e);
    if (!error || adoPrimaryRS->EditMode() == data::adEditNone) {
        ui::plainMessage(describe(e));
        return;
    }
    if (!error->removedByAnotherUser()) {
        ui::critical(meetingNotSavedText(e));
        return;
    }
    if (!ui::askCriticalYesNo(meetingNotSavedText(e) + QStringLiteral("\n\n") + kDropOrKeep))
        return;
    TryStep("Dropping the meeting's changes", [this] { adoPrimaryRS->CancelUpdate(); });
    RecordChanged = false;
    try {
        move();
    } catch (const std::exception& again) {
        ui::plainMessage(describe(again));
    }
}

void frmServices::adoPrimaryRS_WillMove()
{
    if (ListChanged && ui::askYesNo(kSaveListQuestion, QStringLiteral("Save List Changes?")))
        SaveList();
    ListChanged = false;
}

void frmServices::adoPrimaryRS_MoveComplete()
{
    const bool onRow = !adoPrimaryRS->EOF() && !adoPrimaryRS->BOF();
    if (onRow) {
        MeetingType =
            ToString(adoPrimaryRS->Fields(QStringLiteral("Wk_Mtg_Type")), QString()).trimmed();
        Select_Type->setEditText(MeetingType);
    }
    if (!hasMeeting())
        showNoMeeting();
    else if (onRow)
        LoadAttendanceList();
    RecordChanged = false;
    OldListConfirmed = false;
    lblInstructions->setText(kNormalInstructions);
    m_printAllowed = true;
    updateCommands();
}

void frmServices::showNoMeeting()
{
    // The last meeting was deleted: nothing to show, nothing to change until one is added.
    for (QWidget* box : txtFields) {
        if (auto* line = qobject_cast<QLineEdit*>(box)) {
            if (const auto* limit = qobject_cast<const TypingLimit*>(line->validator()))
                limit->allow(QString());
            line->clear();
        } else if (auto* comments = qobject_cast<MultiLineBox*>(box)) {
            comments->setStoredText(QString());
        }
    }
    MeetingType.clear();
    Select_Type->setEditText(QString());
    AttendedList->clear();
    ShowAttendeeCount();
    setSaveListShown(false);
    ListChanged = false;
}

void frmServices::updateCommands()
{
    const bool has = hasMeeting();
    for (QWidget* box : txtFields)
        box->setEnabled(has);
    Select_Type->setEnabled(has);
    cmdDelete->setEnabled(has);
    AttendedList->setEnabled(has);
    Select_Youth->setEnabled(has);
    cmdNewAttendee->setEnabled(has);
    bc_Entry->setEnabled(has);
    cmdPrintWeekRoll->setEnabled(has && m_printAllowed &&
                                 report::registeredLayouts().contains(kRollSheetLayout));
}

void frmServices::cmdAdd_Click()
{
    if (!settleBeforeMoving())
        return;
    try {
        double day = data::jetdate::fromDate(ui::today());
        if (hasMeeting()) {
            adoPrimaryRS->MoveLast();
            if (const auto last = meetingDay())
                day = data::jetdate::fromDate(data::jetdate::toDate(*last).addDays(7));
        }
        addMeetingRow(day);
        {
            // The list shows again once it holds the new meeting's people.
            AttendedList->setUpdatesEnabled(false);
            SuppressLoad = true;
            const auto restore = qScopeGuard([this] {
                SuppressLoad = false;
                AttendedList->setUpdatesEnabled(true);
            });
            adoPrimaryRS->Requery(-1);
            adoPrimaryRS->MoveLast();
        }
        FillWithActive = true;
        LoadAttendanceList();
        lblInstructions->setText(kPrefillInstructions);
        m_printAllowed = false;
        updateCommands();
    } catch (const std::exception& e) {
        ui::plainMessage(describe(e));
    }
}

void frmServices::cmdDelete_Click()
{
    if (!hasMeeting() || adoPrimaryRS->EOF() || adoPrimaryRS->BOF())
        return;
    if (!ui::askYesNo(kDeleteQuestion, QStringLiteral("Delete this week?")))
        return;
    try {
        const std::int32_t wk = ToLong(adoPrimaryRS->Fields(QStringLiteral("Wk_ID")), 0);
        {
            // The meeting goes with its attendance, or neither goes.
            data::Transaction transaction(*m_connection);
            m_connection->Execute(QStringLiteral("DELETE Attendance.* FROM Attendance WHERE "
                                                 "Attend_Wk_ID=") +
                                  QString::number(wk) + QLatin1Char(';'));
            adoPrimaryRS->Delete();
            transaction.commit();
        }
        // The unsaved list belonged to the meeting just deleted: it must not be saved by the
        // move that follows.
        ListChanged = false;
        adoPrimaryRS->MoveNext();
        if (adoPrimaryRS->EOF())
            adoPrimaryRS->MoveLast();
    } catch (const std::exception& e) {
        ui::plainMessage(describe(e));
    }
}

void frmServices::Select_Type_Click()
{
    MeetingType = Select_Type->currentText().left(kMeetingTypeLimit).trimmed();
    if (!adoPrimaryRS->EOF() && !adoPrimaryRS->BOF())
        adoPrimaryRS->Fields(QStringLiteral("Wk_Mtg_Type")) = MeetingType;
    RecordChanged = true;
}

void frmServices::Select_Type_KeyUp()
{
    const QString text = Select_Type->currentText();
    if (text.size() <= kMeetingTypeLimit)
        return;
    Select_Type->setEditText(text.left(kMeetingTypeLimit).trimmed());
    QApplication::beep();
    Select_Type->lineEdit()->setCursorPosition(kMeetingTypeLimit);
}

void frmServices::Select_Type_LostFocus()
{
    MeetingType = Select_Type->currentText().left(kMeetingTypeLimit).trimmed();
    if (adoPrimaryRS->EOF() || adoPrimaryRS->BOF())
        return;
    const QString stored =
        ToString(adoPrimaryRS->Fields(QStringLiteral("Wk_Mtg_Type")), QString()).trimmed();
    if (MeetingType == stored)
        return;
    adoPrimaryRS->Fields(QStringLiteral("Wk_Mtg_Type")) = MeetingType;
    RecordChanged = true;
    Select_Type->addItem(MeetingType);
    Select_Type->setEditText(MeetingType);
}

void frmServices::txtFields_Change()
{
    RecordChanged = true;
}
