#include "tests/support/OtherCopy.h"

#include "tests/support/TestEnvironment.h"

#include "shell/ProgramState.h"
#include "shell/RunMarker.h"
#include "shell/clsCorvessa.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace testing_support {

QString writeOtherCopyMarker(const QString& host, qint64 pid, int minutesAgo)
{
    static int count = 0;
    const QString data = settings().DataFileName().isEmpty() ? QStringLiteral("CorvessaData.mdb")
                                                             : settings().DataFileName();
    const QString path =
        testenv::programFile(data + QStringLiteral(".run-%1-test%2").arg(pid).arg(++count));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("host=" + host.toUtf8() + "\npid=" + QByteArray::number(pid) + "\n");
    f.close();
    ageMarker(path, minutesAgo);
    return path;
}

void ageMarker(const QString& path, int minutesAgo)
{
    const QDateTime reference = program().ThisRun
                                    ? QFileInfo(program().ThisRun->path()).lastModified()
                                    : QDateTime::currentDateTime();
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadWrite));
    EXPECT_TRUE(
        f.setFileTime(reference.addSecs(-60 * minutesAgo), QFileDevice::FileModificationTime));
}

} // namespace testing_support
