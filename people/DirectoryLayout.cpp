#include "people/DirectoryLayout.h"

#include <algorithm>

DirectoryLayout ComputeDirectoryLayout(const DirectoryLayoutInput& in)
{
    DirectoryLayout out;
    out.stampTop = in.height - in.updatedBoxHeight - 4 * in.tabLeft;
    out.tabWidth = std::max(in.width - 2 * in.tabLeft, in.navPanelWidth);
    out.tabHeight =
        std::max(0.0, in.height - in.tabTop - 4 * in.tabLeft - in.createdBoxHeight - 70);
    out.printLeft = in.tabLeft + out.tabWidth - in.printButtonWidth;
    out.listHeight = in.listHeight;
    if (out.tabHeight < in.listTop + in.listHeight)
        out.listHeight = std::max(0.0, out.tabHeight - in.listTop - 20);
    return out;
}
