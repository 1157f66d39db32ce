#pragma once

#include "record/RecordWidget.h"
#include "record/VectorButton.h"
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

enum class Sample { Signed, Unsigned, Float };

// A PCM format of the sample kind and size, little endian unless said. Qt 6 knows only
// unsigned 8-bit, signed 16- and 32-bit and 32-bit float samples, in the machine's own byte
// order: there the others give an invalid format.
inline QAudioFormat pcmFormat(Sample kind, int bits, int channels = 2, bool bigEndian = false)
{
    QAudioFormat format;
    format.setSampleRate(48000);
    format.setChannelCount(channels);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QAudioFormat::SampleFormat sample = bigEndian ? QAudioFormat::Unknown
        : kind == Sample::Unsigned && bits == 8         ? QAudioFormat::UInt8
        : kind == Sample::Signed && bits == 16          ? QAudioFormat::Int16
        : kind == Sample::Signed && bits == 32          ? QAudioFormat::Int32
        : kind == Sample::Float && bits == 32           ? QAudioFormat::Float
                                                        : QAudioFormat::Unknown;
    format.setSampleFormat(sample);
#else
    format.setSampleSize(bits);
    format.setSampleType(kind == Sample::Signed         ? QAudioFormat::SignedInt
                             : kind == Sample::Unsigned ? QAudioFormat::UnSignedInt
                                                        : QAudioFormat::Float);
    format.setByteOrder(bigEndian ? QAudioFormat::BigEndian : QAudioFormat::LittleEndian);
    format.setCodec(QStringLiteral("audio/pcm"));
#endif
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

// A left-button press, a drag with the button held, or its release at x.
inline void mouse(QWidget *w, QEvent::Type type, int x)
{
    const QPoint pos(x, 100);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

inline void select(QWidget *w, int from, int to)
{
    mouse(w, QEvent::MouseButtonPress, from);
    mouse(w, QEvent::MouseMove, (from + to) / 2);
    mouse(w, QEvent::MouseMove, to);
    mouse(w, QEvent::MouseButtonRelease, to);
}

// A range selected with the mouse on the waveform, then Delete pressed.
inline void selectAndDelete(const RecordWidget &w, int from, int to)
{
    select(view(w)->widget(), from, to);
    QTest::keyClick(view(w)->widget(), Qt::Key_Delete);
}

inline QString iconPath(const char *name)
{
    return QStringLiteral(":/image/blackSkin/%1.png").arg(QLatin1String(name));
}

// Whether the button draws the named picture from its vector source.
inline bool showsIcon(const QToolButton *button, const char *icon)
{
    const auto *vector = qobject_cast<const VectorButton *>(button);
    return vector && vector->picture() == QStringLiteral(":/image/blackSkin/%1.svg").arg(QLatin1String(icon));
}

inline bool showsIcons(const RecordWidget &w, const char *recordIcon, const char *pauseGoIcon)
{
    return showsIcon(button(w, "btnRecord"), recordIcon) && showsIcon(button(w, "btnPauseGo"), pauseGoIcon);
}

} // namespace RecordTestSupport
