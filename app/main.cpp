#include "people/Registration.h"
#include "reports/Registration.h"
#include "shell/Application.h"
#include "stats/Registration.h"
#include "platform/ui/Services.h"

int main(int argc, char** argv)
{
    CorvessaApplication app(argc, argv);
    ui::installRealServices();
    RegisterPeople();
    RegisterReports();
    RegisterStats();
    return RunProgram(app);
}
