#pragma once

#include <QQuickImageProvider>

// Pictures of the scene in a colour of the scene's choosing: "image://tint/RRGGBB/qrc:/a.png"
// (or AARRGGBB) gives the picture with every pixel in that colour, its alpha kept. White arrows
// and icons take the colour of their control's state this way, drawn the same by every renderer
// and Qt version, without a graphical effect.
class TintImageProvider : public QQuickImageProvider
{
public:
    TintImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;
    // The picture of ID, a colour and a picture's URL, in that colour; a null image for a
    // malformed ID or a picture that does not load.
    static QImage tinted(const QString &id);
};
