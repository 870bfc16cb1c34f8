#include "reports/ReportFilters.h"

#include "reports/clsReport.h"
#include "shell/Conversions.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Variant.h"

std::array<bool, kFilterCount> FiltersOffered(const clsReport& entry)
{
    std::array<bool, kFilterCount> offered{};
    offered[fiStatus] = entry.FilterStatus;
    offered[fiTeam] = entry.FilterTeam;
    offered[fiSchoolType] = entry.FilterSchoolType;
    offered[fiLeader] = entry.FilterLeader;
    offered[fiVisitor] = entry.FilterVisitor;
    offered[fiMailList] = entry.FilterMailList;
    offered[fiDrama] = entry.FilterDrama;
    offered[fiMusic] = entry.FilterMusic;
    offered[fiInclude] = entry.FilterInclude;
    offered[fiYear] = entry.FilterYear;
    offered[fiSchool] = entry.FilterSchool;
    offered[fiGrade] = entry.FilterGrade;
    offered[fiGender] = entry.FilterGender;
    offered[fiMtgType] = entry.FilterMtgType;
    offered[fiStartDate] = entry.FilterStartDate;
    return offered;
}

namespace {

QString quoted(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

class ClauseList {
public:
    void append(const QString& clause)
    {
        if (!m_text.isEmpty())
            m_text += QLatin1String(" AND ");
        m_text += clause;
    }
    QString text() const { return m_text; }

private:
    QString m_text;
};

} // namespace

QString BuildReportFilterText(const FilterChoices& choices)
{
    const auto& lists = choices.lists;
    const auto chosen = [&](int i) { return lists[static_cast<std::size_t>(i)].index > 0; };
    const auto data = [&](int i) {
        return QString::number(lists[static_cast<std::size_t>(i)].itemData);
    };
    const auto text = [&](int i) { return lists[static_cast<std::size_t>(i)].text; };

    ClauseList f;
    if (chosen(fiStatus))
        f.append(QLatin1String("Youth_Status=") + data(fiStatus));
    if (chosen(fiTeam))
        f.append(QLatin1String("Youth_Team=") + quoted(text(fiTeam)));
    if (chosen(fiLeader))
        f.append(QLatin1String("Youth_Leader=") + data(fiLeader));
    if (chosen(fiVisitor))
        f.append(QLatin1String("Youth_Visitor=") + data(fiVisitor));
    if (chosen(fiMailList))
        f.append(QLatin1String("Youth_Mail_List=") + data(fiMailList));

    const FilterListChoice& include = lists[fiInclude];
    if (include.shown && include.index == 0)
        f.append(QLatin1String("Youth_Status=") + QString::number(include.itemData));

    // The summaries read the year as the clause's last four characters: no clause without a
    // year chosen.
    const FilterListChoice& year = lists[fiYear];
    if (year.shown && year.index >= 0)
        f.append(QLatin1String("YearPart=") + year.text);

    if (!choices.dateText.isEmpty()) {
        // Text that is no date gives the zero date, which no meeting has.
        const double day = ToDate(data::Variant(choices.dateText), 0.0);
        f.append(QLatin1String("First(Wk_Date)=#") +
                 data::text::formatUsDate(data::jetdate::toDate(day)) + QLatin1Char('#'));
    }

    if (chosen(fiSchool))
        f.append(QLatin1String("Youth_School=") + quoted(text(fiSchool)));
    if (chosen(fiGrade))
        f.append(QLatin1String("Youth_School_Grade=") + text(fiGrade));
    if (chosen(fiGender))
        f.append(QLatin1String("Youth_Sex=") + data(fiGender));
    if (chosen(fiMtgType))
        f.append(QLatin1String("Wk_Mtg_Type=") + quoted(text(fiMtgType)));
    return f.text();
}

std::array<FilterPlace, kFilterCount>
ArrangeFilterColumn(const std::array<bool, kFilterCount>& offered)
{
    using namespace filtercolumn;
    std::array<FilterPlace, kFilterCount> places{};
    int top = 0;
    for (int i = 0; i < kFilterCount; ++i) {
        FilterPlace& p = places[static_cast<std::size_t>(i)];
        if (!offered[static_cast<std::size_t>(i)])
            continue;
        const int height = i == fiStartDate ? kDateHeight : kListHeight;
        p.shown = true;
        p.top = top == 0 ? kFirstTop : top + height + kGap;
        p.left = kLeft;
        top = p.top;
        p.captionTop = p.top + height - kCaptionHeight;
        p.captionLeft = p.left - kGap - kCaptionWidth;
    }
    return places;
}
