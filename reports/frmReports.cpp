#include "reports/frmReports.h"

#include "reports/BulkEmail.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportData.h"
#include "reports/clsReports.h"
#include "shell/ProgramState.h"
#include "shell/TryStep.h"
#include "shell/ShowReport.h"
#include "shell/Panel.h"
#include "shell/Helpers.h"
#include "shell/clsCorvessa.h"
#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"
#include "platform/report/Registry.h"
#include "platform/ui/Services.h"
#include "platform/ui/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>

#include <exception>

namespace {

// Design sizes and places, in twips.
constexpr int kMargin = 300; // the catalogue list's left edge
constexpr int kListTop = 660;
constexpr int kDescHeight = 1095;
constexpr int kFilterPanelLeft = 3120;
constexpr int kPreviewWidth = 1935;
constexpr int kPreviewTop = 5880;

const char* const kCaptions[kFilterListCount] = {
    "Status:", "Team:",    "School Type:", "Leader:", "Visitor:", "Mail List:", "Drama:",
    "Music:",  "Include:", "Year:",        "School:", "Grade:",   "Gender:",    "Mtg Type:"};

const QString kAny = QStringLiteral("(ANY)");
const QString kBulkEmail = QStringLiteral("Bulk E-mail");

// Runs its action when it goes, however the scope is left.
template <class Action> class AtExit {
public:
    explicit AtExit(Action action) : m_action(std::move(action)) {}
    ~AtExit() { TryStep("Clearing the report values", m_action); }
    AtExit(const AtExit&) = delete;
    AtExit& operator=(const AtExit&) = delete;

private:
    Action m_action;
};

} // namespace

frmReports::frmReports(QWidget* parent) : ContentForm(QStringLiteral("frmReports"), parent)
{
    setAutoFillBackground(true);
    buildControls();
}

frmReports::~frmReports() = default;

namespace {

// A control at its natural size at a place given in twips.
void placeAtNaturalSize(QWidget* widget, double left, double top)
{
    widget->adjustSize();
    ui::moveTo(widget, left, top);
}

} // namespace

void frmReports::buildControls()
{
    const auto named = [](auto* widget, const QString& name) {
        widget->setObjectName(name);
        return widget;
    };
    const auto label = [&](QWidget* parent, const char* name, const QString& text) {
        return named(new QLabel(text, parent), QString::fromLatin1(name));
    };

    Label1 = label(this, "Label1", QStringLiteral("Choose a Report:"));
    placeAtNaturalSize(Label1, 360, 360);
    ReportList = named(new QListWidget(this), QStringLiteral("ReportList"));
    ui::place(ReportList, {kMargin, kListTop, 2535, 3900});
    DescPanel = new Panel(QStringLiteral("DescPanel"), this);
    DescPanel->setCaptionAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
    ui::place(DescPanel, {kMargin, 4800, 2550, kDescHeight});
    Label2 = label(this, "Label2", QStringLiteral("Choose Filters & Options:"));
    placeAtNaturalSize(Label2, kFilterPanelLeft, 360);
    FilterPanel = new Panel(QStringLiteral("FilterPanel"), this);
    ui::place(FilterPanel, {kFilterPanelLeft, kListTop, 6615, 5055});

    using namespace filtercolumn;
    for (int i = 0; i < kFilterListCount; ++i) {
        const QString index = QStringLiteral("(%1)").arg(i);
        QComboBox* list =
            named(new QComboBox(FilterPanel), QStringLiteral("Select_Filter") + index);
        ui::place(list, {kLeft, kFirstTop, kListWidth, kListHeight});
        list->hide();
        Select_Filter[static_cast<std::size_t>(i)] = list;
        QLabel* caption = label(FilterPanel, "", QString::fromLatin1(kCaptions[i]));
        caption->setObjectName(QStringLiteral("lblLabels") + index);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ui::place(caption, {0, 0, kCaptionWidth, kCaptionHeight});
        caption->hide();
        lblLabels[static_cast<std::size_t>(i)] = caption;
    }
    Text_Filter[0] = named(new QLineEdit(FilterPanel), QStringLiteral("Text_Filter(0)"));
    ui::place(Text_Filter[0], {kLeft, kFirstTop, kDateWidth, kDateHeight});
    Text_Filter[0]->hide();
    Text_Filter_Label[0] =
        label(FilterPanel, "Text_Filter_Label(0)", QStringLiteral("First Attended:"));
    Text_Filter_Label[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui::place(Text_Filter_Label[0], {0, 0, kCaptionWidth, kCaptionHeight});
    Text_Filter_Label[0]->hide();

    cmdReset = named(new QPushButton(QStringLiteral("Clear Filters"), FilterPanel),
                     QStringLiteral("cmdReset"));
    ui::place(cmdReset, {4680, 240, 1575, 315});

    lblBarcode = label(FilterPanel, "lblBarcode", QStringLiteral("Include Barcodes:"));
    placeAtNaturalSize(lblBarcode, 360, 3360);
    chkBarcode = named(new QCheckBox(FilterPanel), QStringLiteral("chkBarcode"));
    placeAtNaturalSize(chkBarcode, 2220, 3360);
    lblCombine = label(FilterPanel, "lblCombine", QStringLiteral("Combine Matching Addresses:"));
    placeAtNaturalSize(lblCombine, 240, 3600);
    chkCombine = named(new QCheckBox(FilterPanel), QStringLiteral("chkCombine"));
    placeAtNaturalSize(chkCombine, 3300, 3600);
    lblLine1 = label(FilterPanel, "lblLine1", QStringLiteral("Line 1:"));
    placeAtNaturalSize(lblLine1, 120, 3960);
    txtLine1 = named(new QLineEdit(FilterPanel), QStringLiteral("txtLine1"));
    ui::place(txtLine1, {1320, 3900, 2175, kDateHeight});
    lblLine1Example = label(FilterPanel, "lblLine1Example",
                            QStringLiteral("(Optional: \"To the Parents of\", etc.)"));
    placeAtNaturalSize(lblLine1Example, 1200, 4260);
    Select_Sort_Label = label(FilterPanel, "Select_Sort_Label", QStringLiteral("Sort By:"));
    placeAtNaturalSize(Select_Sort_Label, 180, 4620);
    Select_Sort = named(new QComboBox(FilterPanel), QStringLiteral("Select_Sort"));
    ui::place(Select_Sort, {1320, 4560, 1575, kListHeight});

    SignUpPanel = new Panel(QStringLiteral("SignUpPanel"), FilterPanel);
    ui::place(SignUpPanel, {0, 0, 5835, 1755});
    Label4 = label(SignUpPanel, "Label4", QStringLiteral("Specify Event Information"));
    placeAtNaturalSize(Label4, 60, 60);
    Label3 = label(SignUpPanel, "Label3", QStringLiteral("Event Name (Line 1):"));
    placeAtNaturalSize(Label3, 120, 780);
    txtEventName = named(new QLineEdit(SignUpPanel), QStringLiteral("txtEventName"));
    ui::place(txtEventName, {2160, 720, 3495, kDateHeight});
    Label5 = label(SignUpPanel, "Label5", QStringLiteral("Event Details (Line 2):"));
    placeAtNaturalSize(Label5, 120, 1320);
    txtEventDetails = named(new QLineEdit(SignUpPanel), QStringLiteral("txtEventDetails"));
    ui::place(txtEventDetails, {2160, 1260, 3495, kDateHeight});

    cmdPreview =
        named(new QPushButton(QStringLiteral("View Report"), this), QStringLiteral("cmdPreview"));
    ui::place(cmdPreview, {4260, kPreviewTop, kPreviewWidth, 495});

    connect(ReportList, &QListWidget::currentRowChanged, this,
            [this](int row) { ReportList_Click(row); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
}

void frmReports::Form_Load()
{
    // The sign-up panel lies flat over the panel's top left corner while shown.
    ui::moveTo(SignUpPanel, 75, 75);
    SignUpPanel->setFrameShape(QFrame::NoFrame);
    SignUpPanel->setAutoFillBackground(true);
    SignUpPanel->raise();
    SignUpPanel->hide();
    cmdReset->raise(); // stays whole over the sign-up panel's corner

    m_reports = std::make_unique<clsReports>();
    LoadReportCatalogue(*m_reports);
    LoadReportList();

    LoadStatusFilter();
    LoadIncludeFilter();
    LoadYesNoFilters();
    LoadYearFilter();
    LoadTeamFilter();
    LoadSchoolFilter();
    LoadGradeFilter();
    LoadSortList();
    LoadGenderFilter();
    LoadMeetingTypeFilter();

    // A data file that cannot be read is reported once; no report can be run from it.
    if (!m_dataProblem.isEmpty()) {
        ui::critical(m_dataProblem);
        FilterPanel->setEnabled(false);
        cmdPreview->setEnabled(false);
    }
}

void frmReports::LoadReportList()
{
    for (const clsReport& entry : *m_reports)
        ReportList->addItem(entry.Title);
}

void frmReports::resizeEvent(QResizeEvent* event)
{
    ContentForm::resizeEvent(event);
    Form_Resize();
}

void frmReports::Form_Resize()
{
    if (!IsLoaded() || isMinimized())
        return;
    const double width = ui::pixelsToTwips(this->width(), this);
    const double height = ui::pixelsToTwips(this->height(), this);

    const double descTop = height - kDescHeight - 2 * kMargin;
    DescPanel->move(DescPanel->x(), ui::twipsToPixels(descTop, this));
    ReportList->resize(ReportList->width(),
                       std::max(0, ui::twipsToPixels(descTop - kListTop - kMargin, this)));
    const double filterWidth = std::max(0.0, width - kFilterPanelLeft - kMargin);
    FilterPanel->resize(ui::twipsToPixels(filterWidth, this), FilterPanel->height());
    ui::moveTo(cmdPreview, kFilterPanelLeft + (filterWidth - kPreviewWidth) / 2, kPreviewTop);

    const int remembered = settings().ReportListIndex();
    if (ReportList->currentRow() != remembered && remembered >= 0 &&
        remembered < ReportList->count())
        ReportList->setCurrentRow(remembered);
}

QString frmReports::selectedText() const
{
    const QListWidgetItem* item = ReportList->currentItem();
    return item ? item->text() : QString();
}

void frmReports::ReportList_Click(int row)
{
    if (row < 0 || !m_reports)
        return;
    const QString text = ReportList->item(row)->text();
    const clsReport& entry = m_reports->Item(text);
    ClearFilters();
    DescPanel->setCaption(entry.Description);
    m_marked = FiltersOffered(entry);
    settings().setReportListIndex(static_cast<std::int16_t>(row));
    ArrangeFilters();

    SignUpPanel->setHidden(!text.contains(QLatin1String("Sign-Up")));
    const bool labels = text.contains(QLatin1String("Mailing Labels"));
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtLine1, lblLine1, lblLine1Example, lblCombine,
                                         chkCombine, Select_Sort, Select_Sort_Label})
        w->setHidden(!labels);
    const bool barcodes = text.contains(QLatin1String("Roll Sheet")) ||
                          text.contains(QLatin1String("Photo Directory"));
    chkBarcode->setHidden(!barcodes);
    lblBarcode->setHidden(!barcodes);
    cmdPreview->setText(text == kBulkEmail ? QStringLiteral("Send E-mail")
                                           : QStringLiteral("View Report"));
    cmdPreview->setHidden(text.left(3) == QLatin1String("---"));
}

void frmReports::ArrangeFilters()
{
    using namespace filtercolumn;
    const std::array<FilterPlace, kFilterCount> places = ArrangeFilterColumn(m_marked);
    const auto apply = [this](const FilterPlace& p, QWidget* control, QLabel* caption) {
        if (p.shown) {
            ui::moveTo(control, p.left, p.top);
            ui::moveTo(caption, p.captionLeft, p.captionTop);
        }
        control->setHidden(!p.shown);
        caption->setHidden(!p.shown);
    };
    for (int i = 0; i < kFilterListCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        apply(places[k], Select_Filter[k], lblLabels[k]);
    }
    apply(places[fiStartDate], Text_Filter[0], Text_Filter_Label[0]);
    if (places[fiStartDate].shown)
        Text_Filter[0]->setText(data::text::formatShortDate(ui::today()));
    m_marked.fill(false);
}

void frmReports::ClearFilters()
{
    for (QComboBox* list : Select_Filter)
        if (list->count() > 0)
            list->setCurrentIndex(0);
    if (Select_Sort->count() > 0)
        Select_Sort->setCurrentIndex(0);
    Text_Filter[0]->clear();
}

void frmReports::cmdReset_Click()
{
    ClearFilters();
}

QString frmReports::BuildReportFilter() const
{
    FilterChoices choices;
    for (int i = 0; i < kFilterListCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const QComboBox* list = Select_Filter[k];
        FilterListChoice& c = choices.lists[k];
        c.index = list->currentIndex();
        c.itemData = list->currentData().toInt();
        c.text = list->currentText();
        // Shown as the catalogue left it, whether or not the screen itself is on view.
        c.shown = !list->isHidden();
    }
    choices.dateText = Text_Filter[0]->text();
    return BuildReportFilterText(choices);
}

void frmReports::cmdPreview_Click()
{
    program().ReportFilter = BuildReportFilter();
    const QString text = selectedText();
    if (text.isEmpty())
        return;
    if (text == kBulkEmail) {
        SendBulkEmail(window());
        return;
    }
    runReport(text);
}

void frmReports::clearHandOverValues()
{
    program().ReportOption.clear();
    program().ReportFilter.clear();
    program().ReportSort.clear();
    ClearFilters();
}

void frmReports::runReport(const QString& text)
{
    QString title;
    QString failure;
    bool failed = false;
    bool unavailable = false;
    {
        // The one-shot values and the filters are cleared however the run ends, so that
        // nothing of this report reaches the next one.
        AtExit clear([this] { clearHandOverValues(); });
        try {
            ProgramState& p = program();
            if (text.contains(QLatin1String("Mailing Labels"))) {
                p.ReportLine1 = txtLine1->text();
                p.ReportCombineAddresses = chkCombine->checkState() != Qt::Unchecked;
                p.ReportSort = QStringLiteral("Youth_LName, Youth_FName");
                if (Select_Sort->currentIndex() == 1)
                    p.ReportSort = QStringLiteral("Youth_Zip, Youth_LName, Youth_FName");
            }
            if (text.contains(QLatin1String("Roll Sheet")) ||
                text.contains(QLatin1String("Photo Directory")))
                p.ReportOption = chkBarcode->checkState() != Qt::Unchecked
                                     ? QStringLiteral("BARCODE")
                                     : QString();
            if (text.contains(QLatin1String("Sign-Up"))) {
                p.ReportLine1 = txtEventName->text();
                p.ReportLine2 = txtEventDetails->text();
            }
            const clsReport& entry = m_reports->Item(text);
            title = entry.Title;
            if (entry.Title == QLatin1String("Missing in Action List"))
                p.ReportOption = QStringLiteral("MIA");
            else if (entry.Title == QLatin1String("Schools"))
                p.ReportOption = QStringLiteral("SCHOOL");

            // Layouts are found by name: a layout's own registration makes its entry run.
            if (!report::registeredLayouts().contains(entry.ObjectName)) {
                unavailable = true;
            } else {
                std::shared_ptr<report::Report> layout = report::createLayout(entry.ObjectName);
                if (!layout)
                    throw std::runtime_error("The report layout could not be created.");
                ShowReport(std::move(layout), true);
            }
        } catch (const std::exception& e) {
            failed = true;
            failure = QString::fromUtf8(e.what());
        } catch (...) {
            failed = true;
            failure = QStringLiteral("An unexpected error occurred.");
        }
    }
    if (unavailable)
        ui::information(QStringLiteral("The report \"%1\" is not available yet.").arg(title));
    else if (failed)
        ui::critical(QStringLiteral("The report \"%1\" could not be opened.\n\n%2")
                         .arg(title.isEmpty() ? text : title, failure));
}

// The filter lists.

void frmReports::LoadStatusFilter()
{
    QComboBox* list = Select_Filter[fiStatus];
    list->addItem(kAny, 0);
    list->addItem(QStringLiteral("Active"), 1);
    list->addItem(QStringLiteral("Away/Active"), 2);
    list->addItem(QStringLiteral("Inactive"), 3);
}

void frmReports::LoadIncludeFilter()
{
    QComboBox* list = Select_Filter[fiInclude];
    list->addItem(QStringLiteral("Active Only"), 1);
    list->addItem(QStringLiteral("All"), 0);
}

void frmReports::LoadYesNoFilters()
{
    for (const FilterIndex i : {fiLeader, fiVisitor, fiMailList, fiDrama, fiMusic}) {
        QComboBox* list = Select_Filter[i];
        list->addItem(kAny, 0);
        list->addItem(QStringLiteral("Yes"), -1);
        list->addItem(QStringLiteral("No"), 0);
    }
}

void frmReports::LoadYearFilter()
{
    QComboBox* list = Select_Filter[fiYear];
    int k = 0;
    for (int y = ui::today().year(); y >= 1999; --y, ++k)
        list->addItem(QString::number(y), k);
}

void frmReports::LoadGradeFilter()
{
    QComboBox* list = Select_Filter[fiGrade];
    list->addItem(kAny, 0);
    for (int g = 1; g <= 18; ++g)
        list->addItem(QString::number(g), g);
}

void frmReports::LoadSortList()
{
    Select_Sort->addItem(QStringLiteral("Last Name"), 0);
    Select_Sort->addItem(QStringLiteral("Zip Code"), 1);
}

void frmReports::LoadGenderFilter()
{
    QComboBox* list = Select_Filter[fiGender];
    list->addItem(kAny, 0);
    list->addItem(QStringLiteral("Male"), 1);
    list->addItem(QStringLiteral("Female"), 2);
}

void frmReports::fillDistinctList(QComboBox* list, const QString& sql)
{
    list->clear();
    list->addItem(kAny, 0);
    // A list that cannot be read keeps "(ANY)" alone; the first reason is kept to be shown once
    // the screen has loaded, and the file is not tried again.
    if (!m_dataProblem.isEmpty())
        return;
    try {
        for (const QString& value : DistinctEntries(ReadColumnTexts(sql, true)))
            list->addItem(value, 0);
    } catch (const std::exception& e) {
        m_dataProblem = data::describe(e);
    }
}

void frmReports::LoadTeamFilter()
{
    fillDistinctList(Select_Filter[fiTeam],
                     QStringLiteral("SELECT DISTINCT Youth_Team FROM Youth WHERE Youth_Team<>'' "
                                    "AND Youth_Team IS NOT NULL AND Youth_Deleted=False ORDER BY "
                                    "Youth_Team;"));
}

void frmReports::LoadSchoolFilter()
{
    fillDistinctList(Select_Filter[fiSchool],
                     QStringLiteral("SELECT DISTINCT Youth_School FROM Youth WHERE "
                                    "Youth_School<>'' AND Youth_School IS NOT NULL AND "
                                    "Youth_Deleted=False ORDER BY Youth_School;"));
}

void frmReports::LoadMeetingTypeFilter()
{
    fillDistinctList(Select_Filter[fiMtgType],
                     QStringLiteral("SELECT DISTINCT Wk_Mtg_Type From Weeks WHERE "
                                    "Wk_Mtg_Type<>'' AND Wk_Mtg_Type IS NOT NULL ORDER BY "
                                    "Wk_Mtg_Type;"));
}
