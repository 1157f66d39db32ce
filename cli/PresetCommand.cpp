#include "cli/PresetCommand.h"

#include "SoundCardProxy.h"
#include "app/PresetBus.h"
#include "cli/CliRunner.h"
#include "soundcard/BgmNames.h"
#include "soundcard/SoundCardBase.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// How a call of the panel ended, as an outcome with the panel's own message.
PresetOutcome outcomeOf(const QDBusPendingCall &call)
{
    QDBusPendingCall finished = call;
    finished.waitForFinished();
    if (!finished.isError())
        return {};
    return PresetOutcome::failure(presetStatusOf(finished.error().name()), finished.error().message());
}

} // namespace

PresetCommand::PresetCommand(SoundCardProxy *panel, SoundCardBase *card, const QString &devType, Line line)
    : m_panel(panel)
    , m_card(card)
    , m_devType(devType)
    , m_line(std::move(line))
{
}

int PresetCommand::exitCode(PresetOutcome::Status status)
{
    switch (status) {
    case PresetOutcome::Ok: return CliRunner::Success;
    case PresetOutcome::NoDevice: return CliRunner::NoDevice;
    case PresetOutcome::BadName:
    case PresetOutcome::Unknown:
    case PresetOutcome::OtherModel:
    case PresetOutcome::Damaged:
    case PresetOutcome::Exists:
    case PresetOutcome::NothingToUndo: return CliRunner::UsageError;
    case PresetOutcome::NoAnswer: return CliRunner::DeviceError;
    case PresetOutcome::FileError: return CliRunner::FileError;
    }
    return CliRunner::DeviceError;
}

PresetOutcome PresetCommand::run(const QString &action, const QString &name, bool json)
{
    return m_panel ? throughPanel(action, name, json) : direct(action, name, json);
}

PresetOutcome PresetCommand::throughPanel(const QString &action, const QString &name, bool json)
{
    if (action == QLatin1String("list")) {
        QDBusPendingReply<QStringList> reply = m_panel->presets();
        const PresetOutcome outcome = outcomeOf(reply);
        if (outcome.ok())
            printNames(reply.value(), json);
        return outcome;
    }
    if (action == QLatin1String("diff")) {
        QDBusPendingReply<PresetChangeList> reply = m_panel->presetDiff(name);
        const PresetOutcome outcome = outcomeOf(reply);
        if (outcome.ok())
            printChanges(reply.value().toVector(), json);
        return outcome;
    }
    if (action == QLatin1String("save"))
        return outcomeOf(m_panel->savePreset(name));
    if (action == QLatin1String("apply"))
        return outcomeOf(m_panel->applyPreset(name));
    if (action == QLatin1String("delete"))
        return outcomeOf(m_panel->deletePreset(name));
    return outcomeOf(m_panel->undoPreset());
}

PresetOutcome PresetCommand::direct(const QString &action, const QString &name, bool json)
{
    PresetOutcome outcome;
    Preset preset;
    if (action == QLatin1String("list")) {
        printNames(m_store.names(m_devType), json);
    } else if (action == QLatin1String("delete")) {
        outcome = m_store.remove(name);
    } else if (action == QLatin1String("save")) {
        if (poll(&outcome))
            outcome = m_store.write(name, m_devType, m_card->getAllPara(), bgmNames());
    } else if (action == QLatin1String("diff")) {
        outcome = m_store.read(name, m_devType, &preset);
        if (outcome.ok() && poll(&outcome))
            printChanges(PresetDiff::between(m_card->model(), m_card->getAllPara(), preset.parameters), json);
    } else if (action == QLatin1String("apply")) {
        // Checked whole, and the state before kept, before the first setter goes out.
        outcome = m_store.read(name, m_devType, &preset);
        if (outcome.ok() && poll(&outcome))
            outcome = m_history.push({m_devType, QString(), m_card->getAllPara(), bgmNames()});
        if (outcome.ok())
            outcome = send(preset,
                           QStringLiteral("the %1 did not take the preset \"%2\"; undo puts back the "
                                          "settings before")
                               .arg(m_devType, name));
    } else {
        PresetHistory::Entry entry;
        outcome = m_history.last(m_devType, &entry, &preset);
        if (outcome.ok())
            outcome =
                send(preset,
                     QStringLiteral("the %1 did not take the settings back; undo may be tried again").arg(m_devType));
        if (outcome.ok())
            outcome = m_history.dropLast(m_devType);
    }
    return outcome;
}

bool PresetCommand::poll(PresetOutcome *outcome)
{
    m_card->getParaIsChange();
    if (!m_card->getAllPara().isEmpty())
        return true;
    *outcome = PresetOutcome::failure(PresetOutcome::NoAnswer,
                                      QStringLiteral("the %1 sent no parameter report").arg(m_devType));
    return false;
}

PresetOutcome PresetCommand::send(const Preset &preset, const QString &refusal)
{
    const int failedBefore = m_card->failures();
    for (const SetterCall &setter : preset.setters)
        m_card->apply(setter);
    if (m_card->failures() != failedBefore)
        return PresetOutcome::failure(PresetOutcome::NoAnswer, refusal);
    if (!preset.bgmNames.isEmpty() && !BgmNames().setNames(preset.bgmNames))
        return PresetOutcome::failure(PresetOutcome::FileError,
                                      QStringLiteral("the names of the sound-effect buttons could not be written"));
    return {};
}

QStringList PresetCommand::bgmNames() const
{
    return m_card->model().soundEffectCount() > 0 ? BgmNames().names() : QStringList();
}

void PresetCommand::printNames(const QStringList &names, bool json)
{
    if (json) {
        m_line(QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(names)).toJson(QJsonDocument::Compact)));
        return;
    }
    for (const QString &name : names)
        m_line(name);
}

void PresetCommand::printChanges(const QVector<PresetChange> &changes, bool json)
{
    if (!json) {
        for (const PresetChange &change : changes)
            m_line(QStringLiteral("%1: %2 -> %3").arg(change.key).arg(change.current).arg(change.preset));
        return;
    }
    QJsonObject object;
    for (const PresetChange &change : changes)
        object.insert(
            change.key,
            QJsonObject{{QStringLiteral("current"), change.current}, {QStringLiteral("preset"), change.preset}});
    m_line(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}
