#include "app/PresetController.h"

#include "app/DeviceManager.h"
#include "app/PresetFileDialog.h"
#include "soundcard/BgmNames.h"
#include "soundcard/PresetPreview.h"
#include "soundcard/SessionRestore.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardModel.h"

#include <algorithm>

namespace {

PresetOutcome unanswered(const DeviceSession::Reply &reply, const QString &devType)
{
    switch (reply.status) {
    case DeviceSession::Reply::Closed:
        return PresetOutcome::failure(PresetOutcome::NoDevice, QStringLiteral("the %1 was removed").arg(devType));
    case DeviceSession::Reply::Busy:
        return PresetOutcome::failure(PresetOutcome::NoAnswer,
                                      QStringLiteral("the %1 is not keeping up; try again").arg(devType));
    case DeviceSession::Reply::Answered:
    case DeviceSession::Reply::NoAnswer: break;
    }
    return PresetOutcome::failure(PresetOutcome::NoAnswer,
                                  QStringLiteral("the %1 sent no parameter report").arg(devType));
}

} // namespace

PresetController::PresetController(DeviceManager *devices, BgmNames *bgmNames, QObject *parent)
    : QObject(parent)
    , m_devices(devices)
    , m_bgmNames(bgmNames)
    , m_chooser(&PresetFileDialog::ask)
{
    // Reached by the scene through a property of the main window.
    qRegisterMetaType<PresetController *>();
    connect(devices, &DeviceManager::soundCardChanged, this, &PresetController::onSoundCardChanged);
    connect(bgmNames, &BgmNames::namesChanged, this, &PresetController::onDeviceChanged);
}

bool PresetController::canUndo() const
{
    const QString devType = m_devices->devType();
    const QVector<PresetHistory::Entry> entries = m_history.entries();
    return !devType.isEmpty() && std::any_of(entries.cbegin(), entries.cend(), [&devType](const auto &entry) {
        return entry.devType == devType;
    });
}

void PresetController::setFileChooser(FileChooser chooser)
{
    m_chooser = std::move(chooser);
}

void PresetController::onSoundCardChanged()
{
    if (m_session)
        disconnect(m_session, nullptr, this, nullptr);
    m_session = m_devices->session();
    if (m_session)
        connect(m_session, &SoundCardBase::allParaChanged, this, &PresetController::onDeviceChanged);
    setCurrent(QString());
    // A preset chosen for the model that went is none of this one's.
    select(QString());
    refresh();
}

// A knob turned, a page's control moved, a button renamed: the preset in effect may be no more.
void PresetController::onDeviceChanged()
{
    if (!m_current.isEmpty() && m_session) {
        const QVariantMap wanted = PresetDiff::settable(m_session->model(), m_currentPreset.parameters);
        const bool namesDiffer = !m_currentPreset.bgmNames.isEmpty() && m_currentPreset.bgmNames != m_bgmNames->names();
        if (namesDiffer || !PresetDiff::between(m_session->model(), m_session->getAllPara(), wanted).isEmpty())
            setCurrent(QString());
    }
    updateChanges();
}

PresetOutcome PresetController::ready(bool idle) const
{
    if (!m_session)
        return PresetOutcome::failure(PresetOutcome::NoDevice, QStringLiteral("no vx01 or vx02 device is attached"));
    if (idle && m_busy)
        return PresetOutcome::failure(
            PresetOutcome::NoAnswer,
            QStringLiteral("the %1 is still taking the last preset; try again").arg(m_devices->devType()));
    return {};
}

QStringList PresetController::bgmNamesOf(const QString &devType) const
{
    const SoundCardModel *model = SoundCardFactory::model(devType);
    return model && model->soundEffectCount() > 0 ? m_bgmNames->names() : QStringList();
}

void PresetController::apply(const QString &name, const Done &done)
{
    PresetOutcome outcome = ready(true);
    Preset preset;
    const QString devType = m_devices->devType();
    if (outcome.ok())
        outcome = m_store.read(name, devType, &preset);
    if (!outcome.ok())
        return finish(done, outcome, false);
    setBusy(true);
    // The state before, as the device itself reports it after everything asked before.
    QPointer<PresetController> self = this;
    m_session->requestPoll([self, this, name, preset, devType, done](const DeviceSession::Reply &reply) {
        if (!self)
            return;
        if (!reply.answered() || reply.parameters.isEmpty())
            return finish(done, unanswered(reply, devType));
        const PresetOutcome kept = m_history.push({devType, m_current, reply.parameters, bgmNamesOf(devType)});
        emit canUndoChanged();
        if (!kept.ok())
            return finish(done, kept);
        setCurrent(QString());
        send(preset, [this, name, preset, devType, done](bool taken) {
            if (!taken)
                return finish(
                    done,
                    PresetOutcome::failure(PresetOutcome::NoAnswer,
                                           QStringLiteral("the %1 did not take the preset \"%2\"; undo puts back the "
                                                          "settings before")
                                               .arg(devType, name)));
            markCurrent(name, preset);
            qInfo("presets: \"%s\" applied to the %s", qPrintable(name), qPrintable(devType));
            emit presetApplied(name);
            finish(done, {});
        });
    });
}

void PresetController::undo(const Done &done)
{
    PresetOutcome outcome = ready(true);
    const QString devType = m_devices->devType();
    PresetHistory::Entry entry;
    Preset state;
    if (outcome.ok())
        outcome = m_history.last(devType, &entry, &state);
    if (!outcome.ok())
        return finish(done, outcome, false);
    setBusy(true);
    setCurrent(QString());
    send(state, [this, entry, devType, done](bool taken) {
        if (!taken)
            return finish(
                done,
                PresetOutcome::failure(
                    PresetOutcome::NoAnswer,
                    QStringLiteral("the %1 did not take the settings back; undo may be tried again").arg(devType)));
        const PresetOutcome dropped = m_history.dropLast(devType);
        emit canUndoChanged();
        // The preset in effect before, if the device shows it again.
        Preset before;
        if (!entry.preset.isEmpty() && m_store.read(entry.preset, devType, &before).ok()) {
            markCurrent(entry.preset, before);
            onDeviceChanged();
        }
        qInfo("presets: the %s has its settings from before the last preset back", qPrintable(devType));
        finish(done, dropped);
    });
}

void PresetController::send(const Preset &preset, std::function<void(bool taken)> done)
{
    if (!preset.bgmNames.isEmpty())
        m_bgmNames->setNames(preset.bgmNames);
    auto *restore = new SessionRestore(m_session, preset.setters,
                                       PresetDiff::settable(m_session->model(), preset.parameters), this);
    connect(restore, &SessionRestore::finished, this, [restore, done](bool taken) {
        restore->deleteLater();
        done(taken);
    });
    restore->start();
}

void PresetController::save(const QString &name, const Done &done)
{
    PresetOutcome outcome = ready(true);
    const PresetStore::NameProblem problem = PresetStore::checkName(name);
    if (outcome.ok() && problem != PresetStore::NameProblem::None)
        outcome = PresetOutcome::failure(PresetOutcome::BadName, PresetStore::nameMessage(problem, name));
    if (!outcome.ok())
        return finish(done, outcome, false);
    setBusy(true);
    const QString devType = m_devices->devType();
    QPointer<PresetController> self = this;
    m_session->requestPoll([self, this, name, devType, done](const DeviceSession::Reply &reply) {
        if (!self)
            return;
        if (!reply.answered() || reply.parameters.isEmpty())
            return finish(done, unanswered(reply, devType));
        const QStringList bgmNames = bgmNamesOf(devType);
        const PresetOutcome written = m_store.write(name, devType, reply.parameters, bgmNames);
        if (written.ok()) {
            updateNames();
            markCurrent(name, {devType, reply.parameters, {}, bgmNames});
            select(name);
        }
        finish(done, written);
    });
}

void PresetController::diff(const QString &name, const DiffDone &done)
{
    PresetOutcome outcome = ready(false);
    Preset preset;
    const QString devType = m_devices->devType();
    if (outcome.ok())
        outcome = m_store.read(name, devType, &preset);
    if (!outcome.ok())
        return done(outcome, {});
    const SoundCardModel &model = m_session->model();
    m_session->requestPoll([model = &model, preset, devType, done](const DeviceSession::Reply &reply) {
        if (!reply.answered() || reply.parameters.isEmpty())
            return done(unanswered(reply, devType), {});
        done({}, PresetDiff::between(*model, reply.parameters, preset.parameters));
    });
}

PresetOutcome PresetController::rename(const QString &from, const QString &to)
{
    const PresetOutcome outcome = m_store.rename(from, to);
    if (outcome.ok()) {
        if (m_current == from)
            setCurrent(to);
        updateNames();
        if (m_selected == from)
            select(to);
    }
    finish({}, outcome, false);
    return outcome;
}

PresetOutcome PresetController::remove(const QString &name)
{
    const PresetOutcome outcome = m_store.remove(name);
    if (outcome.ok()) {
        if (m_current == name)
            setCurrent(QString());
        updateNames();
        if (m_selected == name)
            select(QString());
    }
    finish({}, outcome, false);
    return outcome;
}

void PresetController::applyPreset(const QString &name)
{
    apply(name, {});
}

void PresetController::savePreset(const QString &name)
{
    save(name, {});
}

void PresetController::undoPreset()
{
    undo({});
}

void PresetController::renamePreset(const QString &from, const QString &to)
{
    rename(from, to);
}

void PresetController::deletePreset(const QString &name)
{
    remove(name);
}

void PresetController::importPreset()
{
    PresetOutcome outcome = ready(false);
    if (!outcome.ok())
        return finish({}, outcome, false);
    const QString path = m_chooser(false, QString());
    if (path.isEmpty())
        return;
    QString name;
    outcome = m_store.importFile(path, m_devices->devType(), &name);
    if (outcome.ok()) {
        qInfo("presets: %s taken in as \"%s\"", qPrintable(path), qPrintable(name));
        updateNames();
        select(name);
    }
    finish({}, outcome, false);
}

void PresetController::exportPreset(const QString &name)
{
    PresetOutcome outcome = ready(false);
    if (!outcome.ok())
        return finish({}, outcome, false);
    const QString path = m_chooser(true, name + QStringLiteral(".json"));
    if (!path.isEmpty())
        finish({}, m_store.exportTo(name, m_devices->devType(), path), false);
}

void PresetController::select(const QString &name)
{
    if (name != m_selected) {
        m_selected = name;
        emit selectedChanged();
        setMessage(QString());
    }
    updateChanges();
}

QString PresetController::nameProblem(const QString &name) const
{
    using Problem = PresetStore::NameProblem;
    switch (PresetStore::checkName(name)) {
    case Problem::None: return m_store.exists(name) ? QStringLiteral("exists") : QString();
    case Problem::Blank:
    case Problem::Edges: return QStringLiteral("blank");
    case Problem::Separator: return QStringLiteral("separator");
    case Problem::Dot: return QStringLiteral("dot");
    case Problem::Control: return QStringLiteral("control");
    case Problem::TooLong: return QStringLiteral("long");
    }
    return QString();
}

void PresetController::refresh()
{
    updateNames();
    emit canUndoChanged();
    updateChanges();
}

void PresetController::finish(const Done &done, const PresetOutcome &outcome, bool wasBusy)
{
    if (wasBusy)
        setBusy(false);
    if (!outcome.ok())
        qWarning("presets: %s", qPrintable(outcome.message));
    setMessage(outcome.message);
    if (done)
        done(outcome);
}

void PresetController::markCurrent(const QString &name, const Preset &preset)
{
    m_currentPreset = preset;
    setCurrent(name);
}

void PresetController::setCurrent(const QString &name)
{
    if (name == m_current)
        return;
    m_current = name;
    emit currentChanged();
}

void PresetController::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    emit busyChanged();
}

void PresetController::setMessage(const QString &message)
{
    if (message == m_message)
        return;
    m_message = message;
    emit messageChanged();
}

void PresetController::updateNames()
{
    const QString devType = m_devices->devType();
    const QStringList names = devType.isEmpty() ? QStringList() : m_store.names(devType);
    if (names == m_names)
        return;
    m_names = names;
    emit namesChanged();
}

void PresetController::updateChanges()
{
    QVariantList rows;
    Preset preset;
    if (m_session && !m_selected.isEmpty()) {
        const PresetOutcome outcome = m_store.read(m_selected, m_devices->devType(), &preset);
        if (outcome.ok())
            rows = PresetPreview::rows(m_session->model(), m_session->getAllPara(), preset.parameters,
                                       m_bgmNames->names(), preset.bgmNames);
        else
            setMessage(outcome.message);
    }
    if (rows == m_changes)
        return;
    m_changes = rows;
    emit changesChanged();
}
