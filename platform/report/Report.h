#pragma once

#include "platform/report/Section.h"
#include "platform/report/Units.h"

#include <QMarginsF>
#include <QPageSize>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace report {

class Document;

// The paper a layout prints on. Changes made while the report runs apply from the next page
// that starts; every page keeps the setup it started with.
class PageSetup {
public:
    const QPageSize& PaperSize() const { return m_paper; }
    void setPaperSize(const QPageSize& paper) { m_paper = paper; }
    report::Orientation Orientation() const { return m_orientation; }
    void setOrientation(report::Orientation orientation) { m_orientation = orientation; }
    // Left, top, right and bottom margins in twips.
    const QMarginsF& margins() const { return m_margins; }
    void setMargins(Twips left, Twips top, Twips right, Twips bottom)
    {
        m_margins = QMarginsF(left, top, right, bottom);
    }
    // The paper's size in twips, turned as the orientation says.
    QSizeF paperTwips() const;

private:
    QPageSize m_paper{QPageSize::Letter};
    report::Orientation m_orientation = report::Orientation::Portrait;
    QMarginsF m_margins{720, 792, 720, 792};
};

// How the detail section is driven. RequestDriven: each request at the end of the detail's
// Format handler prints that instance and brings another call; a call without one ends the
// rows. Once: the detail is formatted and printed once, for layouts without rows.
enum class DetailMode { RequestDriven, Once };

// A report layout: the base of every layout class of the program. The constructor builds the
// design (sections and controls) and reads what the layout needs; the destructor releases it.
// The engine runs the layout once (see Engine.h); the handlers below and the sections' own
// Format and AfterPrint handlers are called in this order:
//   ReportStart; for each page PageStart and the page header's Format; the body (group
//   headers, Detail Format and AfterPrint, group footers); the page footer's Format, which
//   closes the page; ReportEnd.
//
// A layout in brief:
//   rptExample::rptExample()
//   {
//       setCaption("Example");
//       PageHeader().setHeight(1020);
//       PageHeader().Controls().add<Label>("lblPage").setBounds(7470, 270, 3240, 270);
//       Detail().setHeight(1905);
//       Detail().setColumnCount(3);
//       Detail().Controls().add<Label>("NameAddress").setBounds(120, 120, 3000, 660);
//       Detail().onFormat([this] { Detail_Format(); }); // ends with Detail().request()
//       PageFooter().onFormat([this] {
//           PageHeader().Controls().Item<Label>("lblPage").setCaption(
//               "Page: " + QString::number(PageNumber()));
//       });
//   }
class Report {
public:
    Report();
    virtual ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // The report's caption, shown in the preview's title.
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }

    Section& PageHeader() { return *m_pageHeader; }
    Section& Detail() { return *m_detail; }
    Section& PageFooter() { return *m_pageFooter; }
    // Adds a group: the first added is the outermost. The header and footer get these names.
    GroupHeader& addGroup(const QString& headerName, const QString& footerName);
    int groupCount() const { return static_cast<int>(m_groups.size()); }
    GroupHeader& group(int level) const { return *m_groups.at(std::size_t(level)); }
    // A section by name, without regard to letter case; nullptr when there is none.
    Section* section(const QString& name) const;
    // Every section in band order: page header, group headers, detail, group footers, page
    // footer.
    std::vector<Section*> sections() const;

    DetailMode detailMode() const { return m_detailMode; }
    void setDetailMode(DetailMode mode) { m_detailMode = mode; }

    PageSetup& Printer() { return m_printer; }
    const PageSetup& Printer() const { return m_printer; }
    // The printable width and height; unless set, what the paper and margins leave.
    Twips PrintWidth() const;
    void setPrintWidth(Twips width) { m_printWidth = width; }
    Twips PrintHeight() const;
    void setPrintHeight(Twips height) { m_printHeight = height; }

    // The number of the page being made (1 for the first); valid in every handler.
    int PageNumber() const { return m_pageNumber; }

    // The pages of the last run, or nullptr before the first.
    std::shared_ptr<const Document> document() const { return m_document; }

protected:
    virtual void ReportStart() {}
    virtual void PageStart() {}
    virtual void ReportEnd() {}

private:
    friend class Runner;

    QString m_caption;
    std::unique_ptr<Section> m_pageHeader;
    std::unique_ptr<Section> m_detail;
    std::unique_ptr<Section> m_pageFooter;
    std::vector<std::unique_ptr<GroupHeader>> m_groups;
    std::vector<std::unique_ptr<Section>> m_groupFooters;
    DetailMode m_detailMode = DetailMode::RequestDriven;
    PageSetup m_printer;
    std::optional<Twips> m_printWidth;
    std::optional<Twips> m_printHeight;
    int m_pageNumber = 0;
    bool m_running = false;
    std::shared_ptr<const Document> m_document;
};

} // namespace report
