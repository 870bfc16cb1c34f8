#include "reports/Registration.h"

#include "reports/frmCustomActiveReportsPreview.h"
#include "reports/frmReports.h"
#include "reports/rptDirectory.h"
#include "reports/rptPhotoDir.h"
#include "reports/rptRollSheet.h"
#include "reports/rptTeamRoster.h"
#include "shell/ScreenRegistry.h"
#include "platform/report/Registry.h"

void RegisterReports()
{
    ScreenRegistry::registerScreen(QStringLiteral("frmReports"), [] { return new frmReports; });
    ScreenRegistry::registerScreen(QStringLiteral("frmCustomActiveReportsPreview"),
                                   [] { return new frmCustomActiveReportsPreview; });
    report::registerLayout(QStringLiteral("rptDirectory"),
                           [] { return std::make_shared<rptDirectory>(); });
    report::registerLayout(QStringLiteral("rptPhotoDir"),
                           [] { return std::make_shared<rptPhotoDir>(); });
    report::registerLayout(QStringLiteral("rptRollSheet"),
                           [] { return std::make_shared<rptRollSheet>(); });
    report::registerLayout(QStringLiteral("rptTeamRoster"),
                           [] { return std::make_shared<rptTeamRoster>(); });
}
