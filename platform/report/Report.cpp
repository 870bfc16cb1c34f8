#include "platform/report/Report.h"

namespace report {

QSizeF PageSetup::paperTwips() const
{
    const QSizeF points = m_paper.size(QPageSize::Point);
    const QSizeF twips = points * kTwipsPerPoint;
    return m_orientation == report::Orientation::Landscape ? twips.transposed() : twips;
}

Report::Report()
    : m_pageHeader(
          std::make_unique<Section>(SectionKind::PageHeader, QStringLiteral("PageHeader"))),
      m_detail(std::make_unique<Section>(SectionKind::Detail, QStringLiteral("Detail"))),
      m_pageFooter(std::make_unique<Section>(SectionKind::PageFooter, QStringLiteral("PageFooter")))
{}

Report::~Report() = default;

GroupHeader& Report::addGroup(const QString& headerName, const QString& footerName)
{
    auto footer = std::make_unique<Section>(SectionKind::GroupFooter, footerName);
    auto header = std::make_unique<GroupHeader>(headerName, *footer);
    GroupHeader& ref = *header;
    m_groups.push_back(std::move(header));
    // Footers close from the innermost group out, so the newest footer comes first.
    m_groupFooters.insert(m_groupFooters.begin(), std::move(footer));
    return ref;
}

std::vector<Section*> Report::sections() const
{
    std::vector<Section*> all{m_pageHeader.get()};
    for (const auto& group : m_groups)
        all.push_back(group.get());
    all.push_back(m_detail.get());
    for (const auto& footer : m_groupFooters)
        all.push_back(footer.get());
    all.push_back(m_pageFooter.get());
    return all;
}

Section* Report::section(const QString& name) const
{
    for (Section* s : sections()) {
        if (s->Name().compare(name, Qt::CaseInsensitive) == 0)
            return s;
    }
    return nullptr;
}

Twips Report::PrintWidth() const
{
    if (m_printWidth)
        return *m_printWidth;
    const QMarginsF& m = m_printer.margins();
    return m_printer.paperTwips().width() - m.left() - m.right();
}

Twips Report::PrintHeight() const
{
    if (m_printHeight)
        return *m_printHeight;
    const QMarginsF& m = m_printer.margins();
    return m_printer.paperTwips().height() - m.top() - m.bottom();
}

} // namespace report
