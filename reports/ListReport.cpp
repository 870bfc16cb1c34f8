#include "reports/ListReport.h"

#include "platform/data/DataError.h"
#include "platform/ui/Services.h"
#include "shell/Branding.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "shell/TryStep.h"
#include "shell/clsCorvessa.h"

const QString ListReport::kNoRecordsText =
    QStringLiteral("There are no records to print on this report.");
const QString ListReport::kNoRecordsTitle = QStringLiteral("No Matching Records");

namespace {

report::Label& addLabel(report::Section& section, const QString& name, const QRectF& bounds,
                        double points, bool bold, report::Alignment alignment)
{
    auto& label = section.Controls().add<report::Label>(name);
    label.setBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    label.setFontSize(points);
    label.setFontBold(bold);
    label.setAlignment(alignment);
    return label;
}

} // namespace

ListReport::ListReport()
{
    PageHeader().onFormat([this] { PageHeader_Format(); });
    Detail().onFormat([this] { Detail_Format(); });
    PageFooter().onFormat([this] { PageFooter_Format(); });
}

ListReport::~ListReport()
{
    m_rows.Close();
}

QString ListReport::AndReportFilter()
{
    const QString& filter = program().ReportFilter;
    return filter.isEmpty() ? QString() : QStringLiteral(" AND ") + filter;
}

void ListReport::OpenQuery(const QString& sql)
{
    m_rowCount = 0;
    QString error;
    try {
        m_connection.setCursorLocation(data::adUseClient);
        m_connection.Open(program().ConnectionString, QString(), QString(), -1);
        m_rows.Open(sql, m_connection, data::adOpenStatic, data::adLockOptimistic, -1);
        m_rows.MoveLast();
        m_rowCount = m_rows.RecordCount();
        m_rows.MoveFirst();
    } catch (const data::DataError& e) {
        error = e.description();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    if (!error.isNull()) {
        // A query that could not run is not an empty result: say what went wrong.
        m_rowCount = 0;
        ui::critical(QStringLiteral("The records for the report \"%1\" could not be read.\n\n%2")
                         .arg(Caption(), error));
        return;
    }
    if (m_rowCount == 0)
        ui::plainMessage(kNoRecordsText, kNoRecordsTitle);
}

void ListReport::Detail_Format()
{
    ++m_printedCount;
    if (m_printedCount > m_rowCount)
        return;
    TryStep("Filling a report row", [&] { FillDetail(m_rows); });
    TryStep("Moving to the next report row", [&] { m_rows.MoveNext(); });
    Detail().request();
}

void ListReport::PageHeader_Format()
{
    SetSubTitle();
}

void ListReport::PageFooter_Format()
{
    report::ControlCollection& header = PageHeader().Controls();
    if (auto* stamp = header.find<report::Label>(QStringLiteral("lblTimestamp")))
        stamp->setCaption(ToString(data::Variant::dateTime(ui::now()), QString()));
    if (auto* page = header.find<report::Label>(QStringLiteral("lblPage")))
        page->setCaption(QStringLiteral("Page: ") + QString::number(PageNumber()));
}

void ListReport::SetSubTitle()
{
    if (auto* subTitle = PageHeader().Controls().find<report::Label>(QStringLiteral("SubTitle")))
        subTitle->setCaption(settings().GroupName());
}

report::Label& ListReport::AddTitle(const QRectF& bounds, const QString& text)
{
    auto& title = addLabel(PageHeader(), QStringLiteral("Title"), bounds, 18, true,
                           report::Alignment::Center);
    title.setCaption(text);
    return title;
}

report::Label& ListReport::AddSubTitle(const QRectF& bounds)
{
    return addLabel(PageHeader(), QStringLiteral("SubTitle"), bounds, 14, false,
                    report::Alignment::Center);
}

void ListReport::AddTimestampAndPage(const QRectF& timestamp, const QRectF& page)
{
    addLabel(PageHeader(), QStringLiteral("lblTimestamp"), timestamp, 9, false,
             report::Alignment::Right);
    addLabel(PageHeader(), QStringLiteral("lblPage"), page, 9, false, report::Alignment::Right);
}

void ListReport::AddMakerFooter(const QRectF& maker, const QRectF& product,
                                const QRectF& webAddress)
{
    addLabel(PageFooter(), QStringLiteral("Label3"), maker, 9, true, report::Alignment::Center)
        .setCaption(kMakerName);
    addLabel(PageFooter(), QStringLiteral("Label4"), product, 9, true, report::Alignment::Left)
        .setCaption(kProductFullName);
    addLabel(PageFooter(), QStringLiteral("Label5"), webAddress, 9, true, report::Alignment::Right)
        .setCaption(kMakerWebAddress);
}
