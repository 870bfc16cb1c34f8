#include "people/PersonIcons.h"

#include "shell/StatusRules.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <exception>

namespace {

bool missingInAction(std::int16_t status, const data::Variant& lastAttended)
{
    try {
        return IsMIA(status, lastAttended);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

QString GetPersonIconKey(bool isVisitor, const data::Variant& lastAttended, std::int16_t status,
                         bool onMailList, bool isLeader)
{
    QString key = QStringLiteral("mbr");
    if (isVisitor)
        key += QLatin1Char('V');
    else if (!missingInAction(status, lastAttended))
        key += QString::number(status == 1 || status == 2 ? status : 3);
    else
        key += QLatin1String("MIA");
    if (!key.contains(QLatin1String("MIA"), Qt::CaseInsensitive)) {
        if (onMailList)
            key += QLatin1Char('M');
        if (isLeader)
            key += QLatin1Char('L');
    }
    return key;
}

const QStringList& PersonIconKeys()
{
    static const QStringList keys = [] {
        QStringList k;
        for (const char* kind : {"V", "1", "2", "3"})
            for (const char* marks : {"", "M", "L", "ML"})
                k << QStringLiteral("mbr") + QLatin1String(kind) + QLatin1String(marks);
        k << QStringLiteral("mbrMIA");
        return k;
    }();
    return keys;
}

namespace {

QColor kindColour(QChar kind)
{
    switch (kind.unicode()) {
    case 'V':
        return QColor(224, 138, 30); // visitor: orange
    case '1':
        return QColor(46, 158, 68); // active: green
    case '2':
        return QColor(60, 125, 217); // away: blue
    default:
        return QColor(140, 140, 140); // inactive or unassigned: grey
    }
}

// One picture on a 16 by 16 grid, scaled to the pixmap's size.
QPixmap drawPicture(const QString& key, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);

    const bool mia = key == QLatin1String("mbrMIA");
    const QString marks = mia ? QString() : key.mid(4);
    const QColor body = mia ? QColor(198, 40, 40) : kindColour(key.at(3));
    const QColor outline = body.darker(160);

    // The person: a head and shoulders.
    p.setPen(QPen(outline, 0.8));
    p.setBrush(body);
    p.drawEllipse(QPointF(8, 4.6), 3.1, 3.1);
    QPainterPath shoulders;
    shoulders.moveTo(2.2, 15.5);
    shoulders.cubicTo(2.2, 10.0, 4.5, 8.6, 8.0, 8.6);
    shoulders.cubicTo(11.5, 8.6, 13.8, 10.0, 13.8, 15.5);
    shoulders.closeSubpath();
    p.drawPath(shoulders);

    if (mia) {
        QFont f;
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 8, 12, 8), Qt::AlignCenter, QStringLiteral("?"));
    }
    if (marks.contains(QLatin1Char('M'))) {
        // On the mail list: an envelope, bottom left.
        const QRectF env(0.3, 10.2, 7.4, 5.2);
        p.setPen(QPen(QColor(40, 40, 40), 0.7));
        p.setBrush(Qt::white);
        p.drawRect(env);
        p.drawLine(env.topLeft(), QPointF(env.center().x(), env.center().y() + 0.6));
        p.drawLine(env.topRight(), QPointF(env.center().x(), env.center().y() + 0.6));
    }
    if (marks.contains(QLatin1Char('L'))) {
        // A leader: a star, top right.
        QPainterPath star;
        const QPointF c(12.6, 3.4);
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 == 0 ? 3.4 : 1.4;
            const double a = -M_PI / 2 + i * M_PI / 5;
            const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
            if (i == 0)
                star.moveTo(pt);
            else
                star.lineTo(pt);
        }
        star.closeSubpath();
        p.setPen(QPen(QColor(120, 90, 0), 0.6));
        p.setBrush(QColor(242, 194, 0));
        p.drawPath(star);
    }
    return pixmap;
}

} // namespace

QIcon PersonIcon(const QString& key)
{
    static QHash<QString, QIcon> icons;
    const auto found = icons.constFind(key);
    if (found != icons.constEnd())
        return *found;
    if (!PersonIconKeys().contains(key))
        return QIcon();
    QIcon icon;
    icon.addPixmap(drawPicture(key, 16));
    icon.addPixmap(drawPicture(key, 32));
    icons.insert(key, icon);
    return icon;
}
