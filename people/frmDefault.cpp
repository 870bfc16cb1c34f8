#include "people/frmDefault.h"

#include "shell/Branding.h"
#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "shell/Panel.h"
#include "shell/ProgramState.h"
#include "shell/SettingKeys.h"
#include "shell/TryStep.h"
#include "shell/StatusRules.h"
#include "shell/clsCorvessa.h"
#include "shell/frmMainMDI.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Services.h"
#include "platform/ui/Twips.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QResizeEvent>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace {

const QString kPeopleQuery =
    QStringLiteral("SELECT Youth.*, Youth_LName & ', ' & Youth_FName AS YouthName From Youth "
                   "WHERE Youth_Deleted = False") +
    QStringLiteral(" ORDER by Youth_LName, Youth_FName;");

// Lines of the reminder text and of the count columns are shown, never stored: a plain line
// break is all the widgets need.
const QString kLineBreak = QStringLiteral("\n");

const QString kCustomizeLine = QStringLiteral(
    "Customize the program for your group using Options under the Tools menu above.");

// The design of the panes, in twips; sizes never change, the resize only moves them.
struct PaneDesign {
    const char* title;
    const char* toolTip;
    ui::TwipsRect rect;
};

constexpr std::array<PaneDesign, frmDefault::kPaneCount> kPanes{{
    {"Stats Summary", nullptr, {60, 1320, 3855, 2355}},
    {"News & Reminders",
     "Automatic reminders about status changes in your members, graduation seasons, etc.",
     {4140, 1320, 5415, 2355}},
    {"Visitors To Contact",
     "Visitors you haven't contacted yet. See Tools >> Options to customize.",
     {60, 4200, 2775, 2715}},
    {"Upcoming Birthdays",
     "Birthdays from 7 days ago to 15 days from now.",
     {2940, 4200, 3255, 2715}},
    {"Missing in Action (Since)",
     "Active members (or visitors) who have been absent for awhile.  MIA's are eventually marked "
     "as inactive.",
     {6300, 4200, 3255, 2715}},
}};

constexpr double kLogoTop = 120;
constexpr double kLogoWidth = 5400;
constexpr double kLogoHeight = 1080;
constexpr double kTitleLeft = 120;
constexpr double kTitleTop = 90;
constexpr double kTitleHeight = 300;
// The vertical gap between the rows of panes when the page is too low for them.
constexpr double kTightGap = 40;

// Birthdays are listed from this many days ago up to this many days ahead.
constexpr int kBirthdayDaysBack = 6;
constexpr int kBirthdayDaysAhead = 14;

// The navigation nodes the lists open.
constexpr std::int16_t kVisitorsNode = 2;
constexpr std::int16_t kMembersNode = 3;

// "MM/DD" with the locale's date separator.
QString monthAndDay(const QDate& d)
{
    QChar separator = QLatin1Char('/');
    for (const QChar c : data::text::shortDateFormat()) {
        if (!c.isLetter() && !c.isSpace()) {
            separator = c;
            break;
        }
    }
    return d.toString(QStringLiteral("MM")) + separator + d.toString(QStringLiteral("dd"));
}

// The birthday of a person born on `born` that falls in the listed window around today, if
// any: this year's, or, near the turn of the year, last or next year's. A 29 February
// birthday falls on 1 March in other years.
std::optional<QDate> upcomingBirthday(const QDate& born, const QDate& today)
{
    for (int year = today.year() - 1; year <= today.year() + 1; ++year) {
        const QDate birthday = QDate(year, born.month(), 1).addDays(born.day() - 1);
        const qint64 days = today.daysTo(birthday);
        if (days >= -kBirthdayDaysBack && days <= kBirthdayDaysAhead)
            return birthday;
    }
    return std::nullopt;
}

QPixmap logoPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const int iconSize = size.height() * 3 / 4;
    const int margin = (size.height() - iconSize) / 2;
    p.drawPixmap(margin, margin, ProgramIcon().pixmap(iconSize, iconSize));
    const QRect text(iconSize + 2 * margin, 0, size.width() - iconSize - 3 * margin, size.height());
    QFont font = p.font();
    font.setBold(true);
    // The largest type up to two fifths of the height that fits the width.
    for (int pixels = std::max(8, size.height() * 2 / 5); pixels > 8; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(kProductFullName) <= text.width())
            break;
    }
    p.setFont(font);
    p.setPen(QColor(0x1f, 0x4e, 0x79));
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, kProductFullName);
    return picture;
}

// Makes the font of a label small enough for `lines` lines to fit its height.
void fitLines(QLabel* label, int lines)
{
    QFont font = label->font();
    while (font.pointSizeF() > 6 && QFontMetrics(font).lineSpacing() * lines > label->height())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

void paintBlack(QWidget* widget, const QColor& text)
{
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::Window, QPalette::Base})
        palette.setColor(role, Qt::black);
    for (const auto role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(role, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

frmDefault::frmDefault(QWidget* parent) : ContentForm(QStringLiteral("frmDefault"), parent)
{
    setWindowTitle(QStringLiteral("Your Group Today"));
    setAutoFillBackground(true);
    buildControls();
}

frmDefault::~frmDefault() = default;

void frmDefault::buildControls()
{
    Logo = new QLabel(this);
    Logo->setObjectName(QStringLiteral("Logo"));
    ui::place(Logo, {0, kLogoTop, kLogoWidth, kLogoHeight});
    Logo->setPixmap(logoPicture(Logo->size()));

    for (int i = 0; i < kPaneCount; ++i) {
        const PaneDesign& design = kPanes[static_cast<std::size_t>(i)];
        const QString index = QStringLiteral("(%1)").arg(i);
        auto* pane = new Panel(QStringLiteral("InfoPanel") + index, this);
        pane->setBorderWidth(15);
        pane->setBevelWidth(15);
        ui::place(pane, design.rect);
        if (design.toolTip)
            pane->setToolTip(QString::fromUtf8(design.toolTip));
        auto* title = new QLabel(QString::fromUtf8(design.title), pane);
        title->setObjectName(QStringLiteral("TitleLabel") + index);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        ui::place(title, {kTitleLeft, kTitleTop, design.rect.width - 2 * kTitleLeft, kTitleHeight});
        InfoPanel[static_cast<std::size_t>(i)] = pane;
        TitleLabel[static_cast<std::size_t>(i)] = title;
        m_paneLeft[static_cast<std::size_t>(i)] = design.rect.left;
        m_paneTop[static_cast<std::size_t>(i)] = design.rect.top;
    }

    lblStatus = new QLabel(InfoPanel[0]);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    ui::place(lblStatus, {120, 480, 2415, 975});
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNumbers = new QLabel(InfoPanel[0]);
    lblNumbers->setObjectName(QStringLiteral("lblNumbers"));
    ui::place(lblNumbers, {2580, 480, 555, 975});
    lblNumbers->setAlignment(Qt::AlignRight | Qt::AlignTop);
    // Room for all five count lines.
    fitLines(lblStatus, 5);
    fitLines(lblNumbers, 5);

    txtReminder = new QPlainTextEdit(InfoPanel[1]);
    txtReminder->setObjectName(QStringLiteral("txtReminder"));
    ui::place(txtReminder, {120, 480, 5055, 1575});
    txtReminder->setReadOnly(true);

    const auto list = [this](int pane, const char* name, double width) {
        auto* l = new QListWidget(InfoPanel[static_cast<std::size_t>(pane)]);
        l->setObjectName(QString::fromLatin1(name));
        ui::place(l, {120, 420, width, 1950});
        return l;
    };
    List_Visitors = list(2, "List_Visitors", 2535);
    List_Birthday = list(3, "List_Birthday", 3015);
    List_MIA = list(4, "List_MIA", 3015);

    connect(List_MIA, &QListWidget::itemDoubleClicked, this, [this] { List_MIA_DblClick(); });
    connect(List_Visitors, &QListWidget::itemDoubleClicked, this,
            [this] { List_Visitors_DblClick(); });
}

void frmDefault::Form_Load()
{
    for (QWidget* w : std::initializer_list<QWidget*>{List_Visitors, List_Birthday, List_MIA,
                                                      lblStatus, lblNumbers})
        paintBlack(w, Qt::green);
    paintBlack(txtReminder, Qt::white);
    for (int pane = 2; pane < kPaneCount; ++pane) {
        const auto i = static_cast<std::size_t>(pane);
        InfoPanel[i]->findChild<QListWidget*>()->setToolTip(QString::fromUtf8(kPanes[i].toolTip));
    }

    ui::Hourglass hourglass;
    // The settings' problems met from here on are told with the rest, in one message.
    GatheredSettingProblems settingProblems(settings());
    m_problems.clear();
    m_skippedRules.clear();

    data::Connection conn;
    data::Recordset rs;
    try {
        conn.setCursorLocation(data::adUseServer);
        conn.Open(program().ConnectionString, QString(), QString());
        rs.Open(kPeopleQuery, conn, data::adOpenStatic, data::adLockOptimistic);
    } catch (const std::exception& e) {
        // The page stays empty and the rules wait for a visit that can read the data file.
        rs.Close();
        m_problems << data::describe(e);
    }
    const bool peopleRead = rs.State() == data::adStateOpen;

    if (peopleRead && evaluationsDue()) {
        AddGraduationReminder();
        switch (RunStatusEvaluations(conn, rs)) {
        case Evaluation::Stored:
            setEvaluationsDone();
            break;
        case Evaluation::PutOff:
            setEvaluationsDone();
            m_reminderText.clear();
            break;
        case Evaluation::NotStored:
            m_reminderText.clear();
            break;
        }
    }

    Counts counts;
    fillLists(rs, counts);
    rs.Close();
    conn.Close();

    TryStep("Showing the counts",
            [&] { showCounts(peopleRead ? std::optional(counts) : std::nullopt); });
    TryStep("Showing the reminders", [&] { showReminders(); });
    tellProblems(settingProblems.take());
}

bool frmDefault::evaluationsDue() const
{
    if (frmMainMDI* main = program().MainForm.get())
        return !main->EvalsDone();
    return !m_evalsDone;
}

void frmDefault::setEvaluationsDone()
{
    if (frmMainMDI* main = program().MainForm.get())
        main->setEvalsDone(true);
    m_evalsDone = true;
}

void frmDefault::appendReminder(const QString& line)
{
    if (!m_reminderText.isEmpty())
        m_reminderText += kLineBreak;
    m_reminderText += line;
}

QString frmDefault::personName(data::Recordset& rs)
{
    return ToString(rs["Youth_FName"], QString()) + QLatin1Char(' ') +
           ToString(rs["Youth_LName"], QString());
}

void frmDefault::AddGraduationReminder()
{
    const QDate today = ui::today();
    const int year = today.year();
    QString month;
    if (today >= QDate(year, 4, 25) && today < QDate(year, 5, 10))
        month = QStringLiteral("May");
    else if (today >= QDate(year, 11, 25) && today < QDate(year, 12, 10))
        month = QStringLiteral("December");
    else
        return;
    if (settings().RemindGraduation())
        appendReminder(QStringLiteral("Reminder: ") + month +
                       QStringLiteral(" graduations are coming up!"));
}

void frmDefault::fillLists(data::Recordset& rs, Counts& counts)
{
    const clsCorvessa& s = settings();
    const bool remindInactiveBirthdays = s.StoredFlag(keys::RemindInactiveBday);
    const bool requireLetter = s.StoredFlag(keys::VisRequireLetter);
    const bool requireCall = s.StoredFlag(keys::VisRequireCall);
    const bool requireVisit = s.StoredFlag(keys::VisRequireVisit);

    const QDate today = ui::today();
    struct Birthday {
        QDate date;
        QString text;
    };
    std::vector<Birthday> birthdays;

    List_Visitors->clear();
    List_Birthday->clear();
    List_MIA->clear();
    if (rs.State() == data::adStateOpen)
        TryStep("Going to the first person", [&] { rs.MoveFirst(); });
    while (!rs.EOF()) {
        std::int16_t status = 0;
        QString name;
        std::optional<double> born;
        TryStep("Reading a person", [&] {
            status = ToInteger(rs["Youth_Status"], 0);
            name = personName(rs);
            born = convert::toDate(rs["Youth_Bday"]);
        });
        const bool inactive = status == statusCode(PersonStatus::Inactive);

        TryStep("Listing a visitor to contact", [&] {
            if (!ToBoolean(rs["Youth_Visitor"], false) || inactive)
                return;
            const bool needed = (requireLetter && !ToBoolean(rs["Youth_VLetter"], false)) ||
                                (requireCall && !ToBoolean(rs["Youth_VCall"], false)) ||
                                (requireVisit && !ToBoolean(rs["Youth_VHouseCall"], false));
            if (!needed)
                return;
            auto* item = new QListWidgetItem(name);
            item->setData(Qt::UserRole, ToLong(rs["Youth_ID"], 0));
            List_Visitors->addItem(item);
        });

        TryStep("Listing a birthday", [&] {
            if ((inactive && !remindInactiveBirthdays) || !born)
                return;
            const QDate birth = data::jetdate::toDate(*born);
            if (!birth.isValid())
                return;
            if (const auto birthday = upcomingBirthday(birth, today))
                birthdays.push_back(
                    {*birthday, monthAndDay(*birthday) + QStringLiteral(" - ") + name});
        });

        TryStep("Listing a person missing in action", [&] {
            const data::Variant last = rs["Youth_Last_Attended"];
            if (!IsMIA(status, last))
                return;
            const QDate lastDate = data::jetdate::toDate(*convert::toDate(last));
            const std::int32_t id = ToLong(rs["Youth_ID"], 0);
            auto* item = new QListWidgetItem(name + QStringLiteral("  (") + monthAndDay(lastDate) +
                                             QLatin1Char(')'));
            item->setData(Qt::UserRole, ToBoolean(rs["Youth_Visitor"], false) ? -id : id);
            List_MIA->addItem(item);
        });

        switch (static_cast<PersonStatus>(status)) {
        case PersonStatus::Active:
            ++counts.active;
            break;
        case PersonStatus::Away:
            ++counts.away;
            break;
        case PersonStatus::Inactive:
            ++counts.inactive;
            break;
        default:
            ++counts.unassigned;
            break;
        }

        if (!TryStep("Going to the next person", [&] { rs.MoveNext(); }))
            break;
    }

    // In date order, across the turn of the year too; on one day by name.
    std::stable_sort(birthdays.begin(), birthdays.end(), [](const Birthday& a, const Birthday& b) {
        if (a.date != b.date)
            return a.date < b.date;
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
    });
    for (const Birthday& b : birthdays)
        List_Birthday->addItem(b.text);
}

void frmDefault::showCounts(const std::optional<Counts>& counts)
{
    QStringList captions{QStringLiteral("Total Members+Visitors:"), QStringLiteral("Active:"),
                         QStringLiteral("Away:"), QStringLiteral("Inactive:")};
    if (!counts) {
        // Zeros would say the group is empty.
        lblStatus->setText(captions.join(kLineBreak));
        lblNumbers->clear();
        return;
    }
    const int total = counts->active + counts->away + counts->inactive + counts->unassigned;
    QStringList numbers{QString::number(total), QString::number(counts->active),
                        QString::number(counts->away), QString::number(counts->inactive)};
    if (counts->unassigned > 0) {
        captions << QStringLiteral("Unassigned:");
        numbers << QString::number(counts->unassigned);
    }
    lblStatus->setText(captions.join(kLineBreak));
    lblNumbers->setText(numbers.join(kLineBreak));
}

void frmDefault::showReminders()
{
    QString& stored = program().StoredReminders;
    QString joined = m_reminderText;
    if (!m_reminderText.isEmpty() && !stored.isEmpty())
        joined += kLineBreak;
    joined += stored;
    stored = joined;

    QString text = joined;
    if (settings().GroupName().left(9) == QLatin1String("Corvessa:"))
        text = joined.isEmpty() ? kCustomizeLine : kCustomizeLine + kLineBreak + joined;
    txtReminder->setVisible(!text.isEmpty());
    txtReminder->setPlainText(text);
}

void frmDefault::resizeEvent(QResizeEvent* event)
{
    ContentForm::resizeEvent(event);
    Form_Resize();
}

void frmDefault::Form_Resize()
{
    if (window()->isMinimized())
        return;
    const double width = ui::pixelsToTwips(this->width(), this);
    const double height = ui::pixelsToTwips(this->height(), this);
    const auto w = [](int i) { return kPanes[static_cast<std::size_t>(i)].rect.width; };
    const auto h = [](int i) { return kPanes[static_cast<std::size_t>(i)].rect.height; };

    const double logoLeft = (width - kLogoWidth) / 2;
    ui::moveTo(Logo, logoLeft, kLogoTop);

    const double topGap = (width - w(0) - w(1)) / 3;
    m_paneLeft[0] = topGap;
    m_paneLeft[1] = w(0) + 2 * topGap;
    const double bottomGap = (width - w(2) - w(3) - w(4)) / 4;
    m_paneLeft[2] = bottomGap;
    m_paneLeft[3] = w(2) + 2 * bottomGap;
    m_paneLeft[4] = w(2) + w(3) + 3 * bottomGap;

    const double logoBottom = kLogoTop + kLogoHeight;
    const double gap =
        m_paneTop[2] + h(2) > height ? kTightGap : (height - logoBottom - h(1) - h(2)) / 3;
    m_paneTop[0] = logoBottom + 0.8 * gap;
    m_paneTop[1] = m_paneTop[0];
    m_paneTop[2] = m_paneTop[0] + h(0) + gap;
    m_paneTop[3] = m_paneTop[2];
    m_paneTop[4] = m_paneTop[2];

    for (std::size_t i = 0; i < InfoPanel.size(); ++i)
        ui::moveTo(InfoPanel[i], m_paneLeft[i], m_paneTop[i]);
}

void frmDefault::List_MIA_DblClick()
{
    const QListWidgetItem* item = List_MIA->currentItem();
    if (!item || !item->isSelected())
        return;
    const std::int32_t number = item->data(Qt::UserRole).toInt();
    if (number < 0)
        openPerson(-number, kVisitorsNode);
    else
        openPerson(number, kMembersNode);
}

void frmDefault::List_Visitors_DblClick()
{
    const QListWidgetItem* item = List_Visitors->currentItem();
    if (!item || !item->isSelected())
        return;
    openPerson(item->data(Qt::UserRole).toInt(), kVisitorsNode);
}

void frmDefault::openPerson(std::int32_t id, std::int16_t node)
{
    program().SelectedYouthID = id;
    // The node click unloads this page; its window goes when control returns to the event loop.
    if (frmMainMDI* main = program().MainForm.get())
        TryStep("Opening the directory", [&] { main->ClickNode(node); });
}
