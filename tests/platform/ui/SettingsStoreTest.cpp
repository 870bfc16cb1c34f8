#include "platform/ui/RealServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(QSettingsStore, MatchesSectionsAndKeysWithoutRegardToCase)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Corvessa.ini"));
    ui::QSettingsStore store(file);

    EXPECT_FALSE(store.read(QStringLiteral("Members"), QStringLiteral("AutoGradSchool")));
    EXPECT_EQ(store.value(QStringLiteral("Members"), QStringLiteral("AutoGradSchool"),
                          QStringLiteral("x")),
              QStringLiteral("x"));

    store.write(QStringLiteral("Members"), QStringLiteral("AutoGradSchool"),
                QStringLiteral("True"));
    store.write(QStringLiteral("MEMBERS"), QStringLiteral("autogradschool"), QStringLiteral("0"));
    EXPECT_EQ(store.read(QStringLiteral("members"), QStringLiteral("AUTOGRADSCHOOL")),
              QStringLiteral("0"));

    // One key in the file, under the spelling first written.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(f.readAll());
    EXPECT_EQ(content.count(QStringLiteral("AutoGradSchool"), Qt::CaseInsensitive), 1);
    EXPECT_TRUE(content.contains(QStringLiteral("[Members]")));
    EXPECT_FALSE(content.contains(QStringLiteral("MEMBERS")));

    // Another store on the same file (a later run) reads it back.
    ui::QSettingsStore later(file);
    EXPECT_EQ(later.read(QStringLiteral("Members"), QStringLiteral("AutoGradSchool")),
              QStringLiteral("0"));
}

TEST(QSettingsStore, KeepsTextWithCommasAndQuotes)
{
    QTemporaryDir dir;
    ui::QSettingsStore store(dir.filePath(QStringLiteral("s.ini")));
    const QString name = QStringLiteral("St. Mark's Youth, \"Seniors\"");
    store.write(QStringLiteral("GroupInfo"), QStringLiteral("GroupName"), name);
    EXPECT_EQ(store.read(QStringLiteral("GroupInfo"), QStringLiteral("GroupName")), name);
}

TEST(QSettingsStore, ReportsAWriteThatCannotBeStoredAndAFileThatCannotBeRead)
{
    ui::QSettingsStore store(QStringLiteral("/proc/corvessa-no-such-dir/s.ini"));
    EXPECT_THROW(store.write(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")),
                 ui::SettingsStoreError);

    // A folder where the file belongs, and a damaged file: neither is read as an empty store,
    // and neither is written over.
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Corvessa.ini"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString damaged = dir.filePath(QStringLiteral("Damaged.ini"));
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Members\nAutoGradVisitor=False\n");
    }
    for (const QString& file : {folder, damaged}) {
        SCOPED_TRACE(file.toStdString());
        ui::QSettingsStore unreadable(file);
        try {
            unreadable.read(QStringLiteral("Members"), QStringLiteral("AutoGradVisitor"));
            ADD_FAILURE() << "read as if it were a settings file";
        } catch (const ui::SettingsStoreError& e) {
            EXPECT_TRUE(QString::fromStdString(e.what()).startsWith(
                QStringLiteral("The settings file %1 cannot be read: it ").arg(file)))
                << e.what();
        }
        EXPECT_EQ(unreadable.value(QStringLiteral("Members"), QStringLiteral("AutoGradVisitor"),
                                   QStringLiteral("1")),
                  QStringLiteral("1"));
        EXPECT_THROW(unreadable.write(QStringLiteral("Members"), QStringLiteral("AutoGradVisitor"),
                                      QStringLiteral("True")),
                     ui::SettingsStoreError);
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    QFile f(damaged);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Members\nAutoGradVisitor=False\n"));
}

TEST(PipeFilter, BecomesQtFilter)
{
    EXPECT_EQ(ui::qtFilterFromPipes(QStringLiteral("Tab-Delimited Text (*.txt)|*.txt")),
              QStringLiteral("Tab-Delimited Text (*.txt)"));
    EXPECT_EQ(ui::qtFilterFromPipes(QStringLiteral("Pictures|*.jpg;*.gif|All|*.*")),
              QStringLiteral("Pictures (*.jpg *.gif);;All (*.*)"));
    // A description with parentheses of its own is followed by the patterns it stands for.
    EXPECT_EQ(ui::qtFilterFromPipes(QStringLiteral("All Files (*.*)|*.*|Graphics Files (*.gif, "
                                                   "*.jpg, etc.)|*.gif; *.jpg; *.tif; *.bmp")),
              QStringLiteral("All Files (*.*);;Graphics Files (*.gif, *.jpg, etc.) (*.gif *.jpg "
                             "*.tif *.bmp)"));
}
