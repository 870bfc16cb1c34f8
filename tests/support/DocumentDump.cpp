#include "tests/support/DocumentDump.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace testing_support {

namespace {

bool updating()
{
    const QByteArray value = qgetenv(kUpdateDumpsVariable);
    return !value.isEmpty() && value != "0";
}

bool write(const QString& file, const QString& text)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(text.toUtf8());
    return out.commit();
}

// The first lines where the two texts part, with a little of what comes before.
QString difference(const QStringList& expected, const QStringList& actual)
{
    qsizetype first = 0;
    while (first < expected.size() && first < actual.size() && expected[first] == actual[first])
        ++first;
    QString out;
    const qsizetype from = std::max<qsizetype>(0, first - 3);
    for (qsizetype i = from; i < first; ++i)
        out += QStringLiteral("    %1  %2\n").arg(i + 1, 4).arg(expected[i]);
    for (qsizetype i = first; i < std::min(expected.size(), first + 4); ++i)
        out += QStringLiteral("  - %1  %2\n").arg(i + 1, 4).arg(expected[i]);
    for (qsizetype i = first; i < std::min(actual.size(), first + 4); ++i)
        out += QStringLiteral("  + %1  %2\n").arg(i + 1, 4).arg(actual[i]);
    out += QStringLiteral("(expected %1 lines, got %2)").arg(expected.size()).arg(actual.size());
    return out;
}

} // namespace

::testing::AssertionResult matchesDump(const report::Document& document,
                                       const QString& expectedFile)
{
    const QString actual = document.dump();
    const QString actualFile = expectedFile + QStringLiteral(".actual");
    if (updating()) {
        if (!write(expectedFile, actual))
            return ::testing::AssertionFailure()
                   << "The expected file " << expectedFile.toStdString() << " cannot be written.";
        QFile::remove(actualFile);
        return ::testing::AssertionSuccess();
    }
    QFile in(expectedFile);
    if (!in.open(QIODevice::ReadOnly)) {
        write(actualFile, actual);
        return ::testing::AssertionFailure()
               << "There is no expected file " << expectedFile.toStdString() << "; the dump is in "
               << actualFile.toStdString() << ". Review it, then run with " << kUpdateDumpsVariable
               << "=1 to keep it.";
    }
    const QString expected = QString::fromUtf8(in.readAll());
    if (expected == actual) {
        QFile::remove(actualFile);
        return ::testing::AssertionSuccess();
    }
    write(actualFile, actual);
    return ::testing::AssertionFailure()
           << "The document differs from " << expectedFile.toStdString() << ":\n"
           << difference(expected.split(QLatin1Char('\n')), actual.split(QLatin1Char('\n')))
                  .toStdString()
           << "\nThe whole dump is in " << actualFile.toStdString() << "; run with "
           << kUpdateDumpsVariable << "=1 to accept it.";
}

QString besideSource(const char* sourceFile, const QString& name)
{
    // The compiler names sources relative to the build folder when it was given them so.
    const QString source = QDir(QStringLiteral(CORVESSA_BUILD_DIR))
                               .absoluteFilePath(QString::fromLocal8Bit(sourceFile));
    return QFileInfo(source).absoluteDir().filePath(name);
}

} // namespace testing_support
