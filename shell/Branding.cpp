#include "shell/Branding.h"

#include "platform/ui/Services.h"

#include "Version.h"

#include <QPainter>
#include <QPixmap>

QString VersionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

QString CopyrightLine()
{
    return QStringLiteral("Copyright \u00A9 1999-%1 %2").arg(ui::today().year()).arg(kMakerName);
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1f, 0x4e, 0x79));
        p.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(size * 5 / 8);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("C"));
        icon.addPixmap(pixmap);
    }
    return icon;
}
