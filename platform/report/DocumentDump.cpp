#include "platform/report/Document.h"

#include "platform/ui/Services.h"

#include <QDir>
#include <QTextStream>

#include <cmath>

namespace report {

namespace {

// Twips as a whole number when they are one, else with up to two decimals.
QString num(double value)
{
    if (std::abs(value - std::round(value)) < 0.005)
        return QString::number(std::llround(value));
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

QString rectText(const QRectF& r)
{
    return QStringLiteral("%1,%2 %3x%4")
        .arg(num(r.left()), num(r.top()), num(r.width()), num(r.height()));
}

QString quoted(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    out += QLatin1Char('"');
    return out;
}

QString colorText(const QColor& color)
{
    return color.name(color.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
}

QString fontText(const Font& font)
{
    QString text = font.family + QLatin1Char(' ') + num(font.size);
    if (font.bold)
        text += QStringLiteral(" bold");
    if (font.italic)
        text += QStringLiteral(" italic");
    if (font.underline)
        text += QStringLiteral(" underline");
    return text;
}

QString alignmentText(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Right:
        return QStringLiteral(", right");
    case Alignment::Center:
        return QStringLiteral(", centre");
    case Alignment::Left:
        break;
    }
    return {};
}

QString lineStyleText(LineStyle style)
{
    switch (style) {
    case LineStyle::Transparent:
        return QStringLiteral("none");
    case LineStyle::Solid:
        return QStringLiteral("solid");
    case LineStyle::Dash:
        return QStringLiteral("dash");
    case LineStyle::Dot:
        return QStringLiteral("dot");
    case LineStyle::DashDot:
        return QStringLiteral("dash-dot");
    }
    return {};
}

QString sizeModeText(SizeMode mode)
{
    switch (mode) {
    case SizeMode::Clip:
        return QStringLiteral("clip");
    case SizeMode::Stretch:
        return QStringLiteral("stretch");
    case SizeMode::Zoom:
        return QStringLiteral("zoom");
    }
    return {};
}

QString pictureAlignmentText(PictureAlignment alignment)
{
    static const char* const names[] = {"top left", "top right", "centre", "bottom left",
                                        "bottom right"};
    const int i = int(alignment);
    return i >= 0 && i < 5 ? QString::fromLatin1(names[i]) : QString();
}

QString shapeText(ShapeType type)
{
    switch (type) {
    case ShapeType::Rectangle:
        return QStringLiteral("rectangle");
    case ShapeType::Ellipse:
        return QStringLiteral("ellipse");
    case ShapeType::RoundRect:
        return QStringLiteral("rounded rectangle");
    }
    return {};
}

QString sectionKindText(SectionKind kind)
{
    switch (kind) {
    case SectionKind::PageHeader:
        return QStringLiteral("page header");
    case SectionKind::GroupHeader:
        return QStringLiteral("group header");
    case SectionKind::Detail:
        return QStringLiteral("detail");
    case SectionKind::GroupFooter:
        return QStringLiteral("group footer");
    case SectionKind::PageFooter:
        return QStringLiteral("page footer");
    }
    return {};
}

// A picture's name: the path relative to the program folder for files inside it, so that
// dumps do not depend on where the program runs.
QString pictureName(const QString& source, const QString& programFolder)
{
    if (source.isEmpty())
        return {};
    const QString folder = QDir::cleanPath(programFolder);
    const QString path = QDir::cleanPath(source);
    if (!folder.isEmpty() && path.startsWith(folder + QLatin1Char('/')))
        return path.mid(folder.size() + 1);
    return QDir::fromNativeSeparators(source);
}

struct ItemDumper {
    QTextStream& out;
    const QString& programFolder;

    void head(const char* kind, const ItemBase& item, const QString& where)
    {
        out << "    " << kind << ' '
            << (item.control.isEmpty() ? QStringLiteral("-") : item.control) << ": " << where;
    }

    void operator()(const TextItem& item)
    {
        head("Text", item, rectText(item.rect));
        out << ", " << fontText(item.font) << alignmentText(item.alignment);
        if (item.foreColor != QColor(Qt::black))
            out << ", colour " << colorText(item.foreColor);
        if (item.backColor.isValid())
            out << ", back " << colorText(item.backColor);
        if (!item.wordWrap)
            out << ", one line";
        out << ": " << quoted(item.text) << '\n';
    }

    void operator()(const LineItem& item)
    {
        head("Line", item,
             QStringLiteral("%1,%2 to %3,%4")
                 .arg(num(item.line.x1()), num(item.line.y1()), num(item.line.x2()),
                      num(item.line.y2())));
        out << ", " << lineStyleText(item.style) << ' ' << num(item.weight);
        if (item.color != QColor(Qt::black))
            out << ", colour " << colorText(item.color);
        out << '\n';
    }

    void operator()(const ShapeItem& item)
    {
        head("Shape", item, rectText(item.rect));
        out << ", " << shapeText(item.type) << ", line " << lineStyleText(item.lineStyle) << ' '
            << num(item.lineWeight);
        if (item.lineColor != QColor(Qt::black))
            out << ' ' << colorText(item.lineColor);
        if (item.backColor.isValid())
            out << ", fill " << colorText(item.backColor);
        out << '\n';
    }

    void operator()(const CheckItem& item)
    {
        head("Check", item, rectText(item.rect));
        out << ", " << fontText(item.font) << alignmentText(item.alignment) << ": "
            << (item.checked ? "ticked " : "empty ") << quoted(item.caption) << '\n';
    }

    void operator()(const ImageItem& item)
    {
        head("Image", item, rectText(item.rect));
        out << ", " << sizeModeText(item.sizeMode) << ' ' << pictureAlignmentText(item.alignment)
            << ": ";
        const bool shown = !item.image().isNull();
        if (!shown)
            out << "no picture";
        else
            out << quoted(pictureName(item.source, programFolder));
        if (shown && item.drawRect() != item.rect)
            out << " drawn at " << rectText(item.drawRect());
        out << '\n';
    }

    void operator()(const ChartItem& item)
    {
        head("Chart", item, rectText(item.rect));
        out << ", pie, edges " << colorText(item.data.edgeColor);
        out << (item.data.legendVisible ? ", legend" : ", no legend");
        if (!item.data.title.isEmpty())
            out << ", title " << quoted(item.data.title);
        out << '\n';
        for (const ChartCategory& category : item.data.categories) {
            out << "      " << quoted(category.label) << ' ' << num(category.value);
            if (category.fill)
                out << ", fill " << colorText(*category.fill);
            out << '\n';
        }
    }

    void operator()(const CustomItem& item)
    {
        head("Custom", item, rectText(item.rect));
        out << '\n';
    }
};

} // namespace

QString Document::dump() const
{
    QString text;
    QTextStream out(&text);
    const QString programFolder = ui::programFolder();
    out << "Document " << quoted(m_caption) << ": " << pageCount()
        << (pageCount() == 1 ? " page\n" : " pages\n");
    for (const Page& page : m_pages) {
        out << "Page " << page.number << ": " << page.paperSize.key() << ' '
            << (page.orientation == Orientation::Landscape ? "landscape" : "portrait") << ", paper "
            << num(page.paper.width()) << 'x' << num(page.paper.height()) << ", printable "
            << rectText(page.printable) << '\n';
        for (const PlacedSection& section : page.sections) {
            out << "  " << section.name << " #" << section.instance << " ("
                << sectionKindText(section.kind);
            if (section.column > 0)
                out << ", column " << section.column + 1;
            out << "): " << rectText(section.rect);
            if (section.backColor.isValid())
                out << ", fill " << colorText(section.backColor);
            if (section.clipped)
                out << ", cut off at " << num(section.clipBottom);
            out << '\n';
            ItemDumper dumper{out, programFolder};
            for (const PageItem& item : section.items)
                std::visit(dumper, item);
        }
    }
    if (!m_errors.empty()) {
        out << "Errors:\n";
        // Messages that name files in the program folder name them relative to it.
        const QString prefix = QDir::toNativeSeparators(QDir::cleanPath(programFolder) + u'/');
        for (const RunError& error : m_errors) {
            QString message = error.message;
            if (!programFolder.isEmpty())
                message.replace(prefix, QString());
            out << "  " << error.handler << ", page " << error.page << ": " << message << '\n';
        }
    }
    return text;
}

} // namespace report
