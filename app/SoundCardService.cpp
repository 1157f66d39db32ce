#include "app/SoundCardService.h"

#include "SoundCardAdaptor.h"
#include "app/DeviceManager.h"
#include "soundcard/SetterRangeTable.h"
#include "soundcard/SetterSlot.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMetaMethod>

const QString SoundCardService::kServiceName = QStringLiteral("com.brindle.vorlet");
const QString SoundCardService::kObjectPath = QStringLiteral("/SoundCard");
const QString SoundCardService::kNoDeviceError = QStringLiteral("com.brindle.vorlet.Error.NoDevice");
const QString SoundCardService::kNoAnswerError = QStringLiteral("com.brindle.vorlet.Error.NoAnswer");

namespace {

// The arguments' names of a setter as the interface description gives them, upper case as
// vorletctl's help shows them: setVolume -> TYPE, VALUE.
QStringList argumentNames(SetterOp op)
{
    const char *setter = SetterSlot::of(op).name;
    const QMetaObject &adaptor = SoundCardAdaptor::staticMetaObject;
    for (int i = adaptor.methodOffset(); i < adaptor.methodCount(); ++i) {
        const QMetaMethod method = adaptor.method(i);
        if (method.name() != setter)
            continue;
        QStringList names;
        for (const QByteArray &name : method.parameterNames())
            names << QString::fromLatin1(name).toUpper();
        return names;
    }
    return {};
}

} // namespace

SoundCardService::SoundCardService(DeviceManager *devices, QObject *parent)
    : QObject(parent)
    , m_devices(devices)
{
    registerPresetChangeList();
    new SoundCardAdaptor(this);
    connect(m_devices->presets(), &PresetController::presetApplied, this, &SoundCardService::presetApplied);
    connect(m_devices, &DeviceManager::soundCardChanged, this, &SoundCardService::onSoundCardChanged);
    connect(m_devices, &DeviceManager::isConnect, this, &SoundCardService::connectionChanged);
    onSoundCardChanged();
}

bool SoundCardService::registerOn(QDBusConnection bus)
{
    if (!bus.isConnected()) {
        qWarning("D-Bus: no session bus (%s); the sound card is not offered there",
                 qPrintable(bus.lastError().message()));
        return false;
    }
    if (!bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) {
        qWarning("D-Bus: %s cannot be exported", qPrintable(kObjectPath));
        return false;
    }
    if (!bus.registerService(kServiceName)) {
        qWarning("D-Bus: the name %s is taken (%s); the sound card is not offered there", qPrintable(kServiceName),
                 qPrintable(bus.lastError().message()));
        bus.unregisterObject(kObjectPath);
        return false;
    }
    qInfo("D-Bus: %s %s on the session bus", qPrintable(kServiceName), qPrintable(kObjectPath));
    return true;
}

void SoundCardService::onSoundCardChanged()
{
    DeviceSession *session = m_devices->session();
    if (!session)
        return;
    connect(session, &SoundCardBase::allParaChanged, this,
            [this, session] { emit parametersChanged(session->getAllPara()); });
}

DeviceSession *SoundCardService::sessionFor()
{
    DeviceSession *session = m_devices->session();
    if (!session)
        sendErrorReply(kNoDeviceError, QStringLiteral("no vx01 or vx02 device is attached"));
    return session;
}

void SoundCardService::apply(const SetterCall &call)
{
    DeviceSession *session = sessionFor();
    if (!session)
        return;
    QString error;
    if (!SetterRangeTable::check(m_devices->devType(), call.op, call.args, argumentNames(call.op), &error))
        sendErrorReply(QDBusError::InvalidArgs, error);
    else if (!session->queue(call))
        sendErrorReply(kNoAnswerError, QStringLiteral("the %1 is not keeping up; nothing sent").arg(model()));
}

DeviceSession::ReplyHandler SoundCardService::answerWith(std::function<QVariant(const DeviceSession::Reply &)> result)
{
    setDelayedReply(true);
    return [call = message(), bus = connection(), model = model(),
            result = std::move(result)](const DeviceSession::Reply &reply) {
        switch (reply.status) {
        case DeviceSession::Reply::Answered: bus.send(call.createReply(result(reply))); return;
        case DeviceSession::Reply::Closed:
            bus.send(call.createErrorReply(kNoDeviceError, QStringLiteral("the %1 was removed").arg(model)));
            return;
        case DeviceSession::Reply::Busy:
            bus.send(call.createErrorReply(kNoAnswerError,
                                           QStringLiteral("the %1 is not keeping up; try again").arg(model)));
            return;
        case DeviceSession::Reply::NoAnswer:
            bus.send(call.createErrorReply(kNoAnswerError, QStringLiteral("the %1 did not answer").arg(model)));
            return;
        }
    };
}

void SoundCardService::setSoundMode(int modeType, int detail)
{
    apply({SetterOp::SoundMode, {modeType, detail}});
}

void SoundCardService::setVolume(int type, int value)
{
    apply({SetterOp::Volume, {type, value}});
}

void SoundCardService::setMicReverberation(int value, int type)
{
    apply({SetterOp::MicReverberation, {value, type}});
}

void SoundCardService::setDodgeSpeed(int value)
{
    apply({SetterOp::DodgeSpeed, {value}});
}

void SoundCardService::setDodgeThreshold(int value)
{
    apply({SetterOp::DodgeThreshold, {value}});
}

void SoundCardService::setDodgeGrade(int value)
{
    apply({SetterOp::DodgeGrade, {value}});
}

void SoundCardService::setEliminateVoice(int value)
{
    apply({SetterOp::EliminateVoice, {value}});
}

void SoundCardService::setDenoise(int value)
{
    apply({SetterOp::Denoise, {value}});
}

void SoundCardService::setMicToneColour(int value)
{
    apply({SetterOp::MicToneColour, {value}});
}

void SoundCardService::setSwitch(int type, int value)
{
    apply({SetterOp::Switch, {type, value}});
}

void SoundCardService::setSpecialEffectSound(int number)
{
    apply({SetterOp::SpecialEffectSound, {number}});
}

QVariantMap SoundCardService::getAllPara()
{
    DeviceSession *session = sessionFor();
    return session ? session->getAllPara() : QVariantMap();
}

QVariantMap SoundCardService::refresh()
{
    if (DeviceSession *session = sessionFor())
        session->requestPoll(answerWith([](const DeviceSession::Reply &reply) { return reply.parameters; }));
    return {};
}

QString SoundCardService::model()
{
    return m_devices->devType();
}

QString SoundCardService::serialNumber()
{
    if (DeviceSession *session = sessionFor())
        session->requestSerialNumber(answerWith([](const DeviceSession::Reply &reply) { return reply.text; }));
    return {};
}

QString SoundCardService::firmwareVersion()
{
    if (DeviceSession *session = sessionFor())
        session->requestFirmwareVersion(answerWith([](const DeviceSession::Reply &reply) { return reply.text; }));
    return {};
}

PresetController::Done SoundCardService::answerPreset()
{
    setDelayedReply(true);
    return [call = message(), bus = connection()](const PresetOutcome &outcome) {
        bus.send(outcome.ok() ? call.createReply()
                              : call.createErrorReply(presetErrorName(outcome.status), outcome.message));
    };
}

QStringList SoundCardService::presets()
{
    if (!sessionFor())
        return {};
    m_devices->presets()->refresh();
    return m_devices->presets()->names();
}

void SoundCardService::applyPreset(const QString &name)
{
    m_devices->presets()->apply(name, answerPreset());
}

void SoundCardService::savePreset(const QString &name)
{
    m_devices->presets()->save(name, answerPreset());
}

void SoundCardService::deletePreset(const QString &name)
{
    answerPreset()(m_devices->presets()->remove(name));
}

void SoundCardService::undoPreset()
{
    m_devices->presets()->undo(answerPreset());
}

PresetChangeList SoundCardService::presetDiff(const QString &name)
{
    setDelayedReply(true);
    m_devices->presets()->diff(
        name,
        [call = message(), bus = connection()](const PresetOutcome &outcome, const QVector<PresetChange> &changes) {
            bus.send(outcome.ok() ? call.createReply(QVariant::fromValue(PresetChangeList(changes.toList())))
                                  : call.createErrorReply(presetErrorName(outcome.status), outcome.message));
        });
    return {};
}
