#pragma once

#include <QRectF>

// Where the attendance side of the meetings screen and its instructions stand, in twips, for
// a form whose inner area is `width` by `height` twips. The meeting's boxes and the navigation
// panel keep their places at the top left.
struct MeetingsLayout {
    QRectF MainPanel; // holds AttendedList, which fills it
    QRectF lblItemCount;
    QRectF cmdSet;
    QRectF Select_Youth;
    QRectF cmdNewAttendee;
    QRectF cmdResort;
    QRectF bc_Entry;
    QRectF bc_ReadyImage;
    QRectF lblInstructions;
};

// Fixed sizes and places of the layout (twips).
namespace meetings_layout {
inline constexpr double kAttendanceLeft = 5040; // left edge of the attendance side
inline constexpr double kListTop = 420;         // below "Attendees for this week:"
inline constexpr double kRightMargin = 15;      // list to the form's inner right edge
inline constexpr double kBottomMargin = 20;     // instructions to the form's inner bottom
inline constexpr double kButtonHeight = 400;
inline constexpr double kComboHeight = 345;
inline constexpr double kSaveWidth = 1300;
inline constexpr double kAddWidth = 800;
inline constexpr double kResortWidth = 1900;
inline constexpr double kReadyImageWidth = 600;
inline constexpr double kInstructionsHeight = 480;
inline constexpr double kMinListHeight = 1200;
} // namespace meetings_layout

MeetingsLayout layoutMeetings(double width, double height);
