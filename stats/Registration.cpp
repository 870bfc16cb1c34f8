#include "stats/Registration.h"

#include "stats/rptGrpStats.h"
#include "platform/report/Registry.h"

void RegisterStats()
{
    report::registerLayout(QStringLiteral("rptGrpStats"),
                           [] { return std::make_shared<rptGrpStats>(); });
}
