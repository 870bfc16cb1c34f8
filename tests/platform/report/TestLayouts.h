#pragma once

#include "platform/report/Engine.h"
#include "platform/report/Report.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace reporttest {

// A layout over a list of rows, driven the way list layouts drive the engine: the detail's
// Format fills "txtRow" from the current row, moves to the next and requests another detail;
// at the end it makes no request. Every handler call is logged.
class RowsLayout : public report::Report {
public:
    explicit RowsLayout(QStringList rows, report::Twips detailHeight = 600) : m_rows(std::move(rows))
    {
        PageHeader().setHeight(500);
        PageFooter().setHeight(500);
        Detail().setHeight(detailHeight);
        Detail().Controls().add<report::TextBox>(QStringLiteral("txtRow")).setBounds(0, 0, 3000, 300);
        Detail().onFormat([this] { detailFormat(); });
        Detail().onAfterPrint([this] { log(QStringLiteral("Detail_AfterPrint")); });
        PageHeader().onFormat([this] { log(QStringLiteral("PageHeader_Format")); });
        PageFooter().onFormat([this] { log(QStringLiteral("PageFooter_Format")); });
    }

    // A group over the rows' text before the first "/" ("A/1" is in group "A").
    report::GroupHeader& addRowGroup(report::Twips headerHeight = 300, report::Twips footerHeight = 300)
    {
        report::GroupHeader& header = addGroup(QStringLiteral("GroupHeader1"), QStringLiteral("GroupFooter1"));
        header.setHeight(headerHeight);
        header.footer().setHeight(footerHeight);
        header.setGroupValueSource([this]() -> std::optional<data::Variant> {
            if (m_row >= m_rows.size())
                return std::nullopt;
            return data::Variant(m_rows[m_row].section(QLatin1Char('/'), 0, 0));
        });
        header.Controls().add<report::Label>(QStringLiteral("lblGroup")).setBounds(0, 0, 3000, 300);
        header.onFormat([this, &header] {
            log(QStringLiteral("GroupHeader1_Format"));
            if (m_row < m_rows.size())
                header.Controls().Item<report::Label>(QStringLiteral("lblGroup"))
                    .setCaption(m_rows[m_row].section(QLatin1Char('/'), 0, 0));
        });
        header.footer().onFormat([this] { log(QStringLiteral("GroupFooter1_Format")); });
        return header;
    }

    QStringList events;
    int detailFormats = 0;
    qsizetype m_row = 0;

protected:
    void ReportStart() override { log(QStringLiteral("ReportStart")); }
    void PageStart() override { log(QStringLiteral("PageStart")); }
    void ReportEnd() override { log(QStringLiteral("ReportEnd")); }

    void log(const QString& handler) { events << QStringLiteral("%1@%2").arg(handler).arg(PageNumber()); }

    virtual void detailFormat()
    {
        ++detailFormats;
        log(QStringLiteral("Detail_Format"));
        if (m_row >= m_rows.size())
            return;
        Detail().Controls().Item<report::TextBox>(QStringLiteral("txtRow")).setText(m_rows[m_row]);
        ++m_row;
        Detail().request();
    }

    QStringList m_rows;
};

inline QStringList numberedRows(int count, const QString& prefix = QStringLiteral("row "))
{
    QStringList rows;
    for (int i = 1; i <= count; ++i)
        rows << prefix + QString::number(i);
    return rows;
}

} // namespace reporttest
