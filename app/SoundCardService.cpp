#include "app/SoundCardService.h"

#include "SoundCardAdaptor.h"
#include "app/DeviceManager.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/SetterRangeTable.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMetaMethod>
#include <QPointer>

const QString SoundCardService::kServiceName = QStringLiteral("com.brindle.vorlet");
const QString SoundCardService::kObjectPath = QStringLiteral("/SoundCard");
const QString SoundCardService::kNoDeviceError = QStringLiteral("com.brindle.vorlet.Error.NoDevice");
const QString SoundCardService::kNoAnswerError = QStringLiteral("com.brindle.vorlet.Error.NoAnswer");

namespace {

// The arguments' names of a setter as the interface description gives them, upper case as
// vorletctl's help shows them: setVolume -> TYPE, VALUE.
QStringList argumentNames(const char *setter)
{
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
    new SoundCardAdaptor(this);
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

DeviceSession *SoundCardService::sessionFor(const char *setter, const QVector<int> &args)
{
    DeviceSession *session = m_devices->session();
    if (!session) {
        sendErrorReply(kNoDeviceError, QStringLiteral("no vx01 or vx02 device is attached"));
        return nullptr;
    }
    QString error;
    if (setter
        && !SetterRangeTable::check(m_devices->devType(), QLatin1String(setter), args, argumentNames(setter), &error)) {
        sendErrorReply(QDBusError::InvalidArgs, error);
        return nullptr;
    }
    return session;
}

void SoundCardService::answerWhenDone(DeviceSession *session, std::function<QDBusMessage(const QDBusMessage &)> answer)
{
    setDelayedReply(true);
    const QDBusMessage call = message();
    const QDBusConnection bus = connection();
    // A session that is closed does nothing more; its end answers instead.
    QPointer<QObject> waiting = new QObject(this);
    connect(session, &QObject::destroyed, waiting, [bus, call, waiting] {
        delete waiting;
        bus.send(call.createErrorReply(kNoDeviceError, QStringLiteral("the device was removed")));
    });
    session->whenDone([bus, call, waiting, answer = std::move(answer)] {
        if (!waiting)
            return;
        delete waiting;
        bus.send(answer(call));
    });
}

void SoundCardService::setSoundMode(int modeType, int detail)
{
    if (DeviceSession *session = sessionFor(__func__, {modeType, detail}))
        session->setSoundMode(modeType, detail);
}

void SoundCardService::setVolume(int type, int value)
{
    if (DeviceSession *session = sessionFor(__func__, {type, value}))
        session->setVolume(type, value);
}

void SoundCardService::setMicReverberation(int value, int type)
{
    if (DeviceSession *session = sessionFor(__func__, {value, type}))
        session->setMicReverberation(value, type);
}

void SoundCardService::setDodgeSpeed(int value)
{
    if (DeviceSession *session = sessionFor(__func__, {value}))
        session->setDodgeSpeed(value);
}

void SoundCardService::setDodgeThreshold(int value)
{
    if (DeviceSession *session = sessionFor(__func__, {value}))
        session->setDodgeThreshold(value);
}

void SoundCardService::setDodgeGrade(int value)
{
    if (DeviceSession *session = sessionFor(__func__, {value}))
        session->setDodgeGrade(value);
}

void SoundCardService::setEliminateVoice(int value)
{
    if (DeviceSession *session = sessionFor(__func__, {value}))
        session->setEliminateVoice(value);
}

void SoundCardService::setDenoise(int value)
{
    if (DeviceSession *session = sessionFor(__func__, {value}))
        session->setDenoise(value);
}

void SoundCardService::setMicToneColour(int value)
{
    if (DeviceSession *session = sessionFor(__func__, {value}))
        session->setMicToneColour(value);
}

void SoundCardService::setSwitch(int type, int value)
{
    if (DeviceSession *session = sessionFor(__func__, {type, value}))
        session->setSwitch(type, value);
}

void SoundCardService::setSpecialEffectSound(int number)
{
    if (DeviceSession *session = sessionFor(__func__, {number}))
        session->setSpecialEffectSound(number);
}

QVariantMap SoundCardService::getAllPara()
{
    DeviceSession *session = sessionFor();
    return session ? session->getAllPara() : QVariantMap();
}

QVariantMap SoundCardService::refresh()
{
    if (DeviceSession *session = sessionFor()) {
        // A vx02 hands over the answer to an earlier request first (the version query that
        // follows a serial number); the second poll reads the answer to the first, asked after
        // every call before.
        session->getParaIsChange();
        session->getParaIsChange();
        answerWhenDone(
            session, [session](const QDBusMessage &call) { return call.createReply(QVariant(session->getAllPara())); });
    }
    return {};
}

QString SoundCardService::model()
{
    return m_devices->devType();
}

namespace {

// The text the device gave, or NoAnswer when it gave none.
QDBusMessage textReply(const QDBusMessage &call, const QString &text, const QString &model)
{
    if (text.isEmpty())
        return call.createErrorReply(SoundCardService::kNoAnswerError,
                                     QStringLiteral("the %1 did not answer").arg(model));
    return call.createReply(text);
}

} // namespace

QString SoundCardService::serialNumber()
{
    DeviceSession *session = sessionFor();
    if (!session || !session->knownSNCode().isEmpty())
        return session ? session->knownSNCode() : QString();
    // Unknown: nothing has asked yet, so no earlier answer stands in the way.
    session->getSNCode();
    answerWhenDone(session, [session, model = model()](const QDBusMessage &call) {
        return textReply(call, session->knownSNCode(), model);
    });
    return {};
}

QString SoundCardService::firmwareVersion()
{
    DeviceSession *session = sessionFor();
    if (!session)
        return {};
    // Asked twice for the reason refresh() polls twice: the second read is the device's answer.
    session->getFirmwareVer();
    session->getFirmwareVer();
    answerWhenDone(session, [session, model = model()](const QDBusMessage &call) {
        return textReply(call, session->knownFirmwareVer(), model);
    });
    return {};
}
