#include "reports/Registration.h"

#include "reports/frmCustomActiveReportsPreview.h"
#include "shell/ScreenRegistry.h"

void RegisterReports()
{
    ScreenRegistry::registerScreen(QStringLiteral("frmCustomActiveReportsPreview"),
                                   [] { return new frmCustomActiveReportsPreview; });
}
