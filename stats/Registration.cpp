#include "stats/Registration.h"

void RegisterStats()
{
}
