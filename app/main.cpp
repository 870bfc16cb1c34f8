#include "shell/Application.h"
#include "platform/ui/Services.h"

int main(int argc, char** argv)
{
    CorvessaApplication app(argc, argv);
    ui::installRealServices();
    return RunProgram(app);
}
