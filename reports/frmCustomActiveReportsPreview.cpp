#include "reports/frmCustomActiveReportsPreview.h"

#include "shell/ShowReport.h"
#include "shell/WindowHelpers.h"
#include "platform/report/ReportViewer.h"
#include "platform/ui/Services.h"

#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>

frmCustomActiveReportsPreview::frmCustomActiveReportsPreview(QWidget* parent)
    : PreviewForm(QStringLiteral("frmCustomActiveReportsPreview"), parent)
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    mnuFile = menuBar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    miFClose = mnuFile->addAction(QStringLiteral("&Close"));
    miFClose->setObjectName(QStringLiteral("miFClose"));
    connect(miFClose, &QAction::triggered, this, [this] { miFClose_Click(); });

    arvPreview = new report::ReportViewer(this);
    arvPreview->setObjectName(QStringLiteral("arvPreview"));
    connect(arvPreview, &report::ReportViewer::toolClick, this,
            [this](report::Tool& tool) { arvPreview_ToolClick(tool); });
}

frmCustomActiveReportsPreview::~frmCustomActiveReportsPreview() = default;

namespace {

// Says that a report could not be built whole: which one, and its first error.
QString runErrorText(const QString& caption, const std::vector<report::RunError>& errors)
{
    const report::RunError& first = errors.front();
    QString text = QStringLiteral("The report \"%1\" could not be built completely; the preview "
                                  "shows what was built.\n\n%2 (page %3): %4")
                       .arg(caption, first.handler, QString::number(first.page), first.message);
    const auto more = errors.size() - 1;
    if (more == 1)
        text += QStringLiteral("\n\nOne more error occurred.");
    else if (more > 1)
        text += QStringLiteral("\n\n%1 more errors occurred.").arg(more);
    return text;
}

} // namespace

void frmCustomActiveReportsPreview::SetReport(std::shared_ptr<report::Report> report)
{
    arvPreview->setReport(std::move(report));
    // A layout that failed part of the way opens with what it built, and the user is told.
    const auto& document = arvPreview->document();
    if (document && !document->errors().empty())
        ui::critical(runErrorText(document->caption(), document->errors()));
}

void frmCustomActiveReportsPreview::Form_Load()
{
    arvPreview->tools().Add(QStringLiteral("Close"));
    Form_Resize();
}

void frmCustomActiveReportsPreview::resizeEvent(QResizeEvent* event)
{
    PreviewForm::resizeEvent(event);
    Form_Resize();
}

void frmCustomActiveReportsPreview::Form_Resize()
{
    if (isMinimized())
        return;
    const int top = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, width(), top);
    arvPreview->setGeometry(0, top, width(), std::max(0, height() - top));
}

void frmCustomActiveReportsPreview::arvPreview_ToolClick(report::Tool& tool)
{
    if (tool.Caption() == QLatin1String("Close"))
        closeByUser();
}

void frmCustomActiveReportsPreview::miFClose_Click()
{
    closeByUser();
}

void frmCustomActiveReportsPreview::closeByUser()
{
    m_closingByUser = true;
    Unload();
}

void frmCustomActiveReportsPreview::Form_Unload()
{
    hide();
    SetWindowParent(this, OriginalParent());
    // Only a preview the user closed goes back to the screen it was opened from; one the shell
    // unloads (another node chosen, the program ending) leaves the navigation to the shell.
    if (m_closingByUser)
        ShowReport(nullptr, false);
}
