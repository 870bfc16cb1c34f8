#include "reports/BulkEmail.h"
#include "shell/ProgramState.h"
#include "shell/frmMessage.h"
#include "tests/support/TestEnvironment.h"

#include <QPlainTextEdit>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class BulkEmailTest : public ::testing::Test {
protected:
    frmMessage* messageWindow() const
    {
        return owner->findChild<frmMessage*>(QStringLiteral("frmMessage"));
    }

    // A list of exactly n characters: addresses, each followed by "; ".
    static QString listOfLength(int n)
    {
        QString list;
        int k = 0;
        while (list.size() + 40 < n)
            list += QStringLiteral("member%1@example.org; ").arg(k++, 4, 10, QLatin1Char('0'));
        const int local = n - list.size() - static_cast<int>(qstrlen("@example.org; "));
        return list + QString(local, QLatin1Char('x')) + QStringLiteral("@example.org; ");
    }

    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
};

} // namespace

TEST_F(BulkEmailTest, QueryAppendsTheFilterAfterItsOwnConditions)
{
    EXPECT_EQ(bulkemail::QueryText(QString()),
              QStringLiteral("SELECT DISTINCT Youth_Email From Youth WHERE Youth_Email <> '' and "
                             "Youth_Email IS NOT NULL AND Youth_Deleted = False ;"));
    EXPECT_EQ(bulkemail::QueryText(QStringLiteral("Youth_Mail_List=-1")),
              QStringLiteral("SELECT DISTINCT Youth_Email From Youth WHERE Youth_Email <> '' and "
                             "Youth_Email IS NOT NULL AND Youth_Deleted = False  AND "
                             "Youth_Mail_List=-1;"));
}

TEST_F(BulkEmailTest, ASmallListGoesToTheMailProgramAsOneEncodedLink)
{
    program().BulkEmailList = QStringLiteral("from before");
    bulkemail::Deliver(QStringLiteral("a@x.org; b@y.org; c@z.org; "), owner.get());
    ASSERT_EQ(testenv::shell().opened.size(), 1);
    EXPECT_EQ(testenv::shell().opened.front(),
              QStringLiteral("mailto:a@x.org;%20b@y.org;%20c@z.org;%20"));
    EXPECT_EQ(program().BulkEmailList, QString());
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_EQ(messageWindow(), nullptr);
}

TEST_F(BulkEmailTest, CharactersThatWouldBreakTheLinkAreEncoded)
{
    const QString list = QStringLiteral("pat#1@x.org; who?@y.org; 100%@z.org; j+k@x.org; ");
    bulkemail::Deliver(list, owner.get());
    ASSERT_EQ(testenv::shell().opened.size(), 1);
    const QString link = testenv::shell().opened.front();
    EXPECT_EQ(link, QStringLiteral(
                        "mailto:pat%231@x.org;%20who%3F@y.org;%20100%25@z.org;%20j+k@x.org;%20"));
    // The link reads back as the list, every address whole.
    const QUrl url(link, QUrl::StrictMode);
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(url.path(QUrl::FullyDecoded), list);
    EXPECT_FALSE(url.hasFragment());
    EXPECT_FALSE(url.hasQuery());
}

TEST_F(BulkEmailTest, ListsOf1020CharactersOrMoreGoToTheMessageWindow)
{
    const QString short1019 = listOfLength(1019);
    ASSERT_EQ(short1019.size(), 1019);
    bulkemail::Deliver(short1019, owner.get());
    EXPECT_EQ(testenv::shell().opened.size(), 1);
    EXPECT_EQ(messageWindow(), nullptr);

    const QString long1020 = listOfLength(1020);
    ASSERT_EQ(long1020.size(), 1020);
    bulkemail::Deliver(long1020, owner.get());
    EXPECT_EQ(testenv::shell().opened.size(), 1); // not handed to the shell
    EXPECT_EQ(program().BulkEmailList, long1020);
    ASSERT_NE(messageWindow(), nullptr);
    EXPECT_FALSE(messageWindow()->isHidden());
    EXPECT_EQ(messageWindow()->txtContent->toPlainText(), long1020);
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST_F(BulkEmailTest, WhenTheMailProgramCannotStartTheListIsShownAndKeptCurrent)
{
    testenv::shell().succeed = false;
    bulkemail::Deliver(QStringLiteral("a@x.org; "), owner.get());
    EXPECT_EQ(testenv::shell().opened.size(), 1);
    ASSERT_NE(messageWindow(), nullptr);
    EXPECT_EQ(messageWindow()->txtContent->toPlainText(), QStringLiteral("a@x.org; "));
    EXPECT_EQ(program().BulkEmailList, QStringLiteral("a@x.org; "));

    // A second e-mail while the window is still open shows its own list in the same window.
    frmMessage* first = messageWindow();
    bulkemail::Deliver(QStringLiteral("b@y.org; c@z.org; "), owner.get());
    EXPECT_EQ(owner->findChildren<frmMessage*>().size(), 1);
    EXPECT_EQ(messageWindow(), first);
    EXPECT_EQ(messageWindow()->txtContent->toPlainText(), QStringLiteral("b@y.org; c@z.org; "));
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST_F(BulkEmailTest, NoAddressesIsSaidPlainly)
{
    program().BulkEmailList = QStringLiteral("from before");
    bulkemail::Deliver(QString(), owner.get());
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(testenv::messages().last().title, QStringLiteral("No matching e-mail addresses"));
    EXPECT_EQ(testenv::messages().last().text,
              QStringLiteral(
                  "No one matching your criteria has an e-mail address in their member profile."));
    EXPECT_EQ(program().BulkEmailList, QString());
    EXPECT_TRUE(testenv::shell().opened.isEmpty());
    EXPECT_EQ(messageWindow(), nullptr);
}
