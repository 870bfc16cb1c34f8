#pragma once

#include "platform/report/Document.h"
#include "platform/report/Report.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolBar;

namespace report {

class PageView;
class ReportViewer;

// One button of the viewer's tool bar.
class Tool {
public:
    QString Caption() const;
    QAction* action() const { return m_action; }

private:
    friend class ToolCollection;
    explicit Tool(QAction* action) : m_action(action) {}
    QAction* m_action;
};

// The tool bar's tools: first the viewer's own, then those a caller adds.
class ToolCollection {
public:
    explicit ToolCollection(ReportViewer& viewer) : m_viewer(viewer) {}
    ToolCollection(const ToolCollection&) = delete;
    ToolCollection& operator=(const ToolCollection&) = delete;

    int Count() const { return static_cast<int>(m_tools.size()); }
    // Zero-based; throws ReportError when out of range.
    Tool& Item(int index) const;
    // The first tool with this caption, or nullptr.
    Tool* find(const QString& caption) const;
    // Appends a tool with this caption after the others.
    Tool& Add(const QString& caption);

private:
    friend class ReportViewer;
    Tool& addAction(QAction* action);

    ReportViewer& m_viewer;
    std::vector<std::unique_ptr<Tool>> m_tools;
};

// Shows the pages of one report: paging, page indicator, zoom, printing and export to PDF.
// The report is run once, when it is handed over; everything after that draws the pages made
// then.
class ReportViewer : public QWidget {
    Q_OBJECT

public:
    explicit ReportViewer(QWidget* parent = nullptr);
    ~ReportViewer() override;

    // Takes the layout, runs it and shows page 1. The viewer keeps the layout (and so its
    // data) until another is set or the viewer ends.
    void setReport(std::shared_ptr<Report> report);
    const std::shared_ptr<Report>& report() const { return m_report; }
    const std::shared_ptr<const Document>& document() const { return m_document; }

    int pageCount() const;
    // 1-based; 0 while there is no page.
    int currentPage() const { return m_page; }
    void setCurrentPage(int page);
    // In percent of the printed size.
    int zoom() const { return m_zoom; }
    void setZoom(int percent);

    ToolCollection& tools() { return m_tools; }

    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    // Asks for a printer and prints; false when cancelled or failed.
    bool printReport();
    // Asks for a file name and writes the PDF; false when cancelled or failed.
    bool exportPdf();

    // The current page as shown at the present zoom.
    QImage pageImage() const;

signals:
    // Every tool, the viewer's own included, after the viewer has done its part.
    void toolClick(report::Tool& tool);
    void pageChanged(int page);

private:
    friend class ToolCollection;
    void onToolTriggered(Tool& tool);
    void refresh();

    std::shared_ptr<Report> m_report;
    std::shared_ptr<const Document> m_document;
    int m_page = 0;
    int m_zoom = 100;
    ToolCollection m_tools;

    QToolBar* m_toolBar = nullptr;
    QAction* m_print = nullptr;
    QAction* m_export = nullptr;
    QAction* m_first = nullptr;
    QAction* m_previous = nullptr;
    QAction* m_next = nullptr;
    QAction* m_last = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageCountLabel = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QScrollArea* m_area = nullptr;
    PageView* m_view = nullptr;
};

} // namespace report
