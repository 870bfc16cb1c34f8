#include "people/Registration.h"

#include "people/frmDefault.h"
#include "people/frmDirectory.h"
#include "people/frmServices.h"
#include "shell/ScreenRegistry.h"

void RegisterPeople()
{
    ScreenRegistry::registerScreen(QStringLiteral("frmDefault"), [] { return new frmDefault; });
    ScreenRegistry::registerScreen(QStringLiteral("frmDirectory"), [] { return new frmDirectory; });
    ScreenRegistry::registerScreen(QStringLiteral("frmServices"), [] { return new frmServices(); });
}
