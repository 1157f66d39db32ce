#pragma once

#include "record/RecordWidget.h"
#include "record/WaveformFrame.h"

#include <QAudioFormat>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace RecordTestSupport {

inline QAudioFormat pcmFormat(QAudioFormat::SampleType type, int bits, int channels = 2,
                              QAudioFormat::Endian order = QAudioFormat::LittleEndian)
{
    QAudioFormat format;
    format.setSampleRate(48000);
    format.setChannelCount(channels);
    format.setSampleSize(bits);
    format.setSampleType(type);
    format.setByteOrder(order);
    format.setCodec(QStringLiteral("audio/pcm"));
    return format;
}

// The parts of a recording window the tests look at, found by their object names.
inline QToolButton *button(const RecordWidget &w, const char *name)
{
    return w.findChild<QToolButton *>(QLatin1String(name));
}

inline QString timeText(const RecordWidget &w)
{
    return w.findChild<QLabel *>(QStringLiteral("lbTime"))->text();
}
inline QTimer *playTimer(const RecordWidget &w)
{
    return w.findChild<QTimer *>(QStringLiteral("playTimer"));
}
inline WaveformFrame *view(const RecordWidget &w)
{
    return w.findChild<WaveformFrame *>(QStringLiteral("waveforFrame"));
}

// A range selected with the mouse on the waveform, then Delete pressed.
inline void selectAndDelete(const RecordWidget &w, int from, int to)
{
    QWidget *canvas = view(w)->widget();
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(from, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(to, 100), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &move);
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(to, 100));
    QTest::keyClick(canvas, Qt::Key_Delete);
}

inline QString iconPath(const char *name)
{
    return QStringLiteral(":/image/blackSkin/%1.png").arg(QLatin1String(name));
}

// What the button shows, compared as pixels with the named resource image.
inline bool showsIcon(const QToolButton *button, const char *icon)
{
    const QImage wanted = QIcon(QPixmap(iconPath(icon))).pixmap(QSize(40, 40)).toImage();
    return !wanted.isNull() && button->icon().pixmap(QSize(40, 40)).toImage() == wanted;
}

inline bool showsIcons(const RecordWidget &w, const char *recordIcon, const char *pauseGoIcon)
{
    return showsIcon(button(w, "btnRecord"), recordIcon) && showsIcon(button(w, "btnPauseGo"), pauseGoIcon);
}

} // namespace RecordTestSupport
