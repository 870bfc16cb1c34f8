#pragma once

#include "platform/report/ChartData.h"
#include "platform/report/Pictures.h"
#include "platform/report/Units.h"

#include <QImage>
#include <QLineF>
#include <QRectF>
#include <QString>

#include <functional>
#include <variant>

class QPainter;

namespace report {

enum class ShapeType : std::int16_t { Rectangle = 0, Ellipse = 1, RoundRect = 2 };

// What a placed control leaves on a page: fixed values in twips, measured from the top left
// corner of the paper. Items never refer back to the control or the layout that made them.
struct ItemBase {
    QString control; // the control's name; empty for controls added without one
    QRectF rect;
};

struct TextItem : ItemBase {
    QString text; // line breaks as "\n"
    Font font;
    Alignment alignment = Alignment::Left;
    QColor foreColor = Qt::black;
    QColor backColor; // invalid: transparent
    bool wordWrap = true;
};

struct LineItem : ItemBase {
    QLineF line;
    LineStyle style = LineStyle::Solid;
    double weight = 1; // in screen pixels of 15 twips
    QColor color = Qt::black;
};

struct ShapeItem : ItemBase {
    ShapeType type = ShapeType::Rectangle;
    QColor backColor; // invalid: transparent
    LineStyle lineStyle = LineStyle::Solid;
    double lineWeight = 1;
    QColor lineColor = Qt::black;
};

struct CheckItem : ItemBase {
    QString caption;
    bool checked = false;
    Font font;
    Alignment alignment = Alignment::Left;
    QColor foreColor = Qt::black;
};

// A picture, decoded at the size it prints at; pages that show the same picture share it.
struct ImageItem : ItemBase {
    SharedPicture picture; // null: nothing is drawn
    QString source;        // the file's full path, or the name of a picture made in code
    PictureAlignment alignment = PictureAlignment::TopLeft;
    SizeMode sizeMode = SizeMode::Clip;

    // The decoded pixels; null when there is nothing to draw.
    QImage image() const { return picture ? picture->image : QImage(); }
    // Where the picture goes on the paper; it is cut off at rect.
    QRectF drawRect() const
    {
        return picture ? picture->drawRect.translated(rect.topLeft()) : QRectF();
    }
    // False for pictures kept at their own size: enlarged without smoothing (hard edges).
    bool smooth() const { return !picture || picture->smooth; }
};

// A chart: its data and the legend font chosen for its size when it was placed.
struct ChartItem : ItemBase {
    ChartData data;
    double legendPoints = 0;
};

// Painting code of a custom-painted control, called with a painter whose units are twips and
// the control's rectangle on the paper. It is called whenever the page is drawn, so it must
// only draw what it captured when its section was placed.
using PaintFunction = std::function<void(QPainter&, const QRectF&)>;

struct CustomItem : ItemBase {
    PaintFunction paint;
};

using PageItem =
    std::variant<TextItem, LineItem, ShapeItem, CheckItem, ImageItem, ChartItem, CustomItem>;

const ItemBase& itemBase(const PageItem& item);
ItemBase& itemBase(PageItem& item);
// The text of a text item or the caption of a check box; empty for the other kinds.
QString itemText(const PageItem& item);

} // namespace report
