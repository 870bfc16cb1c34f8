#include "platform/report/Controls.h"

#include "platform/report/ChartPicture.h"

#include <algorithm>

namespace report {

namespace {

// The size a control added by class name starts with, before the layout sets its own.
// Text added at run time is small enough for rows 200 twips apart (tables and scale values
// built from added labels) and stays inside its default height.
constexpr Twips kAddedWidth = 1440;
constexpr Twips kAddedTextHeight = 200;
constexpr double kAddedTextPoints = 8;
constexpr Twips kAddedShapeHeight = 720;

QString breaksToNewlines(const QString& text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

} // namespace

QColor colorFromLong(std::uint32_t value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QFont toQFont(const Font& font)
{
    QFont f(font.family);
    f.setPixelSize(std::max(1, int(font.size * kTwipsPerPoint + 0.5)));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    return f;
}

const ItemBase& itemBase(const PageItem& item)
{
    return std::visit([](const auto& i) -> const ItemBase& { return i; }, item);
}

ItemBase& itemBase(PageItem& item)
{
    return std::visit([](auto& i) -> ItemBase& { return i; }, item);
}

QString itemText(const PageItem& item)
{
    if (const auto* text = std::get_if<TextItem>(&item))
        return text->text;
    if (const auto* check = std::get_if<CheckItem>(&item))
        return check->caption;
    return {};
}

void Control::setBounds(Twips left, Twips top, Twips width, Twips height)
{
    setLeft(left);
    setTop(top);
    setWidth(width);
    setHeight(height);
}

ItemBase Control::base(QPointF origin) const
{
    return ItemBase{m_name, rect().translated(origin)};
}

TextItem TextControl::textItem(QPointF origin, const QString& text) const
{
    TextItem item;
    static_cast<ItemBase&>(item) = base(origin);
    item.text = breaksToNewlines(text);
    item.font = m_font;
    item.alignment = m_alignment;
    item.foreColor = m_foreColor;
    if (m_backStyle == report::BackStyle::Opaque)
        item.backColor = m_backColor;
    item.wordWrap = m_wordWrap;
    return item;
}

PageItem Label::snapshot(QPointF origin, SnapshotContext&) const
{
    return textItem(origin, m_caption);
}

PageItem TextBox::snapshot(QPointF origin, SnapshotContext&) const
{
    return textItem(origin, m_text);
}

PageItem CheckBox::snapshot(QPointF origin, SnapshotContext&) const
{
    CheckItem item;
    static_cast<ItemBase&>(item) = base(origin);
    item.caption = breaksToNewlines(m_caption);
    item.checked = m_value;
    item.font = Font();
    item.alignment = Alignment();
    item.foreColor = ForeColor();
    return item;
}

void Line::setPoints(Twips x1, Twips y1, Twips x2, Twips y2)
{
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
}

Twips Line::Left() const
{
    return std::min(m_x1, m_x2);
}
Twips Line::Top() const
{
    return std::min(m_y1, m_y2);
}
Twips Line::Width() const
{
    return std::abs(m_x2 - m_x1);
}
Twips Line::Height() const
{
    return std::abs(m_y2 - m_y1);
}
Twips Line::bottom() const
{
    return std::max(m_y1, m_y2);
}

void Line::setLeft(Twips left)
{
    const Twips dx = left - Left();
    m_x1 += dx;
    m_x2 += dx;
}

void Line::setTop(Twips top)
{
    const Twips dy = top - Top();
    m_y1 += dy;
    m_y2 += dy;
}

void Line::setWidth(Twips width)
{
    // The end further right moves; a vertical line keeps its first point in place.
    if (m_x2 >= m_x1)
        m_x2 = m_x1 + width;
    else
        m_x1 = m_x2 + width;
}

void Line::setHeight(Twips height)
{
    if (m_y2 >= m_y1)
        m_y2 = m_y1 + height;
    else
        m_y1 = m_y2 + height;
}

PageItem Line::snapshot(QPointF origin, SnapshotContext&) const
{
    LineItem item;
    static_cast<ItemBase&>(item) = base(origin);
    item.line = QLineF(QPointF(m_x1, m_y1) + origin, QPointF(m_x2, m_y2) + origin);
    item.style = m_style;
    item.weight = m_weight;
    item.color = m_color;
    return item;
}

PageItem Shape::snapshot(QPointF origin, SnapshotContext&) const
{
    ShapeItem item;
    static_cast<ItemBase&>(item) = base(origin);
    item.type = m_type;
    if (m_backStyle == report::BackStyle::Opaque)
        item.backColor = m_backColor;
    item.lineStyle = m_lineStyle;
    item.lineWeight = m_lineWeight;
    item.lineColor = m_lineColor;
    return item;
}

bool Image::loadPicture(const QString& path)
{
    QString error;
    const bool readable = pictureFileSize(path, &error).has_value();
    m_source = PictureSource{readable ? path : QString(), QImage()};
    m_name.clear();
    m_loadError = readable || !m_required ? QString() : error;
    return readable;
}

void Image::setPicture(const QImage& picture, const QString& name)
{
    m_source = PictureSource{QString(), picture};
    m_name = name;
    m_loadError.clear();
}

void Image::clearPicture()
{
    m_source = PictureSource();
    m_name.clear();
}

PageItem Image::snapshot(QPointF origin, SnapshotContext& context) const
{
    ImageItem item;
    static_cast<ItemBase&>(item) = base(origin);
    item.source = m_source.file.isEmpty() ? m_name : m_source.file;
    item.alignment = m_alignment;
    item.sizeMode = m_sizeMode;
    item.picture = context.pictures.place(m_source, rect().size(), m_sizeMode, m_alignment,
                                          context.requester, m_required);
    return item;
}

PageItem Chart::snapshot(QPointF origin, SnapshotContext&) const
{
    ChartItem item;
    static_cast<ItemBase&>(item) = base(origin);
    item.data = m_data;
    item.legendPoints = kLegendMaxPoints;
    if (m_data.legendVisible && !m_data.categories.empty() && !item.rect.isEmpty())
        item.legendPoints = fitLegendPoints(m_data, item.rect.size());
    return item;
}

PageItem CustomControl::snapshot(QPointF origin, SnapshotContext&) const
{
    CustomItem item;
    static_cast<ItemBase&>(item) = base(origin);
    item.paint = m_paint;
    return item;
}

Control& ControlCollection::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw ReportError(
            QStringLiteral("No control at position %1 (there are %2)").arg(index).arg(Count()));
    return *m_controls[std::size_t(index)];
}

Control& ControlCollection::Item(const QString& name) const
{
    if (Control* control = findControl(name))
        return *control;
    throw ReportError(QStringLiteral("No control named \"%1\"").arg(name));
}

Control* ControlCollection::findControl(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    for (const auto& control : m_controls) {
        if (control->Name().compare(name, Qt::CaseInsensitive) == 0)
            return control.get();
    }
    return nullptr;
}

Control& ControlCollection::Add(const QString& className, const QString& name)
{
    const QString kind = className.section(QLatin1Char('.'), -1).toLower();
    const bool qualified = className.section(QLatin1Char('.'), 0, -2)
                               .compare(QLatin1String("DDActiveReports"), Qt::CaseInsensitive) == 0;
    if (qualified) {
        if (kind == QLatin1String("label")) {
            Label& label = add<Label>(name);
            label.setBounds(0, 0, kAddedWidth, kAddedTextHeight);
            label.setFontSize(kAddedTextPoints);
            return label;
        }
        if (kind == QLatin1String("checkbox")) {
            CheckBox& check = add<CheckBox>(name);
            check.setBounds(0, 0, kAddedWidth, kAddedTextHeight);
            check.setFontSize(kAddedTextPoints);
            return check;
        }
        if (kind == QLatin1String("shape")) {
            Shape& shape = add<Shape>(name);
            shape.setBounds(0, 0, kAddedWidth, kAddedShapeHeight);
            return shape;
        }
        if (kind == QLatin1String("line")) {
            Line& line = add<Line>(name);
            line.setPoints(0, 0, kAddedWidth, 0);
            return line;
        }
    }
    throw ReportError(QStringLiteral("Unknown control class \"%1\"").arg(className));
}

} // namespace report
