#pragma once

#include "reports/frmReports.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

// Driving the Reports screen as a user does: clicks on the catalogue and the buttons, keys in
// the lists and boxes.
namespace reports_test {

inline void chooseReport(frmReports& screen, const QString& title)
{
    const auto items = screen.ReportList->findItems(title, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << title.toStdString();
    screen.ReportList->scrollToItem(items.front());
    const QRect r = screen.ReportList->visualItemRect(items.front());
    QTest::mouseClick(screen.ReportList->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(screen.ReportList->currentItem(), items.front()) << title.toStdString();
}

// Picks an item of a drop-down list with the keyboard.
inline void chooseItem(QComboBox* list, const QString& text)
{
    ASSERT_GE(list->findText(text), 0) << text.toStdString();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentText() != text; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentText(), text);
}

inline void typeInto(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

inline void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

inline QComboBox* list(frmReports& screen, FilterIndex i)
{
    return screen.Select_Filter[static_cast<std::size_t>(i)];
}

} // namespace reports_test
