#include "reports/Registration.h"

#include "reports/frmCustomActiveReportsPreview.h"
#include "reports/frmReports.h"
#include "reports/rptBirthdays.h"
#include "reports/rptDirectory.h"
#include "reports/rptPhotoDir.h"
#include "reports/rptRollSheet.h"
#include "reports/rptTeamRoster.h"
#include "reports/rptLabels.h"
#include "reports/rptVisitorCard.h"
#include "reports/rptMissingData.h"
#include "reports/rptSignUp.h"
#include "reports/rptVisitors.h"
#include "reports/rptProfile.h"
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
    report::registerLayout(QStringLiteral("rptLabels"),
                           [] { return std::make_shared<rptLabels>(); });
    report::registerLayout(QStringLiteral("rptVisitorCard"),
                           [] { return std::make_shared<rptVisitorCard>(); });
    report::registerLayout(QStringLiteral("rptBirthdays"),
                           [] { return std::make_shared<rptBirthdays>(); });
    report::registerLayout(QStringLiteral("rptVisitors"),
                           [] { return std::make_shared<rptVisitors>(); });
    report::registerLayout(QStringLiteral("rptMissingData"),
                           [] { return std::make_shared<rptMissingData>(); });
    report::registerLayout(QStringLiteral("rptSignUp"),
                           [] { return std::make_shared<rptSignUp>(); });
    report::registerLayout(QStringLiteral("rptProfile"),
                           [] { return std::make_shared<rptProfile>(); });
}
