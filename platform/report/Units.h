#pragma once

#include "platform/ui/Twips.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>

namespace report {

// Every length in the report model is in twips (the program's one unit, platform/ui/Twips.h).
// Lengths are converted to device units in one place only, when a page is painted.
using Twips = ui::Twips;
using TwipsRect = ui::TwipsRect;
inline constexpr Twips kTwipsPerInch = ui::kTwipsPerInch;
inline constexpr Twips kTwipsPerPoint = ui::kTwipsPerPoint;

// The scale from twips to the units of a device with the given dots per inch.
inline constexpr double deviceScale(double dotsPerInch)
{
    return dotsPerInch / kTwipsPerInch;
}

enum class Orientation : std::int16_t { Portrait = 1, Landscape = 2 };
enum class Alignment : std::int16_t { Left = 0, Right = 1, Center = 2 };
enum class BackStyle : std::int16_t { Transparent = 0, Opaque = 1 };
enum class LineStyle : std::int16_t { Transparent = 0, Solid = 1, Dash = 2, Dot = 3, DashDot = 4 };
enum class SizeMode : std::int16_t { Clip = 0, Stretch = 1, Zoom = 2 };
enum class PictureAlignment : std::int16_t {
    TopLeft = 0,
    TopRight = 1,
    Center = 2,
    BottomLeft = 3,
    BottomRight = 4
};

// A colour given as a single number with red in the low byte, green in the next and blue in
// the third (0x0000FFFF is yellow, 0x000000C0 dark red).
QColor colorFromLong(std::uint32_t value);

// Text formatting of labels, text boxes and check boxes.
struct Font {
    QString family = QStringLiteral("Arial");
    double size = 10.0; // points, fractions allowed (9.75, 11.25)
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const Font&) const = default;
};

// A QFont for painting in twips: its pixel size is the point size in twips, so that text keeps
// its size under any painter scale.
QFont toQFont(const Font& font);

} // namespace report
