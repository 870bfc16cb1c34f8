#pragma once

#include <QString>
#include <QWidget>

class QTabBar;

// A row of tabs over a framed area whose controls the owner places itself, in the control's
// own coordinates (the tab strip included), and shows or hides as the selected tab changes.
class TabFrame : public QWidget {
    Q_OBJECT
public:
    explicit TabFrame(QWidget* parent = nullptr);

    QTabBar* bar() const { return m_bar; }
    int addTab(const QString& caption);
    int currentIndex() const;
    void setCurrentIndex(int index);
    void setTabVisible(int index, bool visible);
    bool isTabVisible(int index) const;

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* m_bar;
};
