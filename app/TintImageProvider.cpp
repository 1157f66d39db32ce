#include "app/TintImageProvider.h"

#include <QColor>
#include <QPainter>
#include <QUrl>

TintImageProvider::TintImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{
}

QImage TintImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    QImage image = tinted(id);
    if (size)
        *size = image.size();
    if (!image.isNull() && requestedSize.isValid() && requestedSize != image.size())
        image = image.scaled(requestedSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage TintImageProvider::tinted(const QString &id)
{
    const int slash = id.indexOf(QLatin1Char('/'));
    const QColor colour(QLatin1Char('#') + id.left(slash));
    if (slash < 0 || !colour.isValid())
        return {};
    const QUrl url(QUrl::fromPercentEncoding(id.mid(slash + 1).toUtf8()));
    const QString path = url.scheme() == QLatin1String("qrc") ? QLatin1Char(':') + url.path() : url.toLocalFile();
    QImage image(path);
    if (image.isNull())
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), colour);
    return image;
}
