// Writes the empty data file template from the table layout; run by the build.
#include "platform/data/DataError.h"
#include "platform/data/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: corvessa-make-template OUTPUT\n");
        return 2;
    }
    const QString target = QFileInfo(args[1]).absoluteFilePath();
    const QString partial = target + QStringLiteral(".partial");
    try {
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(partial);
        data::schema::createDataFile(partial);
        if (QFile::exists(target) && !QFile::remove(target))
            throw data::DataError(QStringLiteral("cannot replace %1").arg(target));
        if (!QFile::rename(partial, target))
            throw data::DataError(QStringLiteral("cannot write %1").arg(target));
    } catch (const data::DataError& e) {
        QFile::remove(partial);
        std::fprintf(stderr, "corvessa-make-template: %s\n", e.what());
        return 1;
    }
    return 0;
}
