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
    explicit RowsLayout(QStringList rows, report::Twips detailHeight = 600)
        : m_rows(std::move(rows))
    {
        PageHeader().setHeight(500);
        PageFooter().setHeight(500);
        Detail().setHeight(detailHeight);
        Detail()
            .Controls()
            .add<report::TextBox>(QStringLiteral("txtRow"))
            .setBounds(0, 0, 3000, 300);
        Detail().onFormat([this] { detailFormat(); });
        Detail().onAfterPrint([this] { log(QStringLiteral("Detail_AfterPrint")); });
        PageHeader().onFormat([this] { log(QStringLiteral("PageHeader_Format")); });
        PageFooter().onFormat([this] { log(QStringLiteral("PageFooter_Format")); });
    }

    // A group over the rows' text before the first "/" ("A/1" is in group "A").
    report::GroupHeader& addRowGroup(report::Twips headerHeight = 300,
                                     report::Twips footerHeight = 300)
    {
        report::GroupHeader& header =
            addGroup(QStringLiteral("GroupHeader1"), QStringLiteral("GroupFooter1"));
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
                header.Controls()
                    .Item<report::Label>(QStringLiteral("lblGroup"))
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

    void log(const QString& handler)
    {
        events << QStringLiteral("%1@%2").arg(handler).arg(PageNumber());
    }

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

// A layout shaped like the member directory: address cards three across, a title block
// with the page number set by the page footer's handler, and the footer line. Rows are made
// up from their number.
class DirectoryShapedLayout : public report::Report {
public:
    explicit DirectoryShapedLayout(int rows,
                                   const QString& subtitle = QStringLiteral("Sample Group"))
        : m_rows(rows)
    {
        using namespace report;
        setCaption(QStringLiteral("Group Directory"));
        auto label = [](Section& section, const QString& name, QRectF r, double size, bool bold,
                        Alignment alignment, const QString& text = {}) -> Label& {
            Label& l = section.Controls().add<Label>(name);
            l.setBounds(r.left(), r.top(), r.width(), r.height());
            l.setFont(Font{QStringLiteral("Arial"), size, bold});
            l.setAlignment(alignment);
            l.setCaption(text);
            return l;
        };
        PageHeader().setHeight(1020);
        label(PageHeader(), QStringLiteral("Title"), {0, 0, 10710, 540}, 18, true,
              Alignment::Center, QStringLiteral("Group Directory"));
        label(PageHeader(), QStringLiteral("SubTitle"), {0, 480, 10740, 360}, 14, false,
              Alignment::Center, subtitle);
        label(PageHeader(), QStringLiteral("lblTimestamp"), {7470, 0, 3240, 270}, 9, false,
              Alignment::Right, QStringLiteral("design time stamp"));
        label(PageHeader(), QStringLiteral("lblPage"), {7470, 270, 3240, 270}, 9, false,
              Alignment::Right, QStringLiteral("design page"));

        Detail().setHeight(1905);
        Detail().setColumnCount(3);
        label(Detail(), QStringLiteral("NameAddress"), {120, 120, 3000, 660}, 9, false,
              Alignment::Left);
        label(Detail(), QStringLiteral("OtherInfo"), {120, 780, 3000, 1080}, 9, false,
              Alignment::Left);
        Detail().onFormat([this] { detailFormat(); });

        PageFooter().setHeight(360);
        label(PageFooter(), QStringLiteral("Label3"), {0, 90, 10710, 270}, 9, true,
              Alignment::Center, QStringLiteral("Brantholme Technologies"));
        label(PageFooter(), QStringLiteral("Label4"), {0, 90, 3240, 270}, 9, true, Alignment::Left,
              QStringLiteral("Corvessa: Group Edition"));
        label(PageFooter(), QStringLiteral("Label5"), {7470, 90, 3240, 270}, 9, true,
              Alignment::Right, QStringLiteral("www.corvessa.example"));
        PageFooter().onFormat([this] {
            PageHeader()
                .Controls()
                .Item<report::Label>(QStringLiteral("lblTimestamp"))
                .setCaption(QStringLiteral("5/15/2024 10:30:00 AM"));
            PageHeader()
                .Controls()
                .Item<report::Label>(QStringLiteral("lblPage"))
                .setCaption(QStringLiteral("Page: ") + QString::number(PageNumber()));
        });
    }

    int printed = 0;

private:
    void detailFormat()
    {
        ++printed;
        if (printed > m_rows)
            return;
        const QString n = QString::number(printed);
        auto& controls = Detail().Controls();
        controls.Item<report::Label>(QStringLiteral("NameAddress"))
            .setCaption(QStringLiteral("First%1 Last%1\r\n%1 Main Street\r\nSpringfield, IL  627%2")
                            .arg(n, n.right(2)));
        QString other =
            QStringLiteral("Home: (555) 010-%1").arg(printed % 10000, 4, 10, QLatin1Char('0'));
        if (printed % 2)
            other += QStringLiteral("\r\nCell: (555) 020-1234");
        if (printed % 3)
            other += QStringLiteral("\r\nE-mail: person%1@mail.example").arg(n);
        other += QStringLiteral("\r\nBirthday: %1/%2")
                     .arg(printed % 12 + 1, 2, 10, QLatin1Char('0'))
                     .arg(printed % 28 + 1, 2, 10, QLatin1Char('0'));
        controls.Item<report::Label>(QStringLiteral("OtherInfo")).setCaption(other);
        Detail().request();
    }

    int m_rows;
};

inline QStringList numberedRows(int count, const QString& prefix = QStringLiteral("row "))
{
    QStringList rows;
    for (int i = 1; i <= count; ++i)
        rows << prefix + QString::number(i);
    return rows;
}

} // namespace reporttest
