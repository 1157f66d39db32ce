#include "soundcard/SoundCardVx01.h"

#include "device/DeviceHID.h"
#include "soundcard/ReportText.h"
#include "soundcard/SoundCardProfile.h"
#include "soundcard/SoundCardVx01Profile.h"

SoundCardVx01::SoundCardVx01(HidBackend *backend, QObject *parent)
    : SoundCardBase(backend, SoundCardVx01Profile::profile(), parent)
{
}

QString SoundCardVx01::getFirmwareVer()
{
    return query(profile().firmwareQuery, kFirmwareWidth);
}

QString SoundCardVx01::getSNCode()
{
    return keepSNCode(query(profile().serialQuery, kSerialWidth));
}

// The answer is in the input report read right after the query; the results of the two
// transport calls are not tested: a failure leaves the buffer zero and the text empty.
QString SoundCardVx01::query(const SoundCardCommand &command, int width)
{
    sendCommand(command);
    QByteArray buffer = newReportBuffer();
    if (device())
        device()->getInputReport(reinterpret_cast<quint8 *>(buffer.data()));
    return ReportText::text(reinterpret_cast<const quint8 *>(buffer.constData()), SoundCardProfile::kParameterOffset,
                            width);
}

bool SoundCardVx01::getParaIsChange()
{
    QByteArray buffer = newReportBuffer();
    if (!notePollAnswer(device() && device()->getInputReport(reinterpret_cast<quint8 *>(buffer.data()))))
        return false;
    return takeOverParameters(buffer);
}

bool SoundCardVx01::sendReport(const QByteArray &buffer, int)
{
    return device() && device()->setOutputReport(reinterpret_cast<const quint8 *>(buffer.constData()));
}
