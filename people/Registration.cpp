#include "people/Registration.h"

#include "people/frmDefault.h"
#include "shell/ScreenRegistry.h"

void RegisterPeople()
{
    ScreenRegistry::registerScreen(QStringLiteral("frmDefault"), [] { return new frmDefault; });
}
