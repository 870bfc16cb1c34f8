#include "platform/report/ReportViewer.h"

#include "platform/report/Engine.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Services.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace report {

namespace {

constexpr int kZoomSteps[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};
constexpr int kPageMargin = 12; // pixels of grey around the page

} // namespace

// The page on screen: a picture of the current page at the present zoom, made once per page
// and zoom.
class PageView final : public QWidget {
public:
    explicit PageView(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("pageView"));
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, QColor(128, 128, 128));
        setPalette(pal);
    }

    void showPage(const Document* document, int pageIndex, int zoom)
    {
        if (!document || pageIndex < 0 || pageIndex >= document->pageCount()) {
            m_image = QImage();
        } else {
            const double ratio = devicePixelRatioF();
            const double dpi = logicalDpiX() * zoom / 100.0 * ratio;
            m_image = document->renderPage(pageIndex, dpi);
            m_image.setDevicePixelRatio(ratio);
        }
        const QSize size = m_image.isNull()
                               ? QSize(0, 0)
                               : (QSizeF(m_image.size()) / m_image.devicePixelRatio()).toSize();
        setFixedSize(size + QSize(2 * kPageMargin, 2 * kPageMargin));
        update();
    }

    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_image.isNull())
            return;
        QPainter painter(this);
        painter.drawImage(QPoint(kPageMargin, kPageMargin), m_image);
    }

private:
    QImage m_image;
};

QString Tool::Caption() const
{
    return m_action->text();
}

Tool& ToolCollection::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw ReportError(QStringLiteral("No tool at position %1").arg(index));
    return *m_tools[std::size_t(index)];
}

Tool* ToolCollection::find(const QString& caption) const
{
    for (const auto& tool : m_tools) {
        if (tool->Caption() == caption)
            return tool.get();
    }
    return nullptr;
}

Tool& ToolCollection::Add(const QString& caption)
{
    auto* action = new QAction(caption, &m_viewer);
    action->setObjectName(QStringLiteral("tool") + QString::number(Count()));
    m_viewer.m_toolBar->addAction(action);
    return addAction(action);
}

Tool& ToolCollection::addAction(QAction* action)
{
    m_tools.push_back(std::unique_ptr<Tool>(new Tool(action)));
    Tool& tool = *m_tools.back();
    QObject::connect(action, &QAction::triggered, &m_viewer,
                     [this, &tool] { m_viewer.onToolTriggered(tool); });
    return tool;
}

ReportViewer::ReportViewer(QWidget* parent) : QWidget(parent), m_tools(*this)
{
    setObjectName(QStringLiteral("reportViewer"));
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);

    auto own = [this](const QString& objectName, const QString& caption) {
        auto* action = new QAction(caption, this);
        action->setObjectName(objectName);
        m_toolBar->addAction(action);
        m_tools.addAction(action);
        return action;
    };
    m_print = own(QStringLiteral("printTool"), tr("Print..."));
    m_export = own(QStringLiteral("exportPdfTool"), tr("Export PDF..."));
    m_toolBar->addSeparator();
    m_first = own(QStringLiteral("firstPageTool"), tr("First Page"));
    m_previous = own(QStringLiteral("previousPageTool"), tr("Previous Page"));
    m_pageBox = new QSpinBox(this);
    m_pageBox->setObjectName(QStringLiteral("pageNumber"));
    m_pageBox->setRange(0, 0);
    m_pageBox->setKeyboardTracking(false);
    m_toolBar->addWidget(m_pageBox);
    m_pageCountLabel = new QLabel(this);
    m_pageCountLabel->setObjectName(QStringLiteral("pageCount"));
    m_toolBar->addWidget(m_pageCountLabel);
    m_next = own(QStringLiteral("nextPageTool"), tr("Next Page"));
    m_last = own(QStringLiteral("lastPageTool"), tr("Last Page"));
    m_toolBar->addSeparator();
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("zoom"));
    for (int step : kZoomSteps)
        m_zoomBox->addItem(QStringLiteral("%1%").arg(step), step);
    m_zoomBox->setCurrentIndex(m_zoomBox->findData(m_zoom));
    m_toolBar->addWidget(m_zoomBox);
    m_toolBar->addSeparator();

    m_previous->setShortcut(QKeySequence::MoveToPreviousPage);
    m_next->setShortcut(QKeySequence::MoveToNextPage);

    m_area = new QScrollArea(this);
    m_area->setObjectName(QStringLiteral("pageArea"));
    m_area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_area->setBackgroundRole(QPalette::Dark);
    m_view = new PageView(m_area);
    m_area->setWidget(m_view);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_area, 1);

    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int page) {
        if (page >= 1)
            setCurrentPage(page);
    });
    connect(m_zoomBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            setZoom(m_zoomBox->itemData(index).toInt());
    });
    refresh();
}

ReportViewer::~ReportViewer() = default;

void ReportViewer::setReport(std::shared_ptr<Report> report)
{
    std::shared_ptr<const Document> document;
    if (report) {
        ui::Hourglass wait;
        document = run(*report);
    }
    m_report = std::move(report);
    m_document = std::move(document);
    m_page = pageCount() > 0 ? 1 : 0;
    refresh();
    emit pageChanged(m_page);
}

int ReportViewer::pageCount() const
{
    return m_document ? m_document->pageCount() : 0;
}

void ReportViewer::setCurrentPage(int page)
{
    if (pageCount() == 0)
        return;
    page = std::clamp(page, 1, pageCount());
    if (page == m_page)
        return;
    m_page = page;
    refresh();
    emit pageChanged(m_page);
}

void ReportViewer::setZoom(int percent)
{
    percent = std::clamp(percent, kZoomSteps[0], kZoomSteps[std::size(kZoomSteps) - 1]);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    refresh();
}

void ReportViewer::firstPage()
{
    setCurrentPage(1);
}
void ReportViewer::previousPage()
{
    setCurrentPage(m_page - 1);
}
void ReportViewer::nextPage()
{
    setCurrentPage(m_page + 1);
}
void ReportViewer::lastPage()
{
    setCurrentPage(pageCount());
}

bool ReportViewer::printReport()
{
    if (pageCount() == 0)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_document->caption());
    printer.setFullPage(true);
    const Page& first = m_document->pages().front();
    printer.setPageSize(first.paperSize);
    printer.setPageOrientation(first.orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
    if (!ui::printDialogs().choosePrinter(printer, this))
        return false;
    QString error;
    bool ok = false;
    {
        ui::Hourglass wait;
        ok = m_document->print(printer, &error);
    }
    if (!ok)
        ui::critical(tr("The report could not be printed.") + QStringLiteral("\n") + error);
    return ok;
}

bool ReportViewer::exportPdf()
{
    if (pageCount() == 0)
        return false;
    // The report's caption as the file, in the user's documents folder (or home folder).
    const QString suggested =
        QDir(ui::documentsFolder())
            .filePath(
                ui::fileNameFor(m_report ? m_report->Caption() : QString(), QStringLiteral("pdf")));
    const QString fileName = ui::fileDialogs().saveFileName(
        tr("Export to PDF"), suggested, tr("PDF Files (*.pdf)|*.pdf"), QStringLiteral("pdf"));
    if (fileName.isEmpty())
        return false;
    QString error;
    bool ok = false;
    {
        ui::Hourglass wait;
        ok = m_document->exportPdf(fileName, &error);
    }
    if (!ok)
        ui::critical(tr("The report could not be saved as %1.").arg(fileName) +
                     QStringLiteral("\n") + error);
    return ok;
}

QImage ReportViewer::pageImage() const
{
    return m_view->image();
}

void ReportViewer::onToolTriggered(Tool& tool)
{
    QAction* action = tool.action();
    if (action == m_print)
        printReport();
    else if (action == m_export)
        exportPdf();
    else if (action == m_first)
        firstPage();
    else if (action == m_previous)
        previousPage();
    else if (action == m_next)
        nextPage();
    else if (action == m_last)
        lastPage();
    emit toolClick(tool);
}

void ReportViewer::refresh()
{
    const int count = pageCount();
    const bool any = count > 0;
    m_print->setEnabled(any);
    m_export->setEnabled(any);
    m_first->setEnabled(any && m_page > 1);
    m_previous->setEnabled(any && m_page > 1);
    m_next->setEnabled(any && m_page < count);
    m_last->setEnabled(any && m_page < count);
    {
        const QSignalBlocker block(m_pageBox);
        m_pageBox->setRange(any ? 1 : 0, count);
        m_pageBox->setValue(m_page);
        m_pageBox->setEnabled(any);
    }
    m_pageCountLabel->setText(tr(" of %1 ").arg(count));
    {
        const QSignalBlocker block(m_zoomBox);
        m_zoomBox->setCurrentIndex(m_zoomBox->findData(m_zoom));
    }
    m_view->showPage(m_document.get(), m_page - 1, m_zoom);
}

} // namespace report
