#include "shell/ReportParts.h"

#include "shell/Branding.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "platform/ui/Services.h"

namespace reportparts {

namespace {

report::Label* findLabel(report::Report& layout, const QString& name)
{
    for (report::Section* section : layout.sections()) {
        if (auto* label = section->Controls().find<report::Label>(name))
            return label;
    }
    return nullptr;
}

} // namespace

report::Label& addLabel(report::Section& section, const QString& name, const QRectF& bounds,
                        const QString& caption, double points, bool bold,
                        report::Alignment alignment)
{
    auto& label = section.Controls().add<report::Label>(name);
    label.setBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    label.setCaption(caption);
    label.setFontSize(points);
    label.setFontBold(bold);
    label.setAlignment(alignment);
    return label;
}

report::Label& addTitle(report::Section& section, const QRectF& bounds, const QString& text,
                        report::Alignment alignment)
{
    return addLabel(section, QStringLiteral("Title"), bounds, text, 18, true, alignment);
}

report::Label& addSubTitle(report::Section& section, const QRectF& bounds,
                           report::Alignment alignment)
{
    return addLabel(section, QStringLiteral("SubTitle"), bounds, settings().GroupName(), 14, false,
                    alignment);
}

void addTimestampAndPage(report::Section& section, const QRectF& timestamp, const QRectF& page)
{
    addLabel(section, QStringLiteral("lblTimestamp"), timestamp, QString(), 9, false,
             report::Alignment::Right);
    addLabel(section, QStringLiteral("lblPage"), page, QString(), 9, false,
             report::Alignment::Right);
}

void addMakerFooter(report::Section& section, const QRectF& maker, const QRectF& product,
                    const QRectF& webAddress)
{
    addLabel(section, QStringLiteral("Label3"), maker, kMakerName, 9, true,
             report::Alignment::Center);
    addLabel(section, QStringLiteral("Label4"), product, kProductFullName, 9, true,
             report::Alignment::Left);
    addLabel(section, QStringLiteral("Label5"), webAddress, kMakerWebAddress, 9, true,
             report::Alignment::Right);
}

void setSubTitle(report::Section& section)
{
    if (auto* subTitle = section.Controls().find<report::Label>(QStringLiteral("SubTitle")))
        subTitle->setCaption(settings().GroupName());
}

void stampPage(report::Report& layout)
{
    if (auto* stamp = findLabel(layout, QStringLiteral("lblTimestamp")))
        stamp->setCaption(timestampText());
    if (auto* page = findLabel(layout, QStringLiteral("lblPage")))
        page->setCaption(pageText(layout.PageNumber()));
}

QString pageText(int pageNumber)
{
    return QStringLiteral("Page: ") + QString::number(pageNumber);
}

QString timestampText()
{
    return ToString(data::Variant::dateTime(ui::now()), QString());
}

} // namespace reportparts
