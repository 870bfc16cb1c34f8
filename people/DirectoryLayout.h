#pragma once

// The directory screen's layout when it is resized, in twips. Left and top are the tab
// control's; the stamp line (the two date boxes, their captions and Print Profile) sits at the
// bottom, the tab control fills the rest but is never narrower than the navigation bar, and the
// attendance list shrinks to fit inside the tab control but never grows back.
struct DirectoryLayoutInput {
    double width = 0;  // the screen's inner width
    double height = 0; // the screen's inner height
    double tabLeft = 0;
    double tabTop = 0;
    double updatedBoxHeight = 0; // the "Last Updated On:" box
    double createdBoxHeight = 0; // the "Record Created On:" box
    double navPanelWidth = 0;
    double printButtonWidth = 0;
    double listTop = 0; // the attendance list, measured from the tab control's top
    double listHeight = 0;
};

struct DirectoryLayout {
    double stampTop = 0;
    double tabWidth = 0;
    double tabHeight = 0;
    double printLeft = 0;
    double listHeight = 0;
};

DirectoryLayout ComputeDirectoryLayout(const DirectoryLayoutInput& in);
