#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QToolButton>

// Helpers shared by the recording panel's tests.
namespace RecordTestSupport {

inline QString iconPath(const char *name)
{
    return QStringLiteral(":/image/blackSkin/%1.png").arg(QLatin1String(name));
}

// What the button shows, compared as pixels with the named resource image.
inline bool showsIcon(const QToolButton *button, const char *name)
{
    const QImage shown = button->icon().pixmap(QSize(40, 40)).toImage();
    const QImage wanted = QIcon(QPixmap(iconPath(name))).pixmap(QSize(40, 40)).toImage();
    return !wanted.isNull() && shown == wanted;
}

} // namespace RecordTestSupport
