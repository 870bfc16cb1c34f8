#include "bench/BenchSupport.h"

#include "shell/ProgramState.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace bench {

int runBenchmarks(int argc, char** argv, const std::function<void()>& setUp)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    if (setUp)
        setUp();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    resetProgramState();
    return 0;
}

} // namespace bench
