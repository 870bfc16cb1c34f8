#pragma once

#include "platform/report/PageItems.h"
#include "platform/report/Section.h"
#include "platform/report/Units.h"

#include <QImage>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;
class QPrinter;

namespace report {

// One section instance on a page: where it went and what it showed.
struct PlacedSection {
    QString name;
    SectionKind kind = SectionKind::Detail;
    int instance = 0;     // 1 for the first instance of this section in the report
    int column = 0;       // 0 for the first column and for full-width sections
    QRectF rect;          // twips from the paper's top left corner
    QColor backColor;     // invalid: no fill
    bool clipped = false; // taller than the room left; drawn up to clipBottom only
    Twips clipBottom = 0;
    std::vector<PageItem> items;
};

struct Page {
    Page() = default;
    Page(const Page&) = default;
    Page& operator=(const Page&) = default;
    // QPageSize does not promise a move that cannot throw; without these a growing list of
    // pages would copy every page it holds instead of moving it.
    Page(Page&&) noexcept = default;
    Page& operator=(Page&&) noexcept = default;

    int number = 0;
    QPageSize paperSize{QPageSize::Letter};
    Orientation orientation = Orientation::Portrait;
    QSizeF paper;     // twips, as turned
    QRectF printable; // twips
    std::vector<PlacedSection> sections;
};

// A handler that failed during the run; the run went on after it.
struct RunError {
    QString handler; // e.g. "Detail_Format", "ReportStart"
    int page = 0;
    QString message;
};

// A placed item found by a query, with the page it is on (0-based).
struct FoundItem {
    int page = 0;
    const PlacedSection* section = nullptr;
    const PageItem* item = nullptr;
};

// The pages of one run of a layout: fixed once made. Viewing, printing and export draw them;
// nothing here calls back into the layout.
class Document {
public:
    Document() = default;

    const QString& caption() const { return m_caption; }
    const std::vector<Page>& pages() const { return m_pages; }
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    const std::vector<RunError>& errors() const { return m_errors; }

    // The items of a control (name without regard to case), in page order; page -1 for all.
    std::vector<FoundItem> items(const QString& control, int page = -1) const;
    // The texts of those items.
    QStringList texts(const QString& control, int page = -1) const;
    // The placed instances of a section, in page order.
    std::vector<std::pair<int, const PlacedSection*>> sections(const QString& name) const;
    int count(const QString& section) const;

    // The pages as text, for comparing a run with a reviewed one: page by page, each placed
    // section with its items (kind, control name, rectangle in twips, font, text, picture,
    // chart data), then the run's errors. Picture files inside the program folder are named
    // by their path relative to it; only what the model holds is written, nothing that
    // depends on the fonts installed.
    QString dump() const;

    // Draws a page. The painter's units must be twips, with the paper's corner at 0, 0.
    void paint(QPainter& painter, int pageIndex) const;
    // A page as a picture at the given resolution, on white.
    QImage renderPage(int pageIndex, double dotsPerInch) const;
    // Writes every page to a PDF file, each with its own paper and orientation.
    bool exportPdf(const QString& fileName, QString* error = nullptr) const;
    // Prints the pages in the printer's page range (all when none is set).
    bool print(QPrinter& printer, QString* error = nullptr) const;

private:
    friend class Runner;

    QString m_caption;
    std::vector<Page> m_pages;
    std::vector<RunError> m_errors;
};

} // namespace report
