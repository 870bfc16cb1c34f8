#pragma once

#include <QString>

class QWidget;

// Makes parent the parent window of child; a shown child stays shown.
void SetWindowParent(QWidget* child, QWidget* parent);

// Fits a window to a container, less margin pixels on every side: as a child of the container
// (at margin, margin) or, otherwise, over it in screen coordinates.
void FitWindowToContainer(QWidget* window, QWidget* container, bool isChild, double margin);

// The topmost visible child window of a window, or nullptr.
QWidget* GetFirstChildWindow(QWidget* window);

// The index of a loaded window (by the window itself, or by its name, exact and case-
// sensitive) in the list of loaded windows; -1 when not found.
int FindFormIndex(const QWidget* window);
int FindFormIndex(const QString& name);
