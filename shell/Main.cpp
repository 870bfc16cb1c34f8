#include "shell/Main.h"

#include "shell/ProgramState.h"
#include "shell/clsCorvessa.h"
#include "shell/frmMainMDI.h"
#include "shell/frmSplash.h"
#include "platform/data/ConnectionString.h"
#include "platform/ui/Services.h"

#include <QCoreApplication>

void Main()
{
    ProgramState& p = program();

    p.Settings = std::make_unique<clsCorvessa>();

    auto splash = std::make_unique<frmSplash>();
    splash->show();
    // The main window's load runs for a while without returning to the event loop: paint the
    // splash now or it would never be seen.
    splash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    p.Settings->setDataFileName(QStringLiteral("CorvessaData.mdb"));

    p.ConnectionString = data::buildConnectionString(ui::programFolder(), p.Settings->DataFileName());

    p.MainForm = std::make_unique<frmMainMDI>();
    p.MainForm->Load();

    splash->close();
    splash.reset();

    p.MainForm->Show();
}
