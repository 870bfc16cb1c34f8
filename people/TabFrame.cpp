#include "people/TabFrame.h"

#include <QPainter>
#include <QTabBar>

TabFrame::TabFrame(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this))
{
    m_bar->setObjectName(QStringLiteral("TabStrip"));
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    connect(m_bar, &QTabBar::currentChanged, this, &TabFrame::currentChanged);
}

int TabFrame::addTab(const QString& caption)
{
    const int index = m_bar->addTab(caption);
    m_bar->resize(m_bar->sizeHint().width(), m_bar->sizeHint().height());
    return index;
}

int TabFrame::currentIndex() const
{
    return m_bar->currentIndex();
}

void TabFrame::setCurrentIndex(int index)
{
    m_bar->setCurrentIndex(index);
}

void TabFrame::setTabVisible(int index, bool visible)
{
    m_bar->setTabVisible(index, visible);
    m_bar->resize(m_bar->sizeHint());
}

bool TabFrame::isTabVisible(int index) const
{
    return m_bar->isTabVisible(index);
}

void TabFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_bar->setGeometry(0, 0, std::min(width(), m_bar->sizeHint().width()),
                       m_bar->sizeHint().height());
}

void TabFrame::paintEvent(QPaintEvent*)
{
    // The area under the tabs in the control's own colour, inside a thin raised edge.
    QPainter p(this);
    const int top = m_bar->geometry().bottom();
    const QRect area(0, top, width() - 1, height() - top - 1);
    p.fillRect(area, palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(area.topLeft(), area.topRight());
    p.drawLine(area.topLeft(), area.bottomLeft());
    p.setPen(palette().color(QPalette::Shadow));
    p.drawLine(area.bottomLeft(), area.bottomRight());
    p.drawLine(area.topRight(), area.bottomRight());
}
