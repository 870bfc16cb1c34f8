#include "stats/Registration.h"

#include "stats/rptAttendance.h"
#include "stats/rptGrpStats.h"
#include "stats/rptOffering.h"
#include "platform/report/Registry.h"

void RegisterStats()
{
    report::registerLayout(QStringLiteral("rptGrpStats"),
                           [] { return std::make_shared<rptGrpStats>(); });
    report::registerLayout(QStringLiteral("rptAttendance"),
                           [] { return std::make_shared<rptAttendance>(); });
    report::registerLayout(QStringLiteral("rptOffering"),
                           [] { return std::make_shared<rptOffering>(); });
}
