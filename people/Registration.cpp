#include "people/Registration.h"

#include "people/frmServices.h"
#include "shell/ScreenRegistry.h"

void RegisterPeople()
{
    ScreenRegistry::registerScreen(QStringLiteral("frmServices"), [] { return new frmServices(); });
}
