#include "reports/Registration.h"

void RegisterReports()
{
}
