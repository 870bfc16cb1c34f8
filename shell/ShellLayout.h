#pragma once

#include "platform/ui/Twips.h"

// The main window's layout arithmetic, in twips, apart from any widget so that it can be
// checked by itself. Positions are relative to MDIPanel.

struct ShellMetrics {
    double mdiPanelWidth = 0;
    double mdiPanelHeight = 0;
    double toolbarHeight = 0;
    double statusBarHeight = 0;
    bool statusBarVisible = false;
    double treeTop = 0;
    double splitterWidth = 0;
    double splitterBorder = 0;
    double splitterBevel = 0;
    double titleHeight = 0;
    double titleBorder = 0;
    double titleBevel = 0;
    double titleInnerLeft = 0;
    double titleInnerBevel = 0;
    double maskLineHeight = 0;
};

struct ShellLayout {
    ui::TwipsRect tree;
    ui::TwipsRect splitter;
    ui::TwipsRect title;
    ui::TwipsRect content;
    ui::TwipsRect mask;
    ui::TwipsRect maskLine;
};

inline constexpr double kMinTreeWidth = 1700;
inline constexpr double kSplitterDragMargin = 500;
inline constexpr double kMinWindowWidth = 3000;

// Lays out tree, splitter, title and content for a tree width x, which is clamped in place:
// at least 1700, at most the panel's width less 1700 (the upper clamp wins in a narrow panel).
ShellLayout ComputeShellLayout(double& x, const ShellMetrics& m);

// The inner title box inside a title panel of the given size.
ui::TwipsRect TitleInnerRect(double titleWidth, double titleHeight);

// Where the splitter goes while it is dragged: its left plus the mouse's x, kept 500 twips
// inside the window.
double DraggedSplitterLeft(double splitterLeft, double mouseX, double windowWidth);
