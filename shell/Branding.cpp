#include "shell/Branding.h"

#include "platform/ui/Services.h"

#include "Version.h"

QString VersionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

QString CopyrightLine()
{
    return QStringLiteral("Copyright \u00A9 1999-%1 %2").arg(ui::today().year()).arg(kMakerName);
}
