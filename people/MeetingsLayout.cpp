#include "people/MeetingsLayout.h"

#include <algorithm>

using namespace meetings_layout;

MeetingsLayout layoutMeetings(double width, double height)
{
    constexpr double gap = 60;         // between rows under the list
    constexpr double buttonGap = 10;   // Save List to the list's edge, Add to the drop-down
    constexpr double leftMargin = 120; // instructions to the form's left edge

    MeetingsLayout l;
    l.lblInstructions =
        ui::TwipsRect{leftMargin, height - kBottomMargin - kInstructionsHeight,
                      std::max(0.0, width - leftMargin - kRightMargin), kInstructionsHeight};

    // Under the list, from the instructions upwards: the scan row, the drop-down row, the
    // Save List row.
    const double below = gap + kButtonHeight + buttonGap + kComboHeight + gap + kButtonHeight + gap;
    const double listWidth =
        std::max(kSaveWidth + kAddWidth, width - kRightMargin - kAttendanceLeft);
    const double listBottom = std::max(kListTop + kMinListHeight, l.lblInstructions.top - below);
    l.MainPanel = ui::TwipsRect{kAttendanceLeft, kListTop, listWidth, listBottom - kListTop};

    const double right = l.MainPanel.right();
    l.cmdSet =
        ui::TwipsRect{right - buttonGap - kSaveWidth, listBottom + gap, kSaveWidth, kButtonHeight};
    l.lblItemCount = ui::TwipsRect{kAttendanceLeft, listBottom + gap,
                                   std::max(0.0, l.cmdSet.left - kAttendanceLeft - gap), 285};

    const double comboTop = l.cmdSet.bottom() + buttonGap;
    l.Select_Youth =
        ui::TwipsRect{kAttendanceLeft, comboTop, listWidth - kAddWidth - buttonGap, kComboHeight};
    l.cmdNewAttendee = ui::TwipsRect{l.Select_Youth.right() + buttonGap, comboTop, kAddWidth,
                                     l.Select_Youth.height};

    const double scanTop = l.Select_Youth.bottom() + gap;
    l.cmdResort = ui::TwipsRect{kAttendanceLeft, scanTop, kResortWidth, kButtonHeight};
    l.bc_ReadyImage =
        ui::TwipsRect{right - kReadyImageWidth, scanTop, kReadyImageWidth, kButtonHeight};
    const double entryLeft = l.cmdResort.right() + gap;
    l.bc_Entry = ui::TwipsRect{
        entryLeft, scanTop, std::max(0.0, l.bc_ReadyImage.left - gap - entryLeft), kButtonHeight};
    return l;
}
