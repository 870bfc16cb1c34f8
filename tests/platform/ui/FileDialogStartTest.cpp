#include "platform/ui/Services.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Runs with a home folder of its own, so that its documents folder can come and go.
class FileDialogStartTest : public ::testing::Test {
protected:
    FileDialogStartTest() : m_oldHome(qgetenv("HOME")) { qputenv("HOME", m_home.path().toUtf8()); }
    ~FileDialogStartTest() override { qputenv("HOME", m_oldHome); }
    QString home() const { return m_home.path(); }

private:
    QTemporaryDir m_home;
    QByteArray m_oldHome;
};

TEST_F(FileDialogStartTest, NeverOffersAMissingFoldersNameAsTheFile)
{
    const QString documents = QDir(home()).filePath("Documents");
    // No documents folder: the home folder, nothing offered.
    EXPECT_EQ(ui::documentsFolder(), home());
    ui::FileDialogStart start = ui::fileDialogStart(documents);
    EXPECT_EQ(start.folder, home());
    EXPECT_EQ(start.fileName, "");
    // A suggested file in a folder that is missing keeps its name.
    start = ui::fileDialogStart(QDir(documents).filePath("Member Directory.pdf"));
    EXPECT_EQ(start.folder, home());
    EXPECT_EQ(start.fileName, "Member Directory.pdf");

    ASSERT_TRUE(QDir(home()).mkdir("Documents"));
    EXPECT_EQ(ui::documentsFolder(), documents);
    start = ui::fileDialogStart(QDir(documents).filePath("Member Directory.pdf"));
    EXPECT_EQ(start.folder, documents);
    EXPECT_EQ(start.fileName, "Member Directory.pdf");
    start = ui::fileDialogStart(documents);
    EXPECT_EQ(start.folder, documents);
    EXPECT_EQ(start.fileName, "");
}

TEST(FileNameFor, TurnsACaptionIntoAFileName)
{
    EXPECT_EQ(ui::fileNameFor("Mailing Labels (Avery 5260)", "pdf"),
              "Mailing Labels (Avery 5260).pdf");
    EXPECT_EQ(ui::fileNameFor("Services/Meetings: 3\\4?", "pdf"), "Services Meetings 3 4.pdf");
    EXPECT_EQ(ui::fileNameFor("  ", "pdf"), "Report.pdf");
}

} // namespace
