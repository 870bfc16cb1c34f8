#include "people/Registration.h"

void RegisterPeople()
{
}
