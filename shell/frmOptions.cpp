#include "shell/frmOptions.h"

#include "shell/Forms.h"
#include "shell/Helpers.h"
#include "shell/ProgramState.h"
#include "shell/SettingKeys.h"
#include "shell/clsCorvessa.h"
#include "platform/ui/Services.h"
#include "platform/ui/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTabWidget>

namespace {

// A check box with its caption first and the box after it, at the control's right edge, so
// that the boxes of a page stand in one column.
class CaptionFirstCheckBox final : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const int boxWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
        const int boxHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
        const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);

        QStyleOptionButton box = option;
        box.rect = QRect(width() - boxWidth, (height() - boxHeight) / 2, boxWidth, boxHeight);
        painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);

        QStyleOptionButton label = option;
        label.rect = QRect(0, 0, width() - boxWidth - spacing, height());
        painter.drawControl(QStyle::CE_CheckBoxLabel, label);

        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = style()
                             ->itemTextRect(fontMetrics(), label.rect,
                                            Qt::AlignLeft | Qt::AlignVCenter, isEnabled(), text())
                             .adjusted(-1, 0, 1, 0);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

    // The caption toggles the box as well.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// Design sizes and places, in twips.
constexpr double kFormWidth = 7920;
constexpr double kFormHeight = 4080;
constexpr double kTabLeft = 120;
constexpr double kTabTop = 120;
constexpr double kTabWidth = 7680;
constexpr double kTabHeight = 3300;
constexpr double kButtonTop = 3540;
constexpr double kButtonWidth = 1215;
constexpr double kButtonHeight = 375;
constexpr double kLineHeight = 285;    // a caption of one line, a check box
constexpr double kTwoLineHeight = 480; // a caption that wraps onto a second line
constexpr double kBoxHeight = 315;     // text and combo boxes
constexpr double kCaptionLeft = 120;
constexpr double kWideWidth = 7320; // long check boxes: their boxes end where the week boxes do
constexpr double kWeeksLeft = 6540;
constexpr double kWeeksWidth = 900;
constexpr double kWeeksCaptionWidth = 6120;

const QString kHeading =
    QStringLiteral("A visitor is considered to be \"Needing Attention\" until they get...");

// The entries of a week-count box, each showing its number and carrying it.
void fillWeeks(QComboBox* box, int first, int last)
{
    box->clear();
    for (int n = first; n <= last; ++n)
        box->addItem(QString::number(n), n);
    box->setCurrentIndex(-1);
}

} // namespace

frmOptions::frmOptions(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    buildControls();
    Form_Load();

    // Every key reaches the dialog first, whichever control has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

frmOptions::~frmOptions()
{
    Forms::remove(this);
}

frmOptions* frmOptions::ShowOptions(QWidget* owner)
{
    static QPointer<frmOptions> instance;
    if (!instance) {
        instance = new frmOptions(owner);
        Forms::add(instance);
    }
    instance->show();
    instance->raise();
    instance->activateWindow();
    return instance;
}

void frmOptions::buildControls()
{
    setFixedSize(ui::twipsToPixels(kFormWidth, this), ui::twipsToPixels(kFormHeight, this));
    auto place = [](QWidget* w, double left, double top, double width, double height) {
        ui::place(w, {left, top, width, height});
    };
    auto caption = [&](QWidget* page, const QString& text, double top, double width,
                       double height) {
        auto* label = new QLabel(text, page);
        label->setWordWrap(height > kLineHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        place(label, kCaptionLeft, top, width, height);
        return label;
    };
    auto check = [&](QWidget* page, const char* name, const QString& text, double left, double top,
                     double width) {
        QCheckBox* box = new CaptionFirstCheckBox(text, page);
        box->setObjectName(QString::fromLatin1(name));
        place(box, left, top, width, kLineHeight);
        return box;
    };
    auto weeks = [&](QWidget* page, const char* name, double top) {
        auto* box = new QComboBox(page);
        box->setObjectName(QString::fromLatin1(name));
        place(box, kWeeksLeft, top, kWeeksWidth, kBoxHeight);
        return box;
    };

    tbsOptions = new QTabWidget(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    place(tbsOptions, kTabLeft, kTabTop, kTabWidth, kTabHeight);
    const char* const tabs[] = {"About Your Group", "Visitors", "Reminders", "Members"};
    for (std::size_t i = 0; i < picOptions.size(); ++i) {
        picOptions[i] = new QWidget;
        picOptions[i]->setObjectName(QStringLiteral("picOptions_%1").arg(i));
        tbsOptions->addTab(picOptions[i], QString::fromLatin1(tabs[i]));
    }

    // About Your Group
    QWidget* page = picOptions[0];
    caption(page, QStringLiteral("Group Name:"), 270, 1320, kLineHeight);
    txtGroupName = new QLineEdit(page);
    txtGroupName->setObjectName(QStringLiteral("txtGroupName"));
    place(txtGroupName, 1500, 255, 5940, kBoxHeight);
    caption(page, QStringLiteral("Country:"), 750, 1320, kLineHeight);
    Select_Country = new QComboBox(page);
    Select_Country->setObjectName(QStringLiteral("Select_Country"));
    Select_Country->setEditable(true);
    Select_Country->setInsertPolicy(QComboBox::NoInsert);
    place(Select_Country, 1500, 735, 2400, kBoxHeight);

    // Visitors
    page = picOptions[1];
    caption(page, kHeading, 120, kWideWidth, kLineHeight);
    chkVisReqLetter =
        check(page, "chkVisReqLetter", QStringLiteral("A letter sent to them:"), 480, 480, 2700);
    chkVisReqCall = check(page, "chkVisReqCall", QStringLiteral("A phone call:"), 480, 800, 2700);
    chkVisReqVisit =
        check(page, "chkVisReqVisit", QStringLiteral("A home visit:"), 480, 1120, 2700);
    caption(page,
            QStringLiteral(
                "How many weeks does a visitor need to attend in an 8-week period before you "
                "consider them a member:"),
            1560, kWeeksCaptionWidth, kTwoLineHeight);
    Select_AutoGradWeeks = weeks(page, "Select_AutoGradWeeks", 1643);
    chkAutoGradVisitor = check(
        page, "chkAutoGradVisitor",
        QStringLiteral("Auto-graduate visitors to members when they meet the above requirement:"),
        kCaptionLeft, 2220, kWideWidth);

    // Reminders
    page = picOptions[2];
    chkRmndGrads = check(page, "chkRmndGrads",
                         QStringLiteral("Remind me about graduation time every May and December:"),
                         kCaptionLeft, 240, kWideWidth);
    chkRmndInactiveBday =
        check(page, "chkRmndInactiveBday",
              QStringLiteral("Include birthdays of Inactive people on the Start page:"),
              kCaptionLeft, 600, kWideWidth);
    chkRmndBackup =
        check(page, "chkRmndBackup",
              QStringLiteral("Automatically backup the data file weekly when exiting the program:"),
              kCaptionLeft, 960, kWideWidth);

    // Members
    page = picOptions[3];
    caption(page, QStringLiteral("Number of missed weeks before a member is considered MIA:"), 255,
            kWeeksCaptionWidth, kLineHeight);
    Select_MIAWeeks = weeks(page, "Select_MIAWeeks", 240);
    caption(page,
            QStringLiteral(
                "Number of missed weeks before a person who is MIA is downgraded to Inactive:"),
            720, kWeeksCaptionWidth, kTwoLineHeight);
    Select_InactiveWeeks = weeks(page, "Select_InactiveWeeks", 803);
    chkAutoGradSchool = check(page, "chkAutoGradSchool",
                              QStringLiteral("Auto-graduate school grade levels every June 15:"),
                              kCaptionLeft, 1440, kWideWidth);

    auto button = [&](const char* name, const QString& text, double left) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        place(b, left, kButtonTop, kButtonWidth, kButtonHeight);
        return b;
    };
    const double right = kTabLeft + kTabWidth;
    cmdOK = button("cmdOK", QStringLiteral("OK"), right - 3 * kButtonWidth - 240);
    cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), right - 2 * kButtonWidth - 120);
    cmdApply = button("cmdApply", QStringLiteral("&Apply"), right - kButtonWidth);
    cmdOK->setDefault(true);

    m_editors = {txtGroupName,         Select_Country,     Select_AutoGradWeeks, Select_MIAWeeks,
                 Select_InactiveWeeks, chkAutoGradVisitor, chkAutoGradSchool,    chkRmndGrads,
                 chkRmndInactiveBday,  chkRmndBackup,      chkVisReqLetter,      chkVisReqCall,
                 chkVisReqVisit};

    connect(tbsOptions, &QTabWidget::currentChanged, this, [this] { tbsOptions_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
}

void frmOptions::Form_Load()
{
    FillOptionLists();
    LoadOptions();
    tbsOptions->setCurrentIndex(0);
    tbsOptions_Click();
}

void frmOptions::FillOptionLists()
{
    fillWeeks(Select_AutoGradWeeks, 1, 8);
    fillWeeks(Select_MIAWeeks, 1, 9);
    fillWeeks(Select_InactiveWeeks, 9, 36);
    Select_Country->clear();
    Select_Country->addItems({QStringLiteral("USA"), QStringLiteral("Canada"),
                              QStringLiteral("Australia"), QStringLiteral("Other")});
}

void frmOptions::LoadOptions()
{
    for (std::size_t i = 0; i < m_editors.size(); ++i) {
        const SettingKey& key = keys::kOptionKeys[i];
        QWidget* editor = m_editors[i];
        auto* combo = qobject_cast<QComboBox*>(editor);
        // Stored text that does not read as its type is reported once and the default shown;
        // the store keeps it until OK or Apply.
        if (auto* check = qobject_cast<QCheckBox*>(editor)) {
            check->setChecked(settings().StoredFlag(key));
        } else if (combo && !combo->isEditable()) {
            // a count no entry carries leaves the box without a selection
            SelectComboByItemData(combo, settings().StoredCount(key));
        } else {
            const QString text = ui::settingsStore().value(key.Section(), key.Key(), key.Absent());
            if (auto* line = qobject_cast<QLineEdit*>(editor))
                line->setText(text);
            else if (combo)
                combo->setCurrentText(text);
        }
    }
}

bool frmOptions::SaveOptions()
{
    bool saved = true;
    try {
        for (std::size_t i = 0; i < m_editors.size(); ++i) {
            const SettingKey& key = keys::kOptionKeys[i];
            QWidget* editor = m_editors[i];
            QString text;
            if (auto* line = qobject_cast<QLineEdit*>(editor)) {
                text = line->text();
            } else if (auto* check = qobject_cast<QCheckBox*>(editor)) {
                text = check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
            } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
                if (combo->isEditable()) {
                    text = combo->currentText();
                } else if (combo->currentIndex() < 0) {
                    continue; // no entry chosen: the stored count stays as it is
                } else {
                    text = QString::number(combo->currentData().toInt());
                }
            }
            ui::settingsStore().write(key.Section(), key.Key(), text);
        }
    } catch (const std::exception& e) {
        ui::critical(QString::fromStdString(e.what()));
        saved = false;
    }
    // Whatever reached the store is what the week counts are read from next.
    settings().ResetValues();
    return saved;
}

void frmOptions::tbsOptions_Click()
{
    const int selected = tbsOptions->currentIndex();
    for (std::size_t i = 0; i < picOptions.size(); ++i)
        picOptions[i]->setEnabled(static_cast<int>(i) == selected);
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && Form_KeyDown(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool frmOptions::Form_KeyDown(const QKeyEvent& key)
{
    if (key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab)
        return false;
    // Alt plays no part; Shift+Tab alone is the ordinary move to the previous control.
    const Qt::KeyboardModifiers held = key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    const int count = tbsOptions->count();
    if (held == Qt::ControlModifier && key.key() == Qt::Key_Tab) {
        tbsOptions->setCurrentIndex((tbsOptions->currentIndex() + 1) % count);
        return true;
    }
    if (held == (Qt::ControlModifier | Qt::ShiftModifier)) {
        tbsOptions->setCurrentIndex((tbsOptions->currentIndex() + count - 1) % count);
        return true;
    }
    return false;
}

void frmOptions::cmdOK_Click()
{
    if (SaveOptions())
        accept();
}

void frmOptions::cmdCancel_Click()
{
    reject();
}

void frmOptions::cmdApply_Click()
{
    SaveOptions();
}
