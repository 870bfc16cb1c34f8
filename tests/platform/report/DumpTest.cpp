#include "tests/platform/report/TestLayouts.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/Engine.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace report;

namespace {

// One control of every kind, over two pages, with a failing handler.
struct EveryKind : Report {
    explicit EveryKind(Twips titleLeft = 0)
    {
        setCaption(QStringLiteral("Every \"Kind\""));
        PageHeader().setHeight(600);
        auto& title = PageHeader().Controls().add<Label>(QStringLiteral("Title"));
        title.setBounds(titleLeft, 0, 10740, 540);
        title.setFont(Font{QStringLiteral("Arial"), 18, true});
        title.setAlignment(Alignment::Center);
        title.setCaption(QStringLiteral("Every Kind"));

        GroupHeader& team = addGroup(QStringLiteral("TeamHeader"), QStringLiteral("TeamFooter"));
        team.setHeight(420);
        team.setBackColor(QColor(192, 192, 192));
        team.setBackStyle(BackStyle::Opaque);
        team.setGroupValue(data::Variant("Blue"));
        auto& box = team.Controls().add<Shape>(QStringLiteral("Shape1"));
        box.setBounds(0, 0, 10740, 420);

        Detail().setHeight(7000);
        Detail().setColumnCount(2);
        auto& name = Detail().Controls().add<TextBox>(QStringLiteral("txtName"));
        name.setBounds(60, 35, 2460, 240);
        name.setForeColor(QColor(0, 0, 128));
        auto& present = Detail().Controls().add<CheckBox>(QStringLiteral("chkPresent"));
        present.setBounds(2600, 35, 300, 240);
        auto& rule = Detail().Controls().add<Line>(QStringLiteral("Line1"));
        rule.setPoints(0, 280, 5000, 280);
        rule.setLineColor(QColor(128, 128, 128));
        auto& photo = Detail().Controls().add<Image>(QStringLiteral("MugShot"));
        photo.setBounds(60, 400, 1440, 1440);
        photo.setSizeMode(SizeMode::Zoom);
        photo.setPictureAlignment(PictureAlignment::Center);
        auto& star = Detail().Controls().add<Image>(QStringLiteral("bc_Asterisk_Start"));
        star.setBounds(60, 1900, 255, 300);
        star.setSizeMode(SizeMode::Stretch);
        QImage bars(32, 20, QImage::Format_RGB32);
        bars.fill(Qt::black);
        star.setPicture(bars, QStringLiteral("bars"));
        auto& chart = Detail().Controls().add<Chart>(QStringLiteral("GenderChart"));
        chart.setBounds(60, 2300, 3960, 2520);
        ChartData data;
        data.categories = {{QStringLiteral("Unassigned"), 1, {}},
                           {QStringLiteral("Male(52.4%)"), 11, QColor(0, 255, 0)},
                           {QStringLiteral(" "), 0, {}}};
        chart.setData(data);

        Detail().onFormat([this, &name, &present, &photo] {
            if (++m_rows > 3)
                return;
            name.setText(QStringLiteral("Person %1\r\n\"quoted\"").arg(m_rows));
            present.setValue(m_rows % 2);
            if (m_rows == 1)
                photo.loadPicture(testenv::programFile(QStringLiteral("Photos/1.png")));
            else
                photo.loadPicture(testenv::programFile(QStringLiteral("Photos/missing.png")));
            Detail().request();
        });
    }
    int m_rows = 0;
};

std::shared_ptr<const Document> runEveryKind(Twips titleLeft = 0)
{
    EveryKind layout(titleLeft);
    return run(layout);
}

void writePhoto()
{
    QDir().mkpath(testenv::programFile(QStringLiteral("Photos")));
    QImage photo(200, 100, QImage::Format_RGB32);
    photo.fill(Qt::red);
    ASSERT_TRUE(photo.save(testenv::programFile(QStringLiteral("Photos/1.png"))));
}

} // namespace

TEST(DocumentDump, WritesEveryPlacedSectionAndItemPageByPage)
{
    writePhoto();
    EveryKind layout;
    auto doc = run(layout);
    // The expected file is the reviewed reference for the dump's format.
    EXPECT_DUMP(*doc, "expected/every-kind.dump");
}

TEST(DocumentDump, TheComparisonFailsOnAMovedControlAndTheSwitchRewritesTheFile)
{
    writePhoto();
    const QString expected = testenv::programFile(QStringLiteral("expected/moved.dump"));
    qputenv(testing_support::kUpdateDumpsVariable, "1");
    const bool written = testing_support::matchesDump(*runEveryKind(), expected);
    qunsetenv(testing_support::kUpdateDumpsVariable);
    ASSERT_TRUE(written);
    ASSERT_TRUE(QFile::exists(expected));
    EXPECT_TRUE(testing_support::matchesDump(*runEveryKind(), expected));

    // The title 15 twips to the right.
    const auto moved = testing_support::matchesDump(*runEveryKind(15), expected);
    ASSERT_FALSE(moved);
    const std::string message = moved.message();
    EXPECT_NE(message.find("- "), std::string::npos);
    EXPECT_NE(message.find("Text Title: 735,792"), std::string::npos) << message;
    EXPECT_TRUE(QFile::exists(expected + QStringLiteral(".actual")));

    EXPECT_NONFATAL_FAILURE(EXPECT_DUMP(*runEveryKind(15), "expected/no-such-file.dump"),
                            "There is no expected file");
    QFile::remove(testing_support::besideSource(__FILE__, "expected/no-such-file.dump.actual"));
}
