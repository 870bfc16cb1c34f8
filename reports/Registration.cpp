#include "reports/Registration.h"

#include "reports/frmCustomActiveReportsPreview.h"
#include "reports/frmReports.h"
#include "shell/ScreenRegistry.h"

void RegisterReports()
{
    ScreenRegistry::registerScreen(QStringLiteral("frmReports"), [] { return new frmReports; });
    ScreenRegistry::registerScreen(QStringLiteral("frmCustomActiveReportsPreview"),
                                   [] { return new frmCustomActiveReportsPreview; });
}
