#include "soundcard/SoundCardVx02.h"

#include "device/DeviceHID.h"
#include "soundcard/ReportText.h"
#include "soundcard/SoundCardModel.h"
#include "soundcard/SoundCardVx02Model.h"

#include <QDebug>
#include <QThread>

SoundCardVx02::SoundCardVx02(HidBackend *backend, QObject *parent)
    : SoundCardBase(backend, SoundCardVx02Model::model(), parent)
{
}

void SoundCardVx02::setDenoise(int value)
{
    SoundCardBase::setDenoise(value);
    qDebug() << "setDenoise" << value;
}

void SoundCardVx02::setSwitch(int type, int value)
{
    SoundCardBase::setSwitch(type, value);
    qDebug() << "setSwitch = " << type << value;
}

QString SoundCardVx02::getFirmwareVer()
{
    sendCommand(model().firmwareQuery);
    QByteArray buffer = newReportBuffer();
    readAnswer(buffer);
    return ReportText::version(reinterpret_cast<const quint8 *>(buffer.constData()), kVersionOffset);
}

// After a serial number the device is asked for its version too; that answer is not read here
// and reaches whichever read comes next.
QString SoundCardVx02::getSNCode()
{
    sendCommand(model().serialQuery);
    QByteArray buffer = newReportBuffer();
    if (readAnswer(buffer) > 0)
        sendCommand(model().firmwareQuery);
    return keepSNCode(ReportText::text(reinterpret_cast<const quint8 *>(buffer.constData()),
                                       SoundCardModel::kParameterOffset, kSerialWidth));
}

bool SoundCardVx02::getParaIsChange()
{
    sendCommand(SoundCardVx02Model::parameterQuery());
    QByteArray buffer = newReportBuffer();
    QThread::msleep(kAnswerWaitMs);
    if (!notePollAnswer(readAnswer(buffer) > 0))
        return false;
    return takeOverParameters(buffer);
}

int SoundCardVx02::readAnswer(QByteArray &buffer)
{
    if (!device())
        return 0;
    return device()->readReport(reinterpret_cast<quint8 *>(buffer.data()), quint32(buffer.size()));
}

bool SoundCardVx02::sendReport(const QByteArray &buffer, int frameLength)
{
    if (!device())
        return false;
    if (device()->isOpen() && int(device()->outputReportLength()) < frameLength + 1) {
        qWarning() << "output report of" << device()->outputReportLength() << "bytes cannot hold a frame of"
                   << frameLength << "bytes";
        return false;
    }
    return device()->writeReport(reinterpret_cast<const quint8 *>(buffer.constData()), quint32(frameLength)) > 0;
}
