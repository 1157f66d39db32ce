#include "soundcard/SoundCardBase.h"

#include "device/DeviceHID.h"
#include "soundcard/CommandFrame.h"
#include "soundcard/FrameSequence.h"
#include "soundcard/SoundCardModel.h"

#include <QDebug>

SoundCardBase::SoundCardBase(HidBackend *backend, const SoundCardModel &model, QObject *parent)
    : QObject(parent)
    , m_backend(backend)
    , m_model(model)
    , m_devType(QString::fromLatin1(model.devType))
    , m_inputDevName(QString::fromUtf8(model.inputDevName))
{
}

SoundCardBase::~SoundCardBase() = default;

void SoundCardBase::setSoundMode(int modeType, int modeDetailed)
{
    sendSetter(SetterOp::SoundMode, modeType, modeDetailed);
}

void SoundCardBase::setVolume(int voluemType, int value)
{
    sendSetter(SetterOp::Volume, voluemType, value);
}

void SoundCardBase::setMicReverberation(int value, int type)
{
    sendSetter(SetterOp::MicReverberation, value, type);
}

void SoundCardBase::setDodgeSpeed(int value)
{
    sendSetter(SetterOp::DodgeSpeed, value);
}

void SoundCardBase::setDodgeThreshold(int value)
{
    sendSetter(SetterOp::DodgeThreshold, value);
}

void SoundCardBase::setDodgeGrade(int value)
{
    sendSetter(SetterOp::DodgeGrade, value);
}

void SoundCardBase::setEliminateVoice(int value)
{
    sendSetter(SetterOp::EliminateVoice, value);
}

void SoundCardBase::setDenoise(int value)
{
    sendSetter(SetterOp::Denoise, value);
}

void SoundCardBase::setMicToneColour(int value)
{
    sendSetter(SetterOp::MicToneColour, value);
}

void SoundCardBase::setSwitch(int type, int value)
{
    sendSetter(SetterOp::Switch, type, value);
}

void SoundCardBase::setSpecialEffectSound(int value)
{
    sendSetter(SetterOp::SpecialEffectSound, value);
}

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

bool SoundCardBase::openDevice()
{
    if (!m_device) {
        m_device = std::make_unique<DeviceHID>(m_backend, m_model.vendorId, m_model.productId, m_model.usagePage,
                                               m_model.usage, m_deviceUnit);
    }
    const bool result = m_device->open();
    qDebug() << m_model.openLogPrefix << result;
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

void SoundCardBase::sendSetter(SetterOp op, int first, int second)
{
    const SetterCommand *row = m_model.setter(op);
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

bool SoundCardBase::takeOverParameters(const QByteArray &report)
{
    if (!m_snapshot.takeOver(reinterpret_cast<const quint8 *>(report.constData()), m_model.parameters, m_parameters))
        return false;
    emit allParaChanged();
    return true;
}
