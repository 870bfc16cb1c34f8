#pragma once

#include "platform/report/Report.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace report {

using LayoutFactory = std::function<std::shared_ptr<Report>()>;

// Layouts by name, so that screens create a layout from its name ("rptDirectory") without
// knowing its class. Names are case-sensitive; registering a name again replaces its factory.
void registerLayout(const QString& name, LayoutFactory factory);
void unregisterLayout(const QString& name);
// A new layout object (its constructor runs here), or nullptr for an unknown name.
std::shared_ptr<Report> createLayout(const QString& name);
QStringList registeredLayouts();

} // namespace report
