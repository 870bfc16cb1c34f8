#include "platform/report/Engine.h"

#include <algorithm>
#include <map>
#include <utility>

namespace report {

// One run of one layout. Each section instance is formatted exactly once; what it showed is
// taken right after its Format handler and placed as it is, also when a page break comes in
// between. Page headers are taken when their page closes, after the page footer's Format, so
// that values the footer's handler sets (the page number) show on their own page.
class Runner {
public:
    explicit Runner(Report& layout) : m_layout(layout), m_doc(std::make_shared<Document>()) {}

    std::shared_ptr<const Document> run();

private:
    struct Snapshot {
        const Section* section = nullptr;
        Twips height = 0;
        QColor backColor;
        std::vector<PageItem> items; // relative to the section's top left corner
    };
    struct CellPosition {
        int column = 0;
        Twips top = 0;
    };

    void call(const QString& handler, const std::function<void()>& f);
    void format(Section& section);
    bool formatForRequest(Section& section);
    Snapshot snapshot(const Section& section);

    void openPage();
    void closePage();
    void newPage();

    void runRows();
    void closeGroup(int level);
    bool inColumns(const Snapshot& s) const;
    Twips columnsBottom() const;
    Twips pitch(const Section& section) const;
    std::optional<CellPosition> cellPosition(const Section& section, Twips height) const;
    void placeUnit(std::vector<Snapshot> unit);
    void placeFullWidth(Snapshot& s);
    void placeCell(Snapshot& s, CellPosition pos);
    void put(Snapshot& s, QRectF rect, int column);

    Report& m_layout;
    std::shared_ptr<Document> m_doc;
    Page m_page;
    bool m_pageOpen = false;
    bool m_headerVisible = false;
    Twips m_headerHeight = 0;
    Twips m_footerReserve = 0;
    Twips m_bodyBottom = 0;
    bool m_pageHasBody = false;

    // Where the next section goes: full-width sections at m_y; detail cells in rows
    // (across, then down) or in column sets (down, then across).
    Twips m_y = 0;
    bool m_inColumns = false;
    int m_column = 0;
    Twips m_rowTop = 0;
    Twips m_rowHeight = 0;
    Twips m_setTop = 0;
    Twips m_columnY = 0;
    Twips m_setBottom = 0;

    SnapshotContext m_context;
    std::map<const Section*, int> m_instances;
    std::vector<bool> m_groupOpen;
    std::vector<data::Variant> m_groupValue;
};

namespace {

void translate(PageItem& item, QPointF offset)
{
    itemBase(item).rect.translate(offset);
    if (auto* line = std::get_if<LineItem>(&item))
        line->line.translate(offset);
}

} // namespace

void Runner::call(const QString& handler, const std::function<void()>& f)
{
    if (!f)
        return;
    try {
        f();
    } catch (const std::exception& e) {
        m_doc->m_errors.push_back({handler, m_layout.m_pageNumber, QString::fromUtf8(e.what())});
    } catch (...) {
        m_doc->m_errors.push_back(
            {handler, m_layout.m_pageNumber, QStringLiteral("unknown error")});
    }
}

void Runner::format(Section& section)
{
    formatForRequest(section);
}

bool Runner::formatForRequest(Section& section)
{
    section.m_requested = false;
    call(section.Name() + QStringLiteral("_Format"), section.m_onFormat);
    return std::exchange(section.m_requested, false);
}

Runner::Snapshot Runner::snapshot(const Section& section)
{
    Snapshot s;
    s.section = &section;
    s.height = section.placedHeight();
    if (section.BackStyle() == BackStyle::Opaque)
        s.backColor = section.BackColor();
    s.items.reserve(std::size_t(section.Controls().Count()));
    m_context.requester = {section.Name() + QStringLiteral("_Format"), m_layout.m_pageNumber};
    for (const auto& control : section.Controls()) {
        // A picture file that could not be found leaves its control empty; the run goes on.
        if (auto* image = dynamic_cast<Image*>(control.get())) {
            if (QString error = image->takeLoadError(); !error.isEmpty())
                m_doc->m_errors.push_back(
                    {m_context.requester.handler, m_context.requester.page, error});
        }
        if (control->Visible())
            s.items.push_back(control->snapshot(QPointF(0, 0), m_context));
    }
    return s;
}

void Runner::openPage()
{
    ++m_layout.m_pageNumber;
    call(QStringLiteral("PageStart"), [this] { m_layout.PageStart(); });

    const PageSetup& setup = m_layout.Printer();
    m_page = Page();
    m_page.number = m_layout.m_pageNumber;
    m_page.paperSize = setup.PaperSize();
    m_page.orientation = setup.Orientation();
    m_page.paper = setup.paperTwips();
    m_page.printable = QRectF(setup.margins().left(), setup.margins().top(), m_layout.PrintWidth(),
                              m_layout.PrintHeight());
    m_pageOpen = true;

    Section& header = m_layout.PageHeader();
    format(header);
    m_headerVisible = header.Visible();
    m_headerHeight = m_headerVisible ? header.placedHeight() : 0;
    const Section& footer = m_layout.PageFooter();
    m_footerReserve = footer.Visible() ? footer.placedHeight() : 0;

    m_y = m_page.printable.top() + m_headerHeight;
    m_bodyBottom = m_page.printable.bottom() - m_footerReserve;
    m_inColumns = false;
    m_pageHasBody = false;
}

void Runner::closePage()
{
    Section& footer = m_layout.PageFooter();
    format(footer);

    Section& header = m_layout.PageHeader();
    if (m_headerVisible) {
        Snapshot s = snapshot(header);
        s.height = m_headerHeight;
        put(s,
            QRectF(m_page.printable.left(), m_page.printable.top(), m_page.printable.width(),
                   m_headerHeight),
            0);
        // put() appended it; headers come first on the page.
        std::rotate(m_page.sections.rbegin(), m_page.sections.rbegin() + 1, m_page.sections.rend());
    }
    if (footer.Visible()) {
        Snapshot s = snapshot(footer);
        const Twips height = m_footerReserve > 0 ? m_footerReserve : s.height;
        put(s,
            QRectF(m_page.printable.left(), m_page.printable.bottom() - height,
                   m_page.printable.width(), s.height),
            0);
    }
    m_doc->m_pages.push_back(std::move(m_page));
    m_page = Page();
    m_pageOpen = false;
}

void Runner::newPage()
{
    closePage();
    openPage();
}

Twips Runner::columnsBottom() const
{
    if (!m_inColumns)
        return m_y;
    const Section& detail = m_layout.Detail();
    return detail.columnDirection() == ColumnDirection::AcrossThenDown ? m_rowTop + m_rowHeight
                                                                       : m_setBottom;
}

Twips Runner::pitch(const Section& section) const
{
    if (section.columnPitch() > 0)
        return section.columnPitch();
    return m_page.printable.width() / section.ColumnCount();
}

bool Runner::inColumns(const Snapshot& s) const
{
    return s.section->kind() == SectionKind::Detail && s.section->ColumnCount() > 1;
}

std::optional<Runner::CellPosition> Runner::cellPosition(const Section& section, Twips height) const
{
    const int count = section.ColumnCount();
    if (section.columnDirection() == ColumnDirection::AcrossThenDown) {
        if (m_inColumns && m_column + 1 < count && m_rowTop + height <= m_bodyBottom)
            return CellPosition{m_column + 1, m_rowTop};
        const Twips top = m_inColumns ? m_rowTop + m_rowHeight : m_y;
        if (top + height <= m_bodyBottom)
            return CellPosition{0, top};
        return std::nullopt;
    }
    if (!m_inColumns) {
        if (m_y + height <= m_bodyBottom)
            return CellPosition{0, m_y};
        return std::nullopt;
    }
    if (m_columnY + height <= m_bodyBottom)
        return CellPosition{m_column, m_columnY};
    if (m_column + 1 < count && m_setTop + height <= m_bodyBottom)
        return CellPosition{m_column + 1, m_setTop};
    return std::nullopt;
}

void Runner::put(Snapshot& s, QRectF rect, int column)
{
    PlacedSection placed;
    placed.name = s.section->Name();
    placed.kind = s.section->kind();
    placed.instance = ++m_instances[s.section];
    placed.column = column;
    placed.rect = rect;
    placed.backColor = s.backColor;
    if (s.section->kind() != SectionKind::PageHeader &&
        s.section->kind() != SectionKind::PageFooter && rect.bottom() > m_bodyBottom) {
        placed.clipped = true;
        placed.clipBottom = std::max(m_bodyBottom, rect.top());
    }
    placed.items = std::move(s.items);
    for (PageItem& item : placed.items)
        translate(item, rect.topLeft());
    m_page.sections.push_back(std::move(placed));
}

void Runner::placeFullWidth(Snapshot& s)
{
    if (m_inColumns) {
        m_y = columnsBottom();
        m_inColumns = false;
    }
    put(s, QRectF(m_page.printable.left(), m_y, m_page.printable.width(), s.height), 0);
    m_y += s.height;
    m_pageHasBody = true;
}

void Runner::placeCell(Snapshot& s, CellPosition pos)
{
    const Section& section = *s.section;
    const Twips step = pitch(section);
    put(s, QRectF(m_page.printable.left() + pos.column * step, pos.top, step, s.height),
        pos.column);
    if (section.columnDirection() == ColumnDirection::AcrossThenDown) {
        if (!m_inColumns || pos.column == 0) {
            m_rowTop = pos.top;
            m_rowHeight = s.height;
        } else {
            m_rowHeight = std::max(m_rowHeight, s.height);
        }
    } else {
        if (!m_inColumns) {
            m_setTop = pos.top;
            m_setBottom = pos.top;
        }
        m_columnY = pos.top + s.height;
        m_setBottom = std::max(m_setBottom, m_columnY);
    }
    m_column = pos.column;
    m_inColumns = true;
    m_pageHasBody = true;
}

// Places sections that must stay together on one page: group headers with the first detail
// of their group, or a single section. A unit that does not fit goes whole to a new page; on
// a page without body sections it is placed anyway and cut off at the footer.
void Runner::placeUnit(std::vector<Snapshot> unit)
{
    if (unit.empty())
        return;
    const bool loneCell = unit.size() == 1 && inColumns(unit.front());
    if (loneCell) {
        Snapshot& cell = unit.front();
        auto pos = cellPosition(*cell.section, cell.height);
        if (!pos && m_pageHasBody) {
            newPage();
            pos = cellPosition(*cell.section, cell.height);
        }
        placeCell(cell, pos.value_or(CellPosition{0, columnsBottom()}));
        return;
    }
    Twips needed = 0;
    for (const Snapshot& s : unit)
        needed += s.height;
    if (columnsBottom() + needed > m_bodyBottom && m_pageHasBody)
        newPage();
    for (Snapshot& s : unit) {
        if (inColumns(s))
            placeCell(
                s, cellPosition(*s.section, s.height).value_or(CellPosition{0, columnsBottom()}));
        else
            placeFullWidth(s);
    }
}

void Runner::closeGroup(int level)
{
    m_groupOpen[std::size_t(level)] = false;
    Section& footer = m_layout.group(level).footer();
    format(footer);
    if (footer.Visible())
        placeUnit({snapshot(footer)});
}

void Runner::runRows()
{
    const int levels = m_layout.groupCount();
    m_groupOpen.assign(std::size_t(levels), false);
    m_groupValue.assign(std::size_t(levels), data::Variant());
    Section& detail = m_layout.Detail();
    int details = 0;

    for (;;) {
        // The outermost group whose value changed starts a new group there and inside it.
        int changed = -1;
        for (int level = 0; level < levels; ++level) {
            const auto value = m_layout.group(level).currentGroupValue();
            if (!value)
                break;
            if (!m_groupOpen[std::size_t(level)] ||
                !GroupHeader::sameGroup(*value, m_groupValue[std::size_t(level)])) {
                changed = level;
                break;
            }
        }
        std::vector<Snapshot> unit;
        if (changed >= 0) {
            for (int level = levels - 1; level >= changed; --level) {
                if (m_groupOpen[std::size_t(level)])
                    closeGroup(level);
            }
            // The headers are formatted before the detail, while the layout is still on the
            // group's first row, and printed only when that detail is.
            for (int level = changed; level < levels; ++level) {
                GroupHeader& header = m_layout.group(level);
                m_groupValue[std::size_t(level)] =
                    header.currentGroupValue().value_or(data::Variant());
                m_groupOpen[std::size_t(level)] = true;
                format(header);
                if (header.Visible())
                    unit.push_back(snapshot(header));
            }
        }

        if (!formatForRequest(detail)) {
            if (changed >= 0) {
                for (int level = changed; level < levels; ++level)
                    m_groupOpen[std::size_t(level)] = false;
            }
            break;
        }
        if (detail.Visible())
            unit.push_back(snapshot(detail));
        placeUnit(std::move(unit));
        call(detail.Name() + QStringLiteral("_AfterPrint"), detail.m_onAfterPrint);

        if (++details >= kMaxDetailInstances) {
            m_doc->m_errors.push_back(
                {detail.Name() + QStringLiteral("_Format"), m_layout.m_pageNumber,
                 QStringLiteral("The report was stopped after %1 rows.").arg(details)});
            break;
        }
    }
    for (int level = levels - 1; level >= 0; --level) {
        if (m_groupOpen[std::size_t(level)])
            closeGroup(level);
    }
}

std::shared_ptr<const Document> Runner::run()
{
    if (m_layout.m_running)
        throw ReportError(QStringLiteral("The report is already running."));
    struct Running {
        Report& layout;
        explicit Running(Report& r) : layout(r) { layout.m_running = true; }
        ~Running() { layout.m_running = false; }
    } running(m_layout);
    // Picture files are looked at once a run, however often the layout loads them.
    const PictureCache::RunScope pictures(m_context.pictures);

    m_doc->m_caption = m_layout.Caption();
    m_layout.m_pageNumber = 0;
    call(QStringLiteral("ReportStart"), [this] { m_layout.ReportStart(); });
    openPage();
    if (m_layout.detailMode() == DetailMode::Once) {
        Section& detail = m_layout.Detail();
        format(detail);
        if (detail.Visible())
            placeUnit({snapshot(detail)});
        call(detail.Name() + QStringLiteral("_AfterPrint"), detail.m_onAfterPrint);
    } else {
        runRows();
    }
    closePage();
    // The picture files of every page, read at once: the pictures the pages hold are filled.
    for (PictureFailure& failure : m_context.pictures.decodeFiles())
        m_doc->m_errors.push_back(
            {failure.requester.handler, failure.requester.page, std::move(failure.message)});
    call(QStringLiteral("ReportEnd"), [this] { m_layout.ReportEnd(); });

    std::shared_ptr<const Document> doc = m_doc;
    m_layout.m_document = doc;
    return doc;
}

std::shared_ptr<const Document> run(Report& layout)
{
    return Runner(layout).run();
}

} // namespace report
