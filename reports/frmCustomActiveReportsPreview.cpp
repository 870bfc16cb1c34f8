#include "reports/frmCustomActiveReportsPreview.h"

#include "shell/ShowReport.h"
#include "shell/WindowHelpers.h"
#include "platform/report/ReportViewer.h"

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

void frmCustomActiveReportsPreview::SetReport(std::shared_ptr<report::Report> report)
{
    arvPreview->setReport(std::move(report));
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
