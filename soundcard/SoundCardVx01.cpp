#include "soundcard/SoundCardVx01.h"

#include "device/DeviceHID.h"
#include "soundcard/SoundCardVx01Model.h"

SoundCardVx01::SoundCardVx01(HidBackend *backend, const QString &unit)
    : SoundCardProtocol(backend, SoundCardVx01Model::model(), unit)
{
}

// The device's whole output report goes out, zeros behind the frame.
bool SoundCardVx01::write(const QByteArray &buffer, int)
{
    return device()->setOutputReport(reinterpret_cast<const quint8 *>(buffer.constData()));
}

// A control transfer answers at once or fails; it does not wait.
bool SoundCardVx01::read(QByteArray &buffer, int)
{
    return device()->getInputReport(reinterpret_cast<quint8 *>(buffer.data()));
}
