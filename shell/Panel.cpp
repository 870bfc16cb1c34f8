#include "shell/Panel.h"

#include "platform/ui/Twips.h"

#include <QPainter>

Panel::Panel(const QString& name, QWidget* parent) : QFrame(parent)
{
    setObjectName(name);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
}

void Panel::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void Panel::setBorderWidth(int twips)
{
    m_borderWidth = twips;
    setLineWidth(twips > 0 ? std::max(1, ui::twipsToPixels(twips, this)) : 0);
    if (twips == 0)
        setFrameShape(QFrame::NoFrame);
}

void Panel::setBevelWidth(int twips)
{
    m_bevelWidth = twips;
    setMidLineWidth(twips > 0 ? std::max(1, ui::twipsToPixels(twips, this)) : 0);
}

void Panel::setCaptionAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void Panel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (m_caption.isEmpty())
        return;
    QPainter painter(this);
    painter.drawText(contentsRect(), static_cast<int>(m_alignment), m_caption);
}

void Panel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    emit resized();
}
