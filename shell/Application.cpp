#include "shell/Application.h"

#include "shell/Main.h"
#include "shell/ProgramState.h"
#include "platform/ui/Services.h"

#include <QDebug>

CorvessaApplication::CorvessaApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(ui::kAppTitle);
    setOrganizationName(ui::kAppTitle);
}

bool CorvessaApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        qWarning() << "Unhandled error:" << e.what();
        ui::critical(QString::fromStdString(e.what()));
    } catch (...) {
        qWarning() << "Unhandled error";
        ui::critical(QStringLiteral("An unexpected error occurred."));
    }
    return false;
}

int RunProgram(QApplication& app, const std::function<void()>& start)
{
    try {
        if (start)
            start();
        else
            Main();
    } catch (const std::exception& e) {
        ui::critical(QString::fromStdString(e.what()));
        resetProgramState();
        return 1;
    }
    const int status = app.exec();
    resetProgramState();
    return status;
}
