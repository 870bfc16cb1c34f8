#include "platform/ui/RealServices.h"

#include <QFile>
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

TEST(QSettingsStore, ReportsAWriteThatCannotBeStored)
{
    ui::QSettingsStore store(QStringLiteral("/proc/corvessa-no-such-dir/s.ini"));
    EXPECT_THROW(store.write(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")),
                 ui::SettingsStoreError);
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
