#include "soundcard/SoundCardBase.h"

#include "device/DeviceHID.h"
#include "soundcard/CommandFrame.h"
#include "soundcard/FrameSequence.h"
#include "soundcard/SoundCardProfile.h"

#include <QDebug>

SoundCardBase::SoundCardBase(HidBackend *backend, QObject *parent)
    : QObject(parent)
    , m_backend(backend)
{
}

SoundCardBase::~SoundCardBase() = default;

void SoundCardBase::setEliminateVoice(int) {}
void SoundCardBase::setDenoise(int) {}
void SoundCardBase::setMicToneColour(int) {}
void SoundCardBase::setSpecialEffectSound(int) {}

QString SoundCardBase::getFirmwareVer()
{
    return QString();
}

QString SoundCardBase::getSNCode()
{
    return QString();
}

QVariantMap SoundCardBase::getAllPara()
{
    return m_parameters;
}

QString SoundCardBase::getDevType()
{
    return m_devType;
}

QString SoundCardBase::getInputDevName()
{
    return m_inputDevName;
}

void SoundCardBase::setIdentity(const SoundCardProfile &profile)
{
    m_devType = QString::fromLatin1(profile.devType);
    m_inputDevName = QString::fromUtf8(profile.inputDevName);
}

bool SoundCardBase::openWith(const SoundCardProfile &profile)
{
    if (!m_device) {
        m_device = std::make_unique<DeviceHID>(m_backend, profile.vendorId, profile.productId,
                                               profile.usagePage, profile.usage);
    }
    const bool result = m_device->open();
    qDebug() << profile.openLogPrefix << result;
    return result;
}

QByteArray SoundCardBase::newReportBuffer() const
{
    int size = kReportBufferSize;
    if (m_device) {
        size = qMax(size, int(m_device->inputReportLength()));
        size = qMax(size, int(m_device->outputReportLength()));
    }
    return QByteArray(size, '\0');
}

void SoundCardBase::sendSetter(const SoundCardProfile &profile, SetterOp op, int first, int second)
{
    const SetterCommand *row = profile.setter(op);
    if (!row)
        return;
    sendCommand(row->resolve(first, second));
}

bool SoundCardBase::sendCommand(const SoundCardCommand &command)
{
    QByteArray buffer = newReportBuffer();
    const int length = CommandFrame::write(reinterpret_cast<quint8 *>(buffer.data()) + 1,
                                           FrameSequence::processWide().take(), command);
    return sendReport(buffer, length);
}

bool SoundCardBase::takeOverParameters(const QByteArray &report, const SoundCardProfile &profile)
{
    if (!m_snapshot.takeOver(reinterpret_cast<const quint8 *>(report.constData()), profile.parameters,
                             m_parameters))
        return false;
    emit allParaChanged();
    return true;
}
