#include "cli/PanelSoundCard.h"

#include "SoundCardProxy.h"
#include "soundcard/SetterSlot.h"

#include <QDebug>

PanelSoundCard::PanelSoundCard(SoundCardProxy &panel, const SoundCardModel &model)
    : SoundCardBase(model, nullptr)
    , m_panel(panel)
{
}

bool PanelSoundCard::answered(QDBusPendingCall call)
{
    call.waitForFinished();
    if (!call.isError())
        return true;
    noteFailure();
    qWarning() << "the panel answered" << call.error().name() << call.error().message();
    return false;
}

void PanelSoundCard::apply(const SetterCall &call)
{
    const SetterSlot &slot = SetterSlot::of(call.op);
    QList<QVariant> arguments;
    for (int argument : slot.call(call.args).args)
        arguments << argument;
    answered(m_panel.asyncCallWithArgumentList(QLatin1String(slot.name), arguments));
}

QString PanelSoundCard::getFirmwareVer()
{
    QDBusPendingReply<QString> reply = m_panel.firmwareVersion();
    if (!answered(reply))
        return QString();
    setKnownFirmwareVer(reply.value());
    return reply.value();
}

QString PanelSoundCard::getSNCode()
{
    QDBusPendingReply<QString> reply = m_panel.serialNumber();
    if (!answered(reply))
        return QString();
    setKnownSNCode(reply.value());
    return reply.value();
}

bool PanelSoundCard::getParaIsChange()
{
    QDBusPendingReply<QVariantMap> reply = m_panel.refresh();
    if (!answered(reply))
        return false;
    // Numbers arrive as the bus carries them; the map holds ints as the device's own does.
    QVariantMap parameters;
    const QVariantMap received = reply.value();
    for (auto it = received.cbegin(); it != received.cend(); ++it)
        parameters.insert(it.key(), it.value().toInt());
    if (parameters == m_parameters)
        return false;
    m_parameters = parameters;
    emit allParaChanged();
    return true;
}

QVariantMap PanelSoundCard::getAllPara()
{
    return m_parameters;
}
