#include "people/frmServices.h"

#include "people/MeetingFields.h"
#include "people/MeetingsLayout.h"
#include "people/MeetingsText.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "shell/ResumeNext.h"
#include "shell/Twips.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/data/RecordsetMapper.h"
#include "platform/data/RecordsetModel.h"
#include "platform/report/Registry.h"
#include "platform/ui/Services.h"

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
const QRectF kNavPanel(120, kNavTop, 4680, 1620);
const QRectF kPrintButton(120, kNavTop + 1620 + 180, 2400, 420);

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

frmServices::frmServices(QWidget* parent) : ContentForm(QStringLiteral("frmServices"), parent)
{
    buildControls();
}

frmServices::~frmServices() = default;

void frmServices::buildControls()
{
    setFocusPolicy(Qt::ClickFocus);
    auto place = [this](QWidget* w, const QRectF& r) {
        w->setGeometry(twipsRectToPixels(r.x(), r.y(), r.width(), r.height(), this));
    };
    auto caption = [&](const QString& text, double top) {
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        place(label, QRectF(kCaptionLeft, top, kCaptionWidth, kBoxHeight));
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
        place(box, QRectF(kBoxLeft, bound.top, bound.width, bound.height));
        txtFields.push_back(box);
    }

    caption(QStringLiteral("Meeting Type:"), kTypeTop);
    Select_Type = new QComboBox(this);
    Select_Type->setObjectName(QStringLiteral("Select_Type"));
    Select_Type->setEditable(true);
    Select_Type->setInsertPolicy(QComboBox::NoInsert);
    Select_Type->installEventFilter(this);
    Select_Type->lineEdit()->installEventFilter(this);
    place(Select_Type, QRectF(kBoxLeft, kTypeTop, 3180, kBoxHeight));
    connect(Select_Type, &QComboBox::activated, this, [this](int) {
        ResumeNext("Choosing the meeting type", [this] { Select_Type_Click(); });
    });

    // The navigation panel.
    NavPanel = new QFrame(this);
    NavPanel->setObjectName(QStringLiteral("NavPanel"));
    NavPanel->setFrameShape(QFrame::StyledPanel);
    place(NavPanel, kNavPanel);
    auto navButton = [&](const char* name, QStyle::StandardPixmap picture, int i) {
        auto* b = new QPushButton(NavPanel);
        b->setObjectName(QString::fromUtf8(name));
        b->setIcon(style()->standardIcon(picture));
        place(b, QRectF(120 + i * 600, 120, 540, 420));
        return b;
    };
    cmdFirst = navButton("cmdFirst", QStyle::SP_MediaSkipBackward, 0);
    cmdPrevious = navButton("cmdPrevious", QStyle::SP_MediaSeekBackward, 1);
    cmdNext = navButton("cmdNext", QStyle::SP_MediaSeekForward, 2);
    cmdLast = navButton("cmdLast", QStyle::SP_MediaSkipForward, 3);
    cmdAdd = new QPushButton(QStringLiteral("&Add Meeting"), NavPanel);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    place(cmdAdd, QRectF(120, 660, 1800, 420));
    cmdDelete = new QPushButton(QStringLiteral("&Delete Meeting"), NavPanel);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    place(cmdDelete, QRectF(2040, 660, 1800, 420));
    auto* hint = new QLabel(
        QStringLiteral("Use this panel to move between records, and to create or delete records."),
        NavPanel);
    hint->setWordWrap(true);
    place(hint, QRectF(120, 1140, 4440, 420));

    connect(cmdFirst, &QPushButton::clicked, this, &frmServices::cmdFirst_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &frmServices::cmdPrevious_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmServices::cmdNext_Click);
    connect(cmdLast, &QPushButton::clicked, this, &frmServices::cmdLast_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmServices::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmServices::cmdDelete_Click);

    cmdPrintWeekRoll = new QPushButton(QStringLiteral("Print Meeting Summary"), this);
    cmdPrintWeekRoll->setObjectName(QStringLiteral("cmdPrintWeekRoll"));
    place(cmdPrintWeekRoll, kPrintButton);
    connect(cmdPrintWeekRoll, &QPushButton::clicked, this, &frmServices::cmdPrintWeekRoll_Click);

    // The attendance side.
    Label1 = new QLabel(QStringLiteral("Attendees for this week:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    place(Label1, QRectF(meetings_layout::kAttendanceLeft, 120, 3000, 285));
    MainPanel = new QFrame(this);
    MainPanel->setObjectName(QStringLiteral("MainPanel"));
    AttendedList = new QListWidget(MainPanel);
    AttendedList->setObjectName(QStringLiteral("AttendedList"));
    AttendedList->setSortingEnabled(false);
    connect(AttendedList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        ResumeNext("Ticking a name", [&] { AttendedList_ItemCheck(item); });
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
        const QString& refusal;
    } kinds[] = {
        {"Wk_Date", Kind::Date, kDateRefused},
        {"Wk_Topic", Kind::Text, kValueRefused},
        {"Wk_Scripture", Kind::Text, kValueRefused},
        {"Wk_Offering", Kind::Money, kOfferingRefused},
        {"Wk_Attendance", Kind::Number, kAttendanceRefused},
        {"Wk_Comments", Kind::Text, kValueRefused},
    };
    for (const auto& k : kinds)
        m_delegate->setColumn(m_model->fieldIndex(QString::fromUtf8(k.field)), k.kind, k.refusal);

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
        ResumeNext("Leaving the meeting", [this] { adoPrimaryRS_WillMove(); });
    });
    connect(adoPrimaryRS.get(), &data::Recordset::moveComplete, this,
            [this](data::EventReasonEnum) {
                ResumeNext("Showing the meeting", [this] { adoPrimaryRS_MoveComplete(); });
            });
}

// Loading and unloading -----------------------------------------------------------------------

void frmServices::Form_Load()
{
    ResumeNext("Opening the data file", [this] {
        m_connection = std::make_unique<data::Connection>();
        m_connection->setCursorLocation(data::adUseClient);
        m_connection->Open(program().ConnectionString, QString(), QString(), -1);
    });
    ResumeNext("Reading the meetings", [this] {
        adoPrimaryRS = std::make_unique<data::Recordset>();
        adoPrimaryRS->Open(kMeetingsSql, *m_connection, data::adOpenDynamic, data::adLockOptimistic,
                           -1);
    });
    if (!adoPrimaryRS)
        adoPrimaryRS = std::make_unique<data::Recordset>();
    bindFields();
    ResumeNext("Showing the latest meeting", [this] {
        if (adoPrimaryRS->EOF()) {
            addMeetingRow(data::jetdate::fromDate(ui::today()));
            FillWithActive = true;
            LoadAttendanceList();
            lblInstructions->setText(kPrefillInstructions);
        } else {
            adoPrimaryRS->MoveLast();
        }
    });
    ResumeNext("Filling the people drop-down", [this] { FillPeopleList(false); });
    ResumeNext("Filling the meeting types", [this] { FillMeetingTypes(); });
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
    ResumeNext("Keeping the meeting type", [this] { Select_Type_LostFocus(); });
    // Unsaved ticks are never dropped without the question, whether or not the meeting's
    // own fields were edited.
    if (ListChanged)
        ResumeNext("Offering to save the attendance list", [this] { adoPrimaryRS_WillMove(); });
    if (RecordChanged) {
        try {
            adoPrimaryRS->Update();
        } catch (const std::exception& e) {
            ui::critical(kMeetingNotStored + QStringLiteral("\n\n") + describe(e));
        }
    }
    ResumeNext("Closing the data file", [this] {
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
        layoutMeetings(pixelsToTwips(width(), this), pixelsToTwips(height(), this));
    auto place = [this](QWidget* w, const QRectF& r) {
        w->setGeometry(twipsRectToPixels(r.x(), r.y(), r.width(), r.height(), this));
    };
    place(MainPanel, l.MainPanel);
    AttendedList->setGeometry(QRect(QPoint(0, 0), MainPanel->size()));
    place(lblItemCount, l.lblItemCount);
    place(cmdSet, l.cmdSet);
    place(Select_Youth, l.Select_Youth);
    place(cmdNewAttendee, l.cmdNewAttendee);
    place(cmdResort, l.cmdResort);
    place(bc_Entry, l.bc_Entry);
    place(bc_ReadyImage, l.bc_ReadyImage);
    bc_ReadyImage->setPixmap(scanReadyPicture(bc_ReadyImage->size()));
    place(lblInstructions, l.lblInstructions);
}

void frmServices::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_PageUp:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        Form_KeyDown(event->key(), event->modifiers());
        event->accept();
        return;
    default:
        ContentForm::keyPressEvent(event);
    }
}

void frmServices::Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift)
{
    if (FillWithActive)
        return;
    // Only Shift, Ctrl and Alt count: arrow keys may also carry the keypad flag.
    const bool ctrlOnly = (shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) ==
                          Qt::ControlModifier;
    switch (keyCode) {
    case Qt::Key_End:
        cmdLast_Click();
        break;
    case Qt::Key_Home:
        cmdFirst_Click();
        break;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        ctrlOnly ? cmdFirst_Click() : cmdPrevious_Click();
        break;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        ctrlOnly ? cmdLast_Click() : cmdNext_Click();
        break;
    default:
        break;
    }
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
            ResumeNext("Typing the meeting type", [this] { Select_Type_KeyUp(); });
        } else if (event->type() == QEvent::FocusOut &&
                   static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            const QWidget* to = QApplication::focusWidget();
            if (to != Select_Type && to != Select_Type->lineEdit())
                ResumeNext("Leaving the meeting type", [this] { Select_Type_LostFocus(); });
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
    Select_Type->clear();
    Select_Type->addItem(QString());
    while (!rs.EOF()) {
        Select_Type->addItem(
            ToString(rs.Fields(QStringLiteral("Wk_Mtg_Type")), QString()).trimmed());
        rs.MoveNext();
    }
    rs.Close();
    types.Close();
}

void frmServices::addMeetingRow(double dayNumber)
{
    adoPrimaryRS->AddNew();
    adoPrimaryRS->Fields(QStringLiteral("Wk_Date")) = data::Variant::date(dayNumber);
    adoPrimaryRS->UpdateBatch(data::adAffectAll);
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

void frmServices::cmdFirst_Click()
{
    // A meeting whose changes cannot be stored (another user changed it) says so and stays.
    try {
        adoPrimaryRS->MoveFirst();
    } catch (const std::exception& e) {
        ui::plainMessage(describe(e));
    }
}

void frmServices::cmdLast_Click()
{
    try {
        adoPrimaryRS->MoveLast();
    } catch (const std::exception& e) {
        ui::plainMessage(describe(e));
    }
}

void frmServices::cmdNext_Click()
{
    try {
        if (!adoPrimaryRS->EOF())
            adoPrimaryRS->MoveNext();
        if (adoPrimaryRS->EOF() && adoPrimaryRS->RecordCount() >= 1) {
            ui::information(kEndOfRecords, QStringLiteral("End of Records"));
            adoPrimaryRS->MoveLast();
        }
    } catch (const std::exception& e) {
        ui::plainMessage(describe(e));
    }
}

void frmServices::cmdPrevious_Click()
{
    try {
        if (!adoPrimaryRS->BOF())
            adoPrimaryRS->MovePrevious();
        if (adoPrimaryRS->BOF() && adoPrimaryRS->RecordCount() >= 1) {
            ui::information(kBeginningOfRecords, QStringLiteral("Beginning of Records"));
            adoPrimaryRS->MoveFirst();
        }
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
