#include "tests/support/ScreenDoubles.h"

#include "shell/ShowReport.h"
#include "shell/frmMainMDI.h"

#include <QTest>
#include <QTreeWidget>

#include <stdexcept>

namespace testing_support {

namespace {
const QStringList kScreenNames = {QStringLiteral("frmDefault"), QStringLiteral("frmDirectory"),
                                  QStringLiteral("frmServices"), QStringLiteral("frmReports")};
const QString kPreviewName = QStringLiteral("frmCustomActiveReportsPreview");
} // namespace

RecordingScreen::RecordingScreen(const QString& formName, ScreenLog& log)
    : ContentForm(formName), m_log(log),
      m_tag(formName + QLatin1Char('#') + QString::number(++log.created))
{}

RecordingScreen::~RecordingScreen() = default;

void RecordingScreen::Form_Load()
{
    m_log.events << QStringLiteral("load ") + m_tag;
    if (onLoad)
        onLoad(*this);
}

void RecordingScreen::Form_Unload()
{
    m_log.events << QStringLiteral("unload ") + m_tag;
}

RecordingPreview::RecordingPreview(ScreenLog& log) : PreviewForm(kPreviewName), m_log(log) {}

void RecordingPreview::SetReport(std::shared_ptr<report::Report> report)
{
    m_report = std::move(report);
    m_log.events << QStringLiteral("report ") + (m_report ? m_report->Caption() : QString());
}

void RecordingPreview::CloseByUser()
{
    m_closingByUser = true;
    Unload();
}

void RecordingPreview::Form_Load()
{
    m_log.events << QStringLiteral("load preview");
}

void RecordingPreview::Form_Unload()
{
    m_log.events << QStringLiteral("unload preview");
    m_report.reset();
    if (m_closingByUser)
        ShowReport(nullptr, false);
}

RecordingScreens::RecordingScreens()
{
    for (const QString& name : kScreenNames) {
        ScreenRegistry::registerScreen(name, [this, name] {
            auto* screen = new RecordingScreen(name, log);
            screen->onLoad = onLoad;
            return screen;
        });
    }
    ScreenRegistry::registerScreen(kPreviewName, [this] { return new RecordingPreview(log); });
}

RecordingScreens::~RecordingScreens()
{
    for (const QString& name : kScreenNames)
        ScreenRegistry::unregisterScreen(name);
    ScreenRegistry::unregisterScreen(kPreviewName);
}

void clickTreeNode(frmMainMDI& main, const QString& text)
{
    const auto found = main.SSTree1->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.size() != 1)
        throw std::runtime_error("no navigation node " + text.toStdString());
    main.SSTree1->scrollToItem(found.front());
    const QPoint at = main.SSTree1->visualItemRect(found.front()).center();
    QTest::mouseClick(main.SSTree1->viewport(), Qt::LeftButton, {}, at);
}

QString highlightedNode(frmMainMDI& main)
{
    const QTreeWidgetItem* item = main.SSTree1->currentItem();
    return item ? item->text(0) : QString();
}

} // namespace testing_support
