#include "shell/Application.h"

#include "shell/Main.h"
#include "shell/ProgramState.h"
#include "platform/ui/Services.h"

#include <QDebug>
#include <QFont>
#include <QLocale>

CorvessaApplication::CorvessaApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(ui::kAppTitle);
    setOrganizationName(ui::kAppTitle);
    // Without a locale of its own (the bare "C" locale) the machine reads and writes dates and
    // numbers the way the program's users in the United States do.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    UseInterfaceFont();
}

void UseInterfaceFont()
{
    // The designs place every caption in a box measured in twips for a narrow sans face of 8
    // points; the desktop's default interface font is larger and wider, and cut them. This face
    // has the widths the designs were made with.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    QApplication::setFont(font);
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
