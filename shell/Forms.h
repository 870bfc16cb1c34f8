#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// The loaded windows of the program, in the order they were loaded: the main window, the
// hosted screens (also those behind a report preview) and the dialogs.
namespace Forms {

void add(QWidget* window);
void remove(QWidget* window);
QList<QWidget*> all();
int count();

// Unloads one window: a screen through its Unload, any other window by closing it.
void unload(QWidget* window);

} // namespace Forms
