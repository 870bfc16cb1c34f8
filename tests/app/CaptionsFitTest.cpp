#include "people/Registration.h"
#include "people/TabFrame.h"
#include "people/frmDirectory.h"
#include "reports/Registration.h"
#include "reports/frmReports.h"
#include "stats/Registration.h"
#include "shell/Panel.h"
#include "shell/ProgramState.h"
#include "shell/ScreenRegistry.h"
#include "shell/ShowReport.h"
#include "shell/frmAbout.h"
#include "shell/frmOptions.h"
#include "shell/frmMainMDI.h"
#include "shell/frmMessage.h"
#include "shell/frmSplash.h"
#include "platform/report/Registry.h"
#include "tests/support/DataFixture.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Text as a control shows it: a mnemonic's "&" is not drawn, "&&" draws one.
QString shownText(QString text)
{
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

// Whether text drawn in `room` (wrapped at its width when asked) needs more room than that.
bool overflows(const QFontMetrics& fm, const QRect& room, bool wrap, const QString& text)
{
    const int flags = Qt::AlignLeft | Qt::AlignTop | (wrap ? Qt::TextWordWrap : 0);
    const QRect needed = fm.boundingRect(QRect(0, 0, room.width(), 100000), flags, text);
    return needed.width() > room.width() || needed.height() > room.height();
}

// The captions of a window that do not fit their controls, one line each.
QStringList cutCaptions(QWidget* window)
{
    QStringList cut;
    const auto report = [&](const QWidget* w, const QString& text) {
        cut << QStringLiteral("%1 \"%2\"").arg(nameOf(w), text);
    };
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (!w->isVisible())
            continue;
        const QFontMetrics fm = w->fontMetrics();
        QStyle* style = w->style();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text().isEmpty() || Qt::mightBeRichText(label->text()))
                continue;
            const QString text = label->buddy() ? shownText(label->text()) : label->text();
            QRect room = label->contentsRect().marginsRemoved(
                QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
            int indent = label->indent();
            if (indent < 0 && label->frameWidth() > 0)
                indent = fm.horizontalAdvance(QLatin1Char('x')) / 2;
            if (indent > 0)
                room.setWidth(room.width() - indent);
            if (overflows(fm, room, label->wordWrap(), text))
                report(label, text);
        } else if (auto* panel = qobject_cast<Panel*>(w)) {
            if (!panel->Caption().isEmpty() &&
                overflows(fm, panel->contentsRect(), true, panel->Caption()))
                report(panel, panel->Caption());
        } else if (auto* push = qobject_cast<QPushButton*>(w)) {
            if (push->text().isEmpty())
                continue;
            QStyleOptionButton opt;
            opt.initFrom(push);
            opt.text = push->text();
            opt.icon = push->icon();
            opt.iconSize = push->iconSize();
            const QRect room = style->subElementRect(QStyle::SE_PushButtonContents, &opt, push);
            int needed = fm.horizontalAdvance(shownText(push->text()));
            if (!push->icon().isNull())
                needed += push->iconSize().width() + 4;
            if (needed > room.width())
                report(push, push->text());
        } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            auto* button = static_cast<QAbstractButton*>(w);
            if (button->text().isEmpty())
                continue;
            QStyleOptionButton opt;
            opt.initFrom(button);
            opt.text = button->text();
            const bool check = qobject_cast<QCheckBox*>(w) != nullptr;
            const QRect room = style->subElementRect(
                check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &opt, button);
            if (fm.horizontalAdvance(shownText(button->text())) > room.width())
                report(button, button->text());
        } else if (auto* tool = qobject_cast<QToolButton*>(w)) {
            if (!tool->text().isEmpty() && tool->toolButtonStyle() != Qt::ToolButtonIconOnly &&
                tool->sizeHint().width() > tool->width())
                report(tool, tool->text());
        } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < bar->count(); ++i) {
                if (!bar->isTabVisible(i))
                    continue;
                QStyleOptionTab opt;
                opt.initFrom(bar);
                opt.rect = bar->tabRect(i);
                opt.text = bar->tabText(i);
                opt.shape = bar->shape();
                const QRect room = style->subElementRect(QStyle::SE_TabBarTabText, &opt, bar);
                if (fm.horizontalAdvance(shownText(opt.text)) > room.width() ||
                    opt.rect.right() >= bar->width())
                    report(bar, opt.text);
            }
        } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
            // Trees and lists: their widest entry (with its indentation and picture) fits the
            // visible width. (The lists of drop-downs are not on view.)
            if (!qobject_cast<QTreeView*>(w) && !qobject_cast<QListView*>(w))
                continue;
            if (!view->model())
                continue;
            const auto* tree = qobject_cast<QTreeView*>(w);
            const std::function<void(const QModelIndex&, int)> entries =
                [&](const QModelIndex& parent, int depth) {
                    for (int row = 0; row < view->model()->rowCount(parent); ++row) {
                        const QModelIndex index = view->model()->index(row, 0, parent);
                        const int indent = tree ? tree->indentation() * (depth + 1) : 0;
                        if (indent + view->sizeHintForIndex(index).width() >
                            view->viewport()->width())
                            report(view, index.data().toString());
                        if (tree && tree->isExpanded(index))
                            entries(index, depth + 1);
                    }
                };
            entries(view->rootIndex(), 0);
        }
    }
    return cut;
}

// Opens each screen of the program on a small data file and looks at each of its states.
class Walk {
public:
    explicit Walk(testing_support::DataFixture& db) : m_db(db) {}

    frmMainMDI& main() { return *program().MainForm; }
    void node(int index)
    {
        main().ClickNode(static_cast<std::int16_t>(index));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Looks at a window as it is now.
    void look(QWidget* window, const QString& state = QString())
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window->window()));
        for (const QString& line : cutCaptions(window))
            ADD_FAILURE()
                << (state.isEmpty() ? QString() : state + QStringLiteral(": ")).toStdString()
                << line.toStdString();
    }
    // The directory on each of its tabs.
    void eachTab()
    {
        auto* screen = qobject_cast<frmDirectory*>(main().CurrentForm());
        ASSERT_NE(screen, nullptr);
        for (int tab = 0; tab < 4; ++tab) {
            if (!screen->SSTabCtl->isTabVisible(tab))
                continue;
            screen->SSTabCtl->setCurrentIndex(tab);
            look(&main(), QStringLiteral("tab %1").arg(tab));
        }
    }
    // The report catalogue with each entry chosen.
    void eachCatalogueEntry()
    {
        auto* screen = qobject_cast<frmReports*>(main().CurrentForm());
        ASSERT_NE(screen, nullptr);
        for (int row = 0; row < screen->ReportList->count(); ++row) {
            screen->ReportList->setCurrentRow(row);
            look(&main(), screen->ReportList->item(row)->text());
        }
    }

private:
    testing_support::DataFixture& m_db;
};

// Each screen of the program: how to reach it and look at it. A new screen is one more line.
const std::vector<std::pair<const char*, std::function<void(Walk&)>>> kScreens = {
    {"main window and Start page", [](Walk& w) { w.node(1), w.look(&w.main()); }},
    {"members directory", [](Walk& w) { w.node(3), w.eachTab(); }},
    {"visitors directory", [](Walk& w) { w.node(2), w.eachTab(); }},
    {"meetings", [](Walk& w) { w.node(4), w.look(&w.main()); }},
    {"report catalogue", [](Walk& w) { w.node(5), w.eachCatalogueEntry(); }},
    {"report preview",
     [](Walk& w) {
         w.node(5);
         ShowReport(report::createLayout(QStringLiteral("rptDirectory")), true);
         w.look(&w.main());
     }},
    {"options dialog",
     [](Walk& w) {
         frmOptions* options = frmOptions::ShowOptions(&w.main());
         for (int tab = 0; tab < options->tbsOptions->count(); ++tab) {
             options->tbsOptions->setCurrentIndex(tab);
             w.look(options, options->tbsOptions->tabText(tab));
         }
         options->close();
     }},
    {"about dialog", [](Walk& w) { w.look(frmAbout::ShowAbout(&w.main())); }},
    {"e-mail list window", [](Walk& w) { w.look(frmMessage::ShowMessage(&w.main())); }},
    {"splash",
     [](Walk& w) {
         frmSplash splash;
         splash.show();
         w.look(&splash);
     }},
};

class CaptionsFit : public ::testing::Test {
protected:
    CaptionsFit()
    {
        RegisterPeople();
        RegisterReports();
        RegisterStats();
        db.addPerson("Ann", "Adams", {{"Youth_Status", 1}, {"Youth_Team", "Blue"}});
        db.addPerson("Bob", "Brown", {{"Youth_Status", 1}, {"Youth_Visitor", true}});
        const int week = db.addMeeting(QDate(2024, 5, 12), {{"Wk_Mtg_Type", "Sunday"}});
        db.attend(week, {1, 2});
        program().MainForm = std::make_unique<frmMainMDI>();
        main().Load();
        main().Show();
    }
    frmMainMDI& main() { return *program().MainForm; }

    testing_support::DataFixture db;
};

TEST_F(CaptionsFit, TheInterfaceFontIsTheOneTheDesignsWereMadeFor)
{
    const QFontInfo font(QApplication::font());
    EXPECT_EQ(font.family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(font.pointSize(), 8);
}

TEST_F(CaptionsFit, EveryCaptionOfEveryScreenFitsItsControl)
{
    // The main window at the size of a small screen, the tree at its starting width.
    main().setGeometry(0, 0, 1024, 700);
    Walk walk(db);
    for (const auto& [name, visit] : kScreens) {
        SCOPED_TRACE(name);
        visit(walk);
    }
}

} // namespace
