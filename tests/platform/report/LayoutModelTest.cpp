#include "platform/report/Registry.h"
#include "platform/report/Report.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace report;

TEST(ControlCollection, AddsTheFourClassNamesInAnyLetterCase)
{
    Section section(SectionKind::PageHeader, QStringLiteral("PageHeader"));
    ControlCollection& controls = section.Controls();
    EXPECT_EQ(controls.Add(QStringLiteral("DDActiveReports.Label")).kind(), ControlKind::Label);
    EXPECT_EQ(controls.Add(QStringLiteral("DDActiveReports.label")).kind(), ControlKind::Label);
    EXPECT_EQ(controls.Add(QStringLiteral("DDActiveReports.Line")).kind(), ControlKind::Line);
    EXPECT_EQ(controls.Add(QStringLiteral("ddactivereports.SHAPE")).kind(), ControlKind::Shape);
    EXPECT_EQ(controls.Add(QStringLiteral("DDActiveReports.Checkbox")).kind(),
              ControlKind::CheckBox);
    EXPECT_EQ(controls.Count(), 5);

    EXPECT_THROW(controls.Add(QStringLiteral("DDActiveReports.Image")), ReportError);
    EXPECT_THROW(controls.Add(QStringLiteral("Label")), ReportError);
    EXPECT_THROW(controls.Add(QStringLiteral("Other.Label")), ReportError);
    EXPECT_EQ(controls.Count(), 5);
}

TEST(ControlCollection, FindsControlsByNameWithoutRegardToCaseOrByPosition)
{
    Section section(SectionKind::Detail, QStringLiteral("Detail"));
    ControlCollection& controls = section.Controls();
    Label& title = controls.add<Label>(QStringLiteral("Title"));
    TextBox& field = controls.add<TextBox>(QStringLiteral("txtName"));
    Control& added = controls.Add(QStringLiteral("DDActiveReports.Shape"));

    EXPECT_EQ(&controls.Item(QStringLiteral("title")), &title);
    EXPECT_EQ(&controls.Item(QStringLiteral("TXTNAME")), &field);
    EXPECT_EQ(&controls.Item(0), &title);
    EXPECT_EQ(&controls.Item(2), &added);
    EXPECT_EQ(&controls.Item<TextBox>(QStringLiteral("txtName")), &field);

    EXPECT_THROW(controls.Item(3), ReportError);
    EXPECT_THROW(controls.Item(-1), ReportError);
    EXPECT_THROW(controls.Item(QStringLiteral("missing")), ReportError);
    EXPECT_THROW(controls.Item<Label>(QStringLiteral("txtName")), ReportError);
    EXPECT_EQ(controls.find<Label>(QStringLiteral("txtName")), nullptr);
    // A control added without a name is reached by position only.
    EXPECT_EQ(controls.find(QString()), nullptr);
}

TEST(ControlGeometry, ALineIsPlacedByItsEndPointsAndMovesWhole)
{
    Line line(QStringLiteral("rule"));
    line.setPoints(4740, 3720, 180, 3300);
    EXPECT_EQ(line.rect(), QRectF(180, 3300, 4560, 420));
    EXPECT_EQ(line.bottom(), 3720);

    line.setTop(4000);
    EXPECT_EQ(line.Y1(), 4420);
    EXPECT_EQ(line.Y2(), 4000);
    line.setLeft(0);
    EXPECT_EQ(line.X1(), 4560);
    EXPECT_EQ(line.X2(), 0);
    line.setHeight(100); // the lower end moves
    EXPECT_EQ(line.Y1(), 4100);
    EXPECT_EQ(line.Y2(), 4000);
}

TEST(ControlGeometry, LabelsAddedByClassNameFitRowsTwoHundredTwipsApart)
{
    Section section(SectionKind::PageHeader, QStringLiteral("PageHeader"));
    auto& label =
        static_cast<Label&>(section.Controls().Add(QStringLiteral("DDActiveReports.Label")));
    EXPECT_GT(label.Width(), 0);
    EXPECT_TRUE(label.Visible());
    // A table of added labels 200 apart: each label and its text stay within its row.
    EXPECT_LE(label.Height(), 200);
    label.setCaption(QStringLiteral("Springfield High School"));
    const QFontMetricsF metrics(toQFont(label.Font()));
    EXPECT_LE(metrics.height(), label.Height());
    EXPECT_EQ(label.Alignment(), Alignment::Left);
    EXPECT_EQ(label.BackStyle(), BackStyle::Transparent);
}

TEST(ControlSnapshot, ItemsKeepTheValuesOfTheMomentTheyWereTaken)
{
    Label label(QStringLiteral("Title"));
    label.setBounds(100, 200, 3000, 300);
    label.setCaption(QStringLiteral("one\r\ntwo"));
    SnapshotContext context;
    const PageItem item = label.snapshot(QPointF(720, 1000), context);
    label.setCaption(QStringLiteral("changed"));
    label.setLeft(0);

    const auto& text = std::get<TextItem>(item);
    EXPECT_EQ(text.text, QStringLiteral("one\ntwo"));
    EXPECT_EQ(text.rect, QRectF(820, 1200, 3000, 300));
    EXPECT_EQ(text.control, QStringLiteral("Title"));
}

TEST(Colors, NumbersHoldRedInTheLowByte)
{
    EXPECT_EQ(colorFromLong(0xFFFF), QColor(255, 255, 0));
    EXPECT_EQ(colorFromLong(0xC0), QColor(192, 0, 0));
    EXPECT_EQ(colorFromLong(0x808080), QColor(128, 128, 128));
    EXPECT_EQ(colorFromLong(0xFF0000), QColor(0, 0, 255));
}

TEST(ReportSections, AreFoundByNameInBandOrder)
{
    Report layout;
    GroupHeader& outer =
        layout.addGroup(QStringLiteral("TeamHeader"), QStringLiteral("TeamFooter"));
    GroupHeader& inner =
        layout.addGroup(QStringLiteral("MonthHeader"), QStringLiteral("GroupFooter1"));
    EXPECT_EQ(layout.section(QStringLiteral("teamheader")), &outer);
    EXPECT_EQ(layout.section(QStringLiteral("GroupFooter1")), &inner.footer());
    EXPECT_EQ(layout.section(QStringLiteral("Detail")), &layout.Detail());
    EXPECT_EQ(layout.section(QStringLiteral("None")), nullptr);
    QStringList names;
    for (Section* s : layout.sections())
        names << s->Name();
    EXPECT_EQ(names, QStringList({"PageHeader", "TeamHeader", "MonthHeader", "Detail",
                                  "GroupFooter1", "TeamFooter", "PageFooter"}));
}

TEST(ReportPageSetup, PrintableSizeFollowsPaperMarginsAndOrientationUnlessSet)
{
    Report layout;
    layout.Printer().setOrientation(Orientation::Landscape);
    EXPECT_EQ(layout.PrintWidth(), 15840 - 1440);
    EXPECT_EQ(layout.PrintHeight(), 12240 - 1584);
    layout.Printer().setMargins(840, 720, 840, 720);
    EXPECT_EQ(layout.PrintWidth(), 14160);
    EXPECT_EQ(layout.PrintHeight(), 10800);
    layout.setPrintWidth(14256);
    layout.Printer().setOrientation(Orientation::Portrait);
    EXPECT_EQ(layout.PrintWidth(), 14256);
    EXPECT_EQ(layout.PrintHeight(), 15840 - 1440);
}

TEST(LayoutRegistry, CreatesRegisteredLayoutsByExactNameAndNothingForOthers)
{
    int made = 0;
    registerLayout(QStringLiteral("rptTestOnly"), [&made] {
        ++made;
        auto layout = std::make_shared<Report>();
        layout->setCaption(QStringLiteral("Test"));
        return layout;
    });
    auto first = createLayout(QStringLiteral("rptTestOnly"));
    auto second = createLayout(QStringLiteral("rptTestOnly"));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second); // a new object each time
    EXPECT_EQ(first->Caption(), QStringLiteral("Test"));
    EXPECT_EQ(made, 2);
    EXPECT_EQ(createLayout(QStringLiteral("rpttestonly")), nullptr);
    EXPECT_EQ(createLayout(QStringLiteral("rptUnknown")), nullptr);
    EXPECT_TRUE(registeredLayouts().contains(QStringLiteral("rptTestOnly")));

    unregisterLayout(QStringLiteral("rptTestOnly"));
    EXPECT_EQ(createLayout(QStringLiteral("rptTestOnly")), nullptr);
}
