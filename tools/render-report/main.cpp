#include "tools/render-report/RenderReport.h"

#include "people/Registration.h"
#include "reports/Registration.h"
#include "stats/Registration.h"
#include "platform/ui/Services.h"

#include <QApplication>
#include <QLocale>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    // A tool for the command line: no screen needed unless one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(ui::kAppTitle);
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ui::installRealServices();
    // Every layout of the program, registered by its subsystem as the program does.
    RegisterPeople();
    RegisterReports();
    RegisterStats();
    QTextStream err(stderr);
    return tools::renderReport(QApplication::arguments(), err);
}
