#include "platform/report/Document.h"

#include "platform/report/ChartPicture.h"
#include "platform/report/Pictures.h"
#include "platform/ui/FileWrites.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>

namespace report {

namespace {

// A line weight of 1 is one screen pixel at 96 dots per inch.
constexpr Twips kTwipsPerLineWeight = 15;
// The side of a check box's square, at most.
constexpr Twips kCheckSide = 195;
constexpr Twips kCheckGap = 60;

Qt::PenStyle penStyle(LineStyle style)
{
    switch (style) {
    case LineStyle::Transparent:
        return Qt::NoPen;
    case LineStyle::Solid:
        return Qt::SolidLine;
    case LineStyle::Dash:
        return Qt::DashLine;
    case LineStyle::Dot:
        return Qt::DotLine;
    case LineStyle::DashDot:
        return Qt::DashDotLine;
    }
    return Qt::SolidLine;
}

QPen pen(const QColor& color, double weight, LineStyle style)
{
    QPen p(color, std::max(weight, 0.0) * kTwipsPerLineWeight, penStyle(style));
    p.setCapStyle(Qt::FlatCap);
    return p;
}

Qt::Alignment horizontal(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::Center:
        return Qt::AlignHCenter;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

// Keeps the painter's font, setting it only when an item asks for another.
class FontCache {
public:
    void use(QPainter& painter, const Font& font)
    {
        if (m_valid && font == m_font)
            return;
        m_font = font;
        m_valid = true;
        painter.setFont(toQFont(font));
    }

private:
    Font m_font;
    bool m_valid = false;
};

struct ItemPainter {
    QPainter& p;
    FontCache& fonts;

    void operator()(const TextItem& item) const
    {
        if (item.backColor.isValid())
            p.fillRect(item.rect, item.backColor);
        if (item.text.isEmpty())
            return;
        fonts.use(p, item.font);
        p.setPen(item.foreColor);
        int flags = int(horizontal(item.alignment)) | Qt::AlignTop;
        if (item.wordWrap)
            flags |= Qt::TextWordWrap;
        p.drawText(item.rect, flags, item.text);
    }

    void operator()(const LineItem& item) const
    {
        if (item.style == LineStyle::Transparent)
            return;
        p.setPen(pen(item.color, item.weight, item.style));
        p.drawLine(item.line);
    }

    void operator()(const ShapeItem& item) const
    {
        p.setBrush(item.backColor.isValid() ? QBrush(item.backColor) : QBrush(Qt::NoBrush));
        p.setPen(pen(item.lineColor, item.lineWeight, item.lineStyle));
        switch (item.type) {
        case ShapeType::Rectangle:
            p.drawRect(item.rect);
            break;
        case ShapeType::Ellipse:
            p.drawEllipse(item.rect);
            break;
        case ShapeType::RoundRect: {
            const Twips radius = std::min(item.rect.width(), item.rect.height()) / 5;
            p.drawRoundedRect(item.rect, radius, radius);
            break;
        }
        }
        p.setBrush(Qt::NoBrush);
    }

    void operator()(const CheckItem& item) const
    {
        const Twips side = std::min(kCheckSide, item.rect.height());
        const QRectF box(item.rect.left(), item.rect.top() + (item.rect.height() - side) / 2, side,
                         side);
        p.setPen(pen(item.foreColor, 1, LineStyle::Solid));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        if (item.checked) {
            QPainterPath tick;
            tick.moveTo(box.left() + side * 0.2, box.top() + side * 0.5);
            tick.lineTo(box.left() + side * 0.42, box.top() + side * 0.75);
            tick.lineTo(box.left() + side * 0.8, box.top() + side * 0.25);
            p.setPen(pen(item.foreColor, 2, LineStyle::Solid));
            p.drawPath(tick);
        }
        if (item.caption.isEmpty())
            return;
        fonts.use(p, item.font);
        p.setPen(item.foreColor);
        QRectF text = item.rect.adjusted(side + kCheckGap, 0, 0, 0);
        p.drawText(text, int(horizontal(item.alignment)) | Qt::AlignVCenter, item.caption);
    }

    void operator()(const ImageItem& item) const
    {
        if (!item.picture || item.picture->image.isNull() || item.rect.isEmpty())
            return;
        p.save();
        p.setClipRect(item.rect, Qt::IntersectClip);
        // Pictures kept at their own size are enlarged without smoothing and stored without
        // loss, so that bars and edges stay sharp; reduced photos are smoothed.
        p.setRenderHint(QPainter::SmoothPixmapTransform, item.smooth());
        p.setRenderHint(QPainter::LosslessImageRendering, !item.smooth());
        p.drawImage(item.drawRect(), item.picture->image);
        p.restore();
    }

    void operator()(const ChartItem& item) const
    {
        if (item.rect.isEmpty() || item.data.categories.empty())
            return;
        p.save();
        p.setClipRect(item.rect, Qt::IntersectClip);
        ChartPicture(item.data, item.rect.size(), item.legendPoints).paint(p, item.rect);
        p.restore();
        fonts = FontCache();
    }

    void operator()(const CustomItem& item) const
    {
        if (!item.paint)
            return;
        p.save();
        p.setClipRect(item.rect, Qt::IntersectClip);
        try {
            item.paint(p, item.rect);
        } catch (...) {
            // A control that cannot draw itself leaves its box empty.
        }
        p.restore();
        fonts = FontCache();
    }
};

QPageLayout pageLayout(const Page& page)
{
    return QPageLayout(page.paperSize,
                       page.orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                  : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

} // namespace

std::vector<FoundItem> Document::items(const QString& control, int page) const
{
    std::vector<FoundItem> found;
    for (int i = 0; i < pageCount(); ++i) {
        if (page >= 0 && i != page)
            continue;
        for (const PlacedSection& section : m_pages[std::size_t(i)].sections) {
            for (const PageItem& item : section.items) {
                if (itemBase(item).control.compare(control, Qt::CaseInsensitive) == 0)
                    found.push_back({i, &section, &item});
            }
        }
    }
    return found;
}

QStringList Document::texts(const QString& control, int page) const
{
    QStringList out;
    for (const FoundItem& f : items(control, page))
        out << itemText(*f.item);
    return out;
}

std::vector<std::pair<int, const PlacedSection*>> Document::sections(const QString& name) const
{
    std::vector<std::pair<int, const PlacedSection*>> found;
    for (int i = 0; i < pageCount(); ++i) {
        for (const PlacedSection& section : m_pages[std::size_t(i)].sections) {
            if (section.name.compare(name, Qt::CaseInsensitive) == 0)
                found.emplace_back(i, &section);
        }
    }
    return found;
}

int Document::count(const QString& section) const
{
    return static_cast<int>(sections(section).size());
}

void Document::paint(QPainter& painter, int pageIndex) const
{
    if (pageIndex < 0 || pageIndex >= pageCount())
        return;
    const Page& page = m_pages[std::size_t(pageIndex)];
    FontCache fonts;
    ItemPainter draw{painter, fonts};
    painter.save();
    for (const PlacedSection& section : page.sections) {
        if (section.clipped) {
            painter.save();
            painter.setClipRect(QRectF(0, section.rect.top(), page.paper.width(),
                                       section.clipBottom - section.rect.top()),
                                Qt::IntersectClip);
        }
        if (section.backColor.isValid())
            painter.fillRect(section.rect, section.backColor);
        for (const PageItem& item : section.items)
            std::visit(draw, item);
        if (section.clipped) {
            painter.restore();
            fonts = FontCache();
        }
    }
    painter.restore();
}

QImage Document::renderPage(int pageIndex, double dotsPerInch) const
{
    if (pageIndex < 0 || pageIndex >= pageCount())
        return {};
    const Page& page = m_pages[std::size_t(pageIndex)];
    const double scale = deviceScale(dotsPerInch);
    QImage image(std::max(1, qRound(page.paper.width() * scale)),
                 std::max(1, qRound(page.paper.height() * scale)), QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    paint(painter, pageIndex);
    return image;
}

bool Document::exportPdf(const QString& fileName, QString* error) const
{
    if (m_pages.empty()) {
        if (error)
            *error = QStringLiteral("The report has no pages.");
        return false;
    }
    // Made in memory and written whole, so that a file that cannot be written completely (a
    // full disk) never replaces an earlier one.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(int(kTwipsPerInch));
        writer.setCreator(QStringLiteral("Corvessa"));
        writer.setTitle(m_caption);
        writer.setPageLayout(pageLayout(m_pages.front()));
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = QStringLiteral("The PDF could not be made.");
            return false;
        }
        for (int i = 0; i < pageCount(); ++i) {
            if (i > 0) {
                writer.setPageLayout(pageLayout(m_pages[std::size_t(i)]));
                writer.newPage();
            }
            paint(painter, i);
        }
        if (!painter.end()) {
            if (error)
                *error = QStringLiteral("The PDF could not be made.");
            return false;
        }
    }
    QString reason;
    if (ui::writeWholeFile(fileName, pdf.data(), &reason))
        return true;
    if (error)
        *error = QStringLiteral("The file %1 cannot be written: %2").arg(fileName, reason);
    return false;
}

bool Document::print(QPrinter& printer, QString* error) const
{
    if (m_pages.empty())
        return true;
    int from = 1;
    int to = pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = std::min(pageCount(), printer.toPage() > 0 ? printer.toPage() : pageCount());
    }
    if (from > to)
        return true;
    // Paper and orientation only: a printer may refuse margins below its own, and full-page
    // mode draws from the paper's corner anyway.
    auto turnTo = [&printer](const Page& page) {
        printer.setPageSize(page.paperSize);
        printer.setPageOrientation(page.orientation == Orientation::Landscape
                                       ? QPageLayout::Landscape
                                       : QPageLayout::Portrait);
    };
    printer.setFullPage(true);
    turnTo(m_pages[std::size_t(from - 1)]);
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error)
            *error = QStringLiteral("The printer could not be started.");
        return false;
    }
    for (int number = from; number <= to; ++number) {
        const Page& page = m_pages[std::size_t(number - 1)];
        if (number > from) {
            turnTo(page);
            if (!printer.newPage()) {
                if (error)
                    *error = QStringLiteral("The printer refused page %1.").arg(number);
                painter.end();
                return false;
            }
        }
        painter.resetTransform();
        painter.scale(deviceScale(printer.logicalDpiX()), deviceScale(printer.logicalDpiY()));
        paint(painter, number - 1);
    }
    return painter.end();
}

} // namespace report
