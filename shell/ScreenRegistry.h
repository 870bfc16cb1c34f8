#pragma once

#include <QString>

#include <functional>

class ContentForm;

// Creates screens by their form name ("frmDefault", "frmDirectory", "frmServices",
// "frmReports", "frmCustomActiveReportsPreview"). The program registers its screens at
// start-up; a name without a registration gives an empty placeholder screen.
namespace ScreenRegistry {

using Factory = std::function<ContentForm*()>;

void registerScreen(const QString& formName, Factory factory);
void unregisterScreen(const QString& formName);
bool isRegistered(const QString& formName);
ContentForm* createScreen(const QString& formName);

} // namespace ScreenRegistry
