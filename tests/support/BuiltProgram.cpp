#include "tests/support/BuiltProgram.h"

#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace testenv {

QString builtProgramFolder()
{
    return QStringLiteral(CORVESSA_BUILT_PROGRAM_DIR);
}

void installBarcodePictures()
{
    const QDir from(builtProgramFolder() + QStringLiteral("/Barcode_GIFS"));
    QDir to(programFolder());
    if (!to.mkpath(QStringLiteral("Barcode_GIFS")))
        throw std::runtime_error("The test's barcode folder cannot be made.");
    for (int digit = 0; digit <= 9; ++digit) {
        const QString name = QStringLiteral("%1.gif").arg(digit);
        const QString target = to.filePath(QStringLiteral("Barcode_GIFS/") + name);
        QFile::remove(target);
        if (!QFile::copy(from.filePath(name), target))
            throw std::runtime_error("The barcode pictures of the build are missing.");
    }
}

} // namespace testenv
