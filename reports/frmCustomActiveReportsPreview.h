#pragma once

#include "shell/ContentForm.h"

class QMenu;
class QMenuBar;
class QAction;

namespace report {
class ReportViewer;
class Tool;
} // namespace report

// The screen that shows one report in the viewer, hosted like every screen. Its "Close" tool
// and its "&Close" menu item return to the screen the report was opened from.
class frmCustomActiveReportsPreview : public PreviewForm {
    Q_OBJECT
public:
    explicit frmCustomActiveReportsPreview(QWidget* parent = nullptr);
    ~frmCustomActiveReportsPreview() override;

    void SetReport(std::shared_ptr<report::Report> report) override;

    report::ReportViewer* arvPreview = nullptr;
    QMenuBar* menuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* miFClose = nullptr;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Resize();
    void arvPreview_ToolClick(report::Tool& tool);
    void miFClose_Click();
    void closeByUser();

    bool m_closingByUser = false;
};
