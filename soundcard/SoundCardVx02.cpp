#include "soundcard/SoundCardVx02.h"

#include "device/DeviceHID.h"
#include "soundcard/SoundCardVx02Model.h"

#include <QDebug>

SoundCardVx02::SoundCardVx02(HidBackend *backend, const QString &unit)
    : SoundCardProtocol(backend, SoundCardVx02Model::model(), unit)
{
}

void SoundCardVx02::sent(const SetterCall &call)
{
    if (call.op == SetterOp::Denoise)
        qDebug() << "setDenoise" << call.arg(0);
    else if (call.op == SetterOp::Switch)
        qDebug() << "setSwitch = " << call.arg(0) << call.arg(1);
}

bool SoundCardVx02::write(const QByteArray &buffer, int frameLength)
{
    if (device()->isOpen() && int(device()->outputReportLength()) < frameLength + 1) {
        qWarning() << "output report of" << device()->outputReportLength() << "bytes cannot hold a frame of"
                   << frameLength << "bytes";
        return false;
    }
    return device()->writeReport(reinterpret_cast<const quint8 *>(buffer.constData()), quint32(frameLength)) > 0;
}

bool SoundCardVx02::read(QByteArray &buffer, int timeoutMs)
{
    return device()->readReport(reinterpret_cast<quint8 *>(buffer.data()), quint32(buffer.size()), timeoutMs) > 0;
}

int SoundCardVx02::dropWaiting()
{
    int dropped = 0;
    QByteArray buffer = newReportBuffer();
    while (read(buffer, 0))
        ++dropped;
    return dropped;
}
