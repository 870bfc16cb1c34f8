#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gmock/gmock.h>

int main(int argc, char** argv)
{
    // Headless, en_US, and nothing ever written to the user's real settings or folders.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CorvessaTests"));
    ::testing::InitGoogleMock(&argc, argv);
    testenv::installPerTestReset();
    return RUN_ALL_TESTS();
}
