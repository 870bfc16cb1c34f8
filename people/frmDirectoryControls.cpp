// The directory's controls: building them, their colours and their places as the screen
// resizes. The screen's logic is in frmDirectory.cpp and frmDirectoryEditing.cpp.
#include "people/frmDirectory.h"

#include "people/DirectoryLayout.h"
#include "people/DirectoryLists.h"
#include "people/PersonPicker.h"
#include "people/TabFrame.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QToolButton>

namespace {

constexpr int kTeamLimit = 17;
constexpr int kIMServiceLimit = 10;

// Design sizes, in twips.
constexpr double kMargin = 120;
constexpr double kNavWidth = 10320;
constexpr double kNavHeight = 900;
constexpr double kTabTop = 1140;
constexpr double kPanelLeft = 120;
constexpr double kPanelTop = 480;
constexpr double kPanelWidth = 10080;
constexpr double kPanelHeight = 4500;
constexpr double kBoxHeight = 330;
constexpr double kCaptionWidth = 1830;
constexpr double kBoxLeft = 1950;
constexpr double kPrintWidth = 1500;
constexpr double kListLeft = 5700;
constexpr double kListTop = 450; // inside its panel
constexpr double kListHeight = 3900;
constexpr double kDesignWidth = kNavWidth + 2 * kMargin;
constexpr double kDesignHeight =
    kTabTop + kPanelTop + kPanelHeight + 120 + 70 + kBoxHeight + 4 * kMargin;

const QColor kMemberColour(0, 128, 128);
const QColor kVisitorColour(0, 0, 128);

// The application's colours, set role by role so that a widget keeps them whatever its
// parent's colours are.
QPalette ordinaryPalette()
{
    const QPalette app = QApplication::palette();
    QPalette p;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                          QPalette::Button, QPalette::ButtonText, QPalette::Light, QPalette::Dark,
                          QPalette::Mid, QPalette::Midlight, QPalette::Shadow})
            p.setColor(group, role, app.color(group, role));
    return p;
}

// The pictures of the navigation and record buttons.
enum class Glyph { First, Previous, Next, Last, Add, Delete, Clone };

QIcon glyphIcon(Glyph glyph)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2, 2);
    const QColor ink(30, 60, 90);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    auto triangle = [&](double tip, bool right) {
        QPainterPath t;
        const double base = right ? tip - 6 : tip + 6;
        t.moveTo(tip, 8);
        t.lineTo(base, 3);
        t.lineTo(base, 13);
        t.closeSubpath();
        p.drawPath(t);
    };
    switch (glyph) {
    case Glyph::First:
        p.drawRect(QRectF(3, 3, 2, 10));
        triangle(5.5, false);
        break;
    case Glyph::Previous:
        triangle(4.5, false);
        break;
    case Glyph::Next:
        triangle(11.5, true);
        break;
    case Glyph::Last:
        triangle(10.5, true);
        p.drawRect(QRectF(11, 3, 2, 10));
        break;
    case Glyph::Add:
        p.setBrush(QColor(46, 140, 60));
        p.drawRect(QRectF(6.5, 2, 3, 12));
        p.drawRect(QRectF(2, 6.5, 12, 3));
        break;
    case Glyph::Delete:
        p.setPen(QPen(QColor(190, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case Glyph::Clone:
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(250, 250, 250));
        p.drawRect(QRectF(2.5, 2.5, 8, 9));
        p.setBrush(QColor(200, 225, 245));
        p.drawRect(QRectF(5.5, 5.5, 8, 9));
        break;
    }
    return QIcon(pixmap);
}

} // namespace

void frmDirectory::buildControls()
{
    setAutoFillBackground(true);
    buildNavPanel();
    buildTabs();
    buildStampLine();
    resize(ui::twipsToPixels(kDesignWidth, this), ui::twipsToPixels(kDesignHeight, this));
    m_listHeight = kListHeight;
}

QWidget* frmDirectory::addBox(QWidget* panel, int index, double left, double top, double width,
                              int limit)
{
    QWidget* box = nullptr;
    if (index == 5) {
        auto* text = new QPlainTextEdit(panel);
        text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        text->setTabChangesFocus(true);
        box = text;
    } else {
        auto* line = new QLineEdit(panel);
        if (limit > 0)
            line->setMaxLength(limit);
        box = line;
    }
    box->setObjectName(QStringLiteral("txtFields(%1)").arg(index));
    ui::place(box, {left, top, width, kBoxHeight});
    txtFields[index] = box;
    return box;
}

QCheckBox* frmDirectory::addCheck(QWidget* panel, int index, const char* caption, double left,
                                  double top, double width)
{
    auto* check = new QCheckBox(QString::fromUtf8(caption), panel);
    check->setObjectName(QStringLiteral("chkFields(%1)").arg(index));
    // The caption stands before the box.
    check->setLayoutDirection(Qt::RightToLeft);
    ui::place(check, {left, top, width, kBoxHeight});
    chkFields[index] = check;
    return check;
}

QLabel* frmDirectory::addCaption(QWidget* panel, int index, const char* caption, double left,
                                 double top, double width)
{
    auto* label = new QLabel(QString::fromUtf8(caption), panel);
    label->setObjectName(QStringLiteral("lblLabels(%1)").arg(index));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui::place(label, {left, top, width, kBoxHeight});
    lblLabels[index] = label;
    return label;
}

void frmDirectory::buildNavPanel()
{
    NavPanel = new QFrame(this);
    NavPanel->setObjectName(QStringLiteral("NavPanel"));
    NavPanel->setFrameShape(QFrame::StyledPanel);
    NavPanel->setFrameShadow(QFrame::Raised);
    NavPanel->setAutoFillBackground(true);
    NavPanel->setBackgroundRole(QPalette::Button);
    ui::place(NavPanel, {kMargin, kMargin, kNavWidth, kNavHeight});

    auto tool = [this](const char* name, Glyph glyph, const char* tip, double left, double top) {
        auto* b = new QToolButton(NavPanel);
        b->setObjectName(QString::fromUtf8(name));
        b->setIcon(glyphIcon(glyph));
        b->setToolTip(QString::fromUtf8(tip));
        b->setAccessibleName(QString::fromUtf8(tip));
        b->setAutoRaise(false);
        // A click takes the focus, so that the box being left is checked before the command.
        b->setFocusPolicy(Qt::StrongFocus);
        ui::place(b, {left, top, 375, 345});
        return b;
    };
    cmdFirst = tool("cmdFirst", Glyph::First, "First", 90, 75);
    cmdPrevious = tool("cmdPrevious", Glyph::Previous, "Previous", 480, 75);
    NumRecords = new QLabel(NavPanel);
    NumRecords->setObjectName(QStringLiteral("NumRecords"));
    NumRecords->setAlignment(Qt::AlignCenter);
    NumRecords->setFrameShape(QFrame::StyledPanel);
    NumRecords->setFrameShadow(QFrame::Sunken);
    ui::place(NumRecords, {870, 75, 1800, 345});
    cmdNext = tool("cmdNext", Glyph::Next, "Next", 2685, 75);
    cmdLast = tool("cmdLast", Glyph::Last, "Last", 3075, 75);

    NavCombo = new PersonPicker(NavPanel);
    NavCombo->setObjectName(QStringLiteral("NavCombo"));
    ui::place(NavCombo, {3600, 75, 3600, 345});

    auto* showCaption = new QLabel(QStringLiteral("Show:"), NavPanel);
    showCaption->setObjectName(QStringLiteral("lblShow"));
    showCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui::place(showCaption, {7300, 75, 600, 345});
    Select_Show = new QComboBox(NavPanel);
    Select_Show->setObjectName(QStringLiteral("Select_Show"));
    ui::place(Select_Show, {8000, 75, 2160, 345});

    auto captioned = [this, &tool](const char* name, Glyph glyph, const char* tip,
                                   const char* caption, double left) {
        QToolButton* b = tool(name, glyph, tip, left, 480);
        auto* label = new QLabel(QString::fromUtf8(caption), NavPanel);
        label->setObjectName(QStringLiteral("lbl") + QString::fromUtf8(name).mid(3));
        label->setBuddy(b);
        ui::place(label, {left + 420, 480, 560, 345});
        return b;
    };
    cmdAdd = captioned("cmdAdd", Glyph::Add, "Add a New Person", "Add", 90);
    cmdDelete = captioned("cmdDelete", Glyph::Delete, "Delete This Person", "Del", 1110);
    cmdClone = captioned("cmdClone", Glyph::Clone, "Duplicate this record (for entering siblings)",
                         "Clone", 2130);

    cmdUpdate = new QPushButton(QStringLiteral("&Save"), NavPanel);
    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    ui::place(cmdUpdate, {3600, 480, 1200, 345});
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), NavPanel);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    ui::place(cmdCancel, {4920, 480, 1200, 345});
}

void frmDirectory::buildTabs()
{
    SSTabCtl = new TabFrame(this);
    SSTabCtl->setObjectName(QStringLiteral("SSTabCtl"));
    for (const char* caption : {"Contact Info", "Personal", "Tracking", "Photo"})
        SSTabCtl->addTab(QString::fromUtf8(caption));
    SSTabCtl->bar()->setFocusPolicy(Qt::StrongFocus);
    ui::place(SSTabCtl, {kMargin, kTabTop, kNavWidth, kPanelTop + kPanelHeight + 120});

    for (int i = 0; i < 3; ++i) {
        auto* panel = new QFrame(SSTabCtl);
        panel->setObjectName(QStringLiteral("TabPanel(%1)").arg(i));
        panel->setFrameShape(QFrame::NoFrame);
        panel->setAutoFillBackground(true);
        ui::place(panel, {kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight});
        TabPanel[static_cast<std::size_t>(i)] = panel;
    }
    buildContactPanel(TabPanel[0]);
    buildPersonalPanel(TabPanel[1]);
    buildTrackingPanel(TabPanel[2]);
    buildPhotoControls();
}

void frmDirectory::buildContactPanel(QFrame* panel)
{
    addCaption(panel, 11, "First Name:", 60, 150, kCaptionWidth);
    addBox(panel, 11, kBoxLeft, 150, 2100, 20);
    addCaption(panel, 21, "Middle:", 4100, 150, 850);
    addBox(panel, 21, 5000, 150, 1600, 20);
    addCaption(panel, 18, "Last:", 6650, 150, 550);
    addBox(panel, 18, 7250, 150, 2650, 25);

    addCaption(panel, 0, "Street:", 60, 600, kCaptionWidth);
    addBox(panel, 0, kBoxLeft, 600, 7950, 90);

    addCaption(panel, 4, "City/State/Zip:", 60, 1050, kCaptionWidth);
    addBox(panel, 4, kBoxLeft, 1050, 2500, 15);
    addBox(panel, 27, 4550, 1050, 700, 3);
    addBox(panel, 34, 5320, 1050, 1500, 10);
    for (int centred : {27, 34})
        static_cast<QLineEdit*>(txtFields[centred])->setAlignment(Qt::AlignCenter);

    addCaption(panel, 8, "E-mail:", 60, 1500, kCaptionWidth);
    addBox(panel, 8, kBoxLeft, 1500, 4700, 50);
    cmdEmail = new QPushButton(QStringLiteral("Send E-mail"), panel);
    cmdEmail->setObjectName(QStringLiteral("cmdEmail"));
    ui::place(cmdEmail, {6750, 1500, 1500, kBoxHeight});

    addCaption(panel, 13, "Home Phone:", 60, 1950, kCaptionWidth);
    addBox(panel, 13, kBoxLeft, 1950, 2300, 15);
    addCaption(panel, 1, "Work:", 4300, 1950, 800);
    addBox(panel, 1, 5150, 1950, 2300, 15);
    addCaption(panel, 10, "Cell:", 60, 2400, kCaptionWidth);
    addBox(panel, 10, kBoxLeft, 2400, 2300, 15);
    addCaption(panel, 9, "Beeper:", 4300, 2400, 800);
    addBox(panel, 9, 5150, 2400, 2300, 15);

    auto* imCaption = new QLabel(QStringLiteral("IM Service:"), panel);
    imCaption->setObjectName(QStringLiteral("lblIMService"));
    imCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui::place(imCaption, {60, 2850, kCaptionWidth, kBoxHeight});
    Select_IMService = new ChoiceBox(kIMServiceLimit, panel);
    Select_IMService->setObjectName(QStringLiteral("Select_IMService"));
    ui::place(Select_IMService, {kBoxLeft, 2850, 1500, kBoxHeight});
    addCaption(panel, 2, "IM Username:", 3550, 2850, 1500);
    addBox(panel, 2, 5150, 2850, 3000, 50);
}

void frmDirectory::buildPersonalPanel(QFrame* panel)
{
    addCaption(panel, 3, "Birthdate:", 60, 150, kCaptionWidth);
    addBox(panel, 3, kBoxLeft, 150, 1300, 10);
    auto* ageCaption = new QLabel(QStringLiteral("Age:"), panel);
    ageCaption->setObjectName(QStringLiteral("lblAgeCaption"));
    ageCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui::place(ageCaption, {3300, 150, 600, kBoxHeight});
    lblAge = new QLabel(panel);
    lblAge->setObjectName(QStringLiteral("lblAge"));
    ui::place(lblAge, {4000, 150, 500, kBoxHeight});

    Frame1 = new QGroupBox(QStringLiteral("Gender:"), panel);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ui::place(Frame1, {4700, 20, 2100, 560});
    for (int i : {1, 2}) {
        auto* button = new QRadioButton(QString::fromLatin1(i == 1 ? "M" : "F"), Frame1);
        button->setObjectName(QStringLiteral("optGender(%1)").arg(i));
        // Both buttons may be off (no gender yet): the screen keeps them exclusive itself.
        button->setAutoExclusive(false);
        ui::place(button, {i == 1 ? 250.0 : 1100.0, 250, 700, 270});
        optGender[static_cast<std::size_t>(i)] = button;
    }

    addCaption(panel, 23, "School:", 60, 750, kCaptionWidth);
    addBox(panel, 23, kBoxLeft, 750, 3300, 30);
    addCaption(panel, 24, "Grade:", 5350, 750, 800);
    addBox(panel, 24, 6200, 750, 600, 2);
    addCaption(panel, 22, "Parent Name(s):", 60, 1200, kCaptionWidth);
    addBox(panel, 22, kBoxLeft, 1200, 7950, 0);
    addCaption(panel, 20, "Ministry Interests:", 60, 1650, kCaptionWidth);
    addBox(panel, 20, kBoxLeft, 1650, 7950, 60);
    addCaption(panel, 5, "Comments:", 60, 2100, kCaptionWidth);
    addBox(panel, 5, kBoxLeft, 2100, 7950, 0);
    ui::place(txtFields[5], {kBoxLeft, 2100, 7950, 2200});
    lblLabels[5]->setAlignment(Qt::AlignRight | Qt::AlignTop);
    for (int centred : {3, 24})
        static_cast<QLineEdit*>(txtFields[centred])->setAlignment(Qt::AlignCenter);
    txtFields[3]->setProperty("dateFormat", QStringLiteral("M/d/yyyy"));
}

void frmDirectory::buildTrackingPanel(QFrame* panel)
{
    addCheck(panel, 32, "This Person is a Visitor:", 60, 150, 2700);

    auto caption = [panel, this](const char* name, const char* text, double top) {
        auto* label = new QLabel(QString::fromUtf8(text), panel);
        label->setObjectName(QString::fromUtf8(name));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ui::place(label, {60, top, kCaptionWidth, kBoxHeight});
    };
    caption("lblStatus", "Status:", 600);
    Select_Status = new QComboBox(panel);
    Select_Status->setObjectName(QStringLiteral("Select_Status"));
    ui::place(Select_Status, {kBoxLeft, 600, 1900, kBoxHeight});
    caption("lblTeam", "Team:", 1050);
    Select_Team = new ChoiceBox(kTeamLimit, panel);
    Select_Team->setObjectName(QStringLiteral("Select_Team"));
    ui::place(Select_Team, {kBoxLeft, 1050, 1900, kBoxHeight});

    addCaption(panel, 16, "Last Attended:", 60, 1500, kCaptionWidth);
    addBox(panel, 16, kBoxLeft, 1500, 1300, 10);
    txtFields[16]->setProperty("dateFormat", QStringLiteral("M/d/yyyy"));
    addCaption(panel, 6, "Invited by/Contact:", 60, 1950, kCaptionWidth);
    addBox(panel, 6, kBoxLeft, 1950, 3400, 50);

    addCheck(panel, 19, "Mail List:", 60, 2400, 1900);
    addCheck(panel, 17, "Leader:", 2300, 2400, 1500);

    FollowUpPanel = new QFrame(panel);
    FollowUpPanel->setObjectName(QStringLiteral("FollowUpPanel"));
    FollowUpPanel->setFrameShape(QFrame::StyledPanel);
    FollowUpPanel->setFrameShadow(QFrame::Sunken);
    ui::place(FollowUpPanel, {60, 2900, 5400, 600});
    addCheck(FollowUpPanel, 33, "Sent Letter:", 120, 135, 1650);
    addCheck(FollowUpPanel, 30, "Called:", 1950, 135, 1300);
    addCheck(FollowUpPanel, 31, "Visited:", 3500, 135, 1400);
    FollowUpPanel->hide();

    auto* listCaption = new QLabel(QStringLiteral("Attendance Record:"), panel);
    listCaption->setObjectName(QStringLiteral("lblAttendance"));
    ui::place(listCaption, {kListLeft, 150, 3000, 270});
    Attendance_Record = new QListWidget(panel);
    Attendance_Record->setObjectName(QStringLiteral("Attendance_Record"));
    ui::place(Attendance_Record, {kListLeft, kListTop, 4200, kListHeight});
}

void frmDirectory::buildPhotoControls()
{
    m_photoTab = new PhotoTab(SSTabCtl, *this);
    MugShot = m_photoTab->MugShot;
    cmdNewPhoto = m_photoTab->cmdNewPhoto;
    cmdDelPhoto = m_photoTab->cmdDelPhoto;
    PhotoLabel = m_photoTab->PhotoLabel;
    ui::place(MugShot, {240, 600, 3225, 2400});
    ui::place(cmdNewPhoto, {3700, 600, 1800, 400});
    ui::place(cmdDelPhoto, {3700, 1100, 1800, 400});
    ui::place(PhotoLabel, {3700, 1650, 5500, 1500});
}

void frmDirectory::buildStampLine()
{
    const double top = kDesignHeight - kBoxHeight - 4 * kMargin;
    addCaption(this, 29, "Last Updated On:", kMargin, top, 1800);
    addBox(this, 29, 2010, top, 1400, 0);
    addCaption(this, 7, "Record Created On:", 3500, top, 2000);
    addBox(this, 7, 5590, top, 2800, 0);
    for (int stamp : {29, 7}) {
        auto* box = static_cast<QLineEdit*>(txtFields[stamp]);
        box->setReadOnly(true);
        box->setFrame(false);
        box->setFocusPolicy(Qt::NoFocus);
    }
    txtFields[29]->setProperty("dateFormat", QStringLiteral("M/d/yyyy"));
    cmdPrintProfile = new QPushButton(QStringLiteral("Print Profile"), this);
    cmdPrintProfile->setObjectName(QStringLiteral("cmdPrintProfile"));
    ui::place(cmdPrintProfile, {kMargin + kNavWidth - kPrintWidth, top, kPrintWidth, kBoxHeight});
}

void frmDirectory::applyColours()
{
    const QColor back = m_visitorMode ? kVisitorColour : kMemberColour;
    QPalette screen = palette();
    screen.setColor(QPalette::Window, back);
    screen.setColor(QPalette::WindowText, Qt::white);
    setPalette(screen);
    // The panels and the navigation bar keep the ordinary colours.
    const QPalette plain = ordinaryPalette();
    NavPanel->setPalette(plain);
    for (QFrame* panel : TabPanel)
        panel->setPalette(plain);
    SSTabCtl->bar()->setPalette(plain);
    for (QWidget* w :
         std::initializer_list<QWidget*>{MugShot, cmdNewPhoto, cmdDelPhoto, cmdPrintProfile})
        w->setPalette(plain);
    // The two stamp boxes take the screen's colour.
    for (int stamp : {29, 7}) {
        QPalette p = txtFields[stamp]->palette();
        p.setColor(QPalette::Base, back);
        p.setColor(QPalette::Text, Qt::white);
        txtFields[stamp]->setPalette(p);
    }
}

// Layout ---------------------------------------------------------------------------------------

void frmDirectory::resizeEvent(QResizeEvent* event)
{
    ContentForm::resizeEvent(event);
    Form_Resize();
}

void frmDirectory::Form_Resize()
{
    const auto twips = [this](int pixels) { return ui::pixelsToTwips(pixels, this); };
    DirectoryLayoutInput in;
    in.width = twips(width());
    in.height = twips(height());
    in.tabLeft = twips(SSTabCtl->x());
    in.tabTop = twips(SSTabCtl->y());
    in.updatedBoxHeight = twips(txtFields[29]->height());
    in.createdBoxHeight = twips(txtFields[7]->height());
    in.navPanelWidth = twips(NavPanel->width());
    in.printButtonWidth = twips(cmdPrintProfile->width());
    in.listTop = kPanelTop + kListTop;
    in.listHeight = m_listHeight;
    const DirectoryLayout out = ComputeDirectoryLayout(in);

    for (QWidget* w : std::initializer_list<QWidget*>{txtFields[29], lblLabels[29], txtFields[7],
                                                      lblLabels[7], cmdPrintProfile})
        w->move(w->x(), ui::twipsToPixels(out.stampTop, this));
    SSTabCtl->resize(ui::twipsToPixels(out.tabWidth, this), ui::twipsToPixels(out.tabHeight, this));
    cmdPrintProfile->move(ui::twipsToPixels(out.printLeft, this), cmdPrintProfile->y());
    if (out.listHeight != m_listHeight) {
        m_listHeight = out.listHeight;
        Attendance_Record->resize(Attendance_Record->width(),
                                  ui::twipsToPixels(m_listHeight, this));
    }
}
