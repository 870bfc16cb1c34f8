#include "shell/PhotoPath.h"

#include "platform/ui/Services.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

QString PhotoFolder()
{
    return QDir(ui::programFolder()).filePath(QStringLiteral("Photos"));
}

QString ResolvePhotoPath(const QString& stored)
{
    const QString path = stored.trimmed();
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).isFile())
        return path;
    // The file name is what follows the last folder separator of either kind.
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    const QString name = path.mid(cut + 1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    const QString local = QDir(PhotoFolder()).filePath(name);
    return QFileInfo(local).isFile() ? local : QString();
}
