#include "shell/Main.h"

#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "shell/frmMainMDI.h"
#include "shell/frmSplash.h"
#include "platform/data/ConnectionString.h"
#include "platform/ui/Services.h"

void Main()
{
    ProgramState& p = program();

    p.Settings = std::make_unique<clsCorvessa>();

    // The main window's load runs for a while without returning to the event loop: the splash
    // is painted now or it would never be seen.
    auto splash = std::make_unique<frmSplash>();
    splash->ShowAndPaint();

    p.Settings->setDataFileName(QStringLiteral("CorvessaData.mdb"));

    p.ConnectionString =
        data::buildConnectionString(ui::programFolder(), p.Settings->DataFileName());

    p.MainForm = std::make_unique<frmMainMDI>();
    p.MainForm->Load();

    splash->close();
    splash.reset();

    p.MainForm->Show();
}
