#include "shell/ShellLayout.h"

ShellLayout ComputeShellLayout(double& x, const ShellMetrics& m)
{
    if (x < kMinTreeWidth)
        x = kMinTreeWidth;
    if (x > m.mdiPanelWidth - kMinTreeWidth)
        x = m.mdiPanelWidth - kMinTreeWidth;

    ShellLayout l;
    l.tree.left = 0;
    l.tree.top = m.treeTop;
    l.tree.width = x;
    l.splitter.left = x;
    l.splitter.width = m.splitterWidth;

    l.content.left = x + m.splitterWidth + 2 * m.splitterBorder;
    l.content.width = m.mdiPanelWidth - l.content.left;

    l.title.left = l.content.left - 15;
    l.title.width = l.content.width;
    l.title.top = l.tree.top - 20;
    l.title.height = m.titleHeight;

    l.content.top = l.tree.top + m.titleHeight;

    l.tree.height = m.mdiPanelHeight - m.toolbarHeight;
    if (m.statusBarVisible)
        l.tree.height -= m.statusBarHeight;

    l.content.height = l.tree.height - m.titleHeight - 250;

    l.splitter.top = l.title.top;
    l.splitter.height = l.tree.height + 30;

    l.mask.width = m.titleInnerLeft - m.titleInnerBevel;
    l.mask.left =
        l.title.left - m.titleBorder - m.titleBevel - m.splitterBorder - m.splitterBevel - 20;
    l.mask.top = l.title.top + m.titleBevel + m.titleBorder + 25;
    l.mask.height = m.titleHeight - 2 * (m.titleBevel + m.titleBorder) - 50;

    l.maskLine.left = l.mask.left;
    l.maskLine.width = l.mask.width;
    l.maskLine.top = l.mask.top - 20;
    l.maskLine.height = m.maskLineHeight;
    return l;
}

ui::TwipsRect TitleInnerRect(double titleWidth, double titleHeight)
{
    return {90, 90, titleWidth - 180, titleHeight - 180};
}

double DraggedSplitterLeft(double splitterLeft, double mouseX, double windowWidth)
{
    double left = splitterLeft + mouseX;
    if (left < kSplitterDragMargin)
        left = kSplitterDragMargin;
    if (left > windowWidth - kSplitterDragMargin)
        left = windowWidth - kSplitterDragMargin;
    return left;
}
