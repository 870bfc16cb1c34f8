#include "people/Registration.h"

#include "people/frmDirectory.h"
#include "shell/ScreenRegistry.h"

void RegisterPeople()
{
    ScreenRegistry::registerScreen(QStringLiteral("frmDirectory"), [] { return new frmDirectory; });
}
