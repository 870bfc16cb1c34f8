#pragma once

#include "platform/ui/Twips.h"

// Where the attendance side of the meetings screen and its instructions stand, in twips, for
// a form whose inner area is `width` by `height` twips. The meeting's boxes and the navigation
// panel keep their places at the top left.
struct MeetingsLayout {
    ui::TwipsRect MainPanel; // holds AttendedList, which fills it
    ui::TwipsRect lblItemCount;
    ui::TwipsRect cmdSet;
    ui::TwipsRect Select_Youth;
    ui::TwipsRect cmdNewAttendee;
    ui::TwipsRect cmdResort;
    ui::TwipsRect bc_Entry;
    ui::TwipsRect bc_ReadyImage;
    ui::TwipsRect lblInstructions;
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
