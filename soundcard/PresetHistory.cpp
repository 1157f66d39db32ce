#include "soundcard/PresetHistory.h"

#include "soundcard/AtomicFile.h"
#include "soundcard/ParameterProfile.h"
#include "soundcard/PresetStore.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {

const QString kStates = QStringLiteral("states");
const QString kPreset = QStringLiteral("preset");

} // namespace

PresetHistory::PresetHistory(const QString &path)
    : m_path(path)
{
}

QString PresetHistory::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Brindle/vorlet/preset-history.json");
}

QVector<PresetHistory::Entry> PresetHistory::entries() const
{
    QVector<Entry> entries;
    if (!QFileInfo::exists(m_path))
        return entries;
    QByteArray json;
    QString error;
    if (!ParameterProfile::readFile(m_path, QStringLiteral("preset history"), &json, &error)) {
        qWarning("presets: %s; nothing to undo", qPrintable(error));
        return entries;
    }
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.object().value(kStates).isArray())
        qWarning("presets: %s is damaged; nothing to undo", qPrintable(m_path));
    // Each state is checked when it is put back.
    for (const QJsonValue &value : document.object().value(kStates).toArray()) {
        const QJsonObject state = value.toObject();
        entries.append({state.value(QStringLiteral("devType")).toString(), state.value(kPreset).toString(),
                        state.value(QStringLiteral("parameters")).toObject().toVariantMap(),
                        state.value(QStringLiteral("bgmNames")).toVariant().toStringList()});
    }
    return entries;
}

PresetOutcome PresetHistory::push(const Entry &entry) const
{
    QVector<Entry> all = entries();
    all.append(entry);
    while (all.size() > kLimit)
        all.removeFirst();
    return save(all);
}

PresetOutcome PresetHistory::last(const QString &devType, Entry *entry, Preset *state) const
{
    const QVector<Entry> all = entries();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (it->devType != devType)
            continue;
        *entry = *it;
        return PresetStore::parse(PresetStore::toJson(devType, it->parameters, it->bgmNames),
                                  QStringLiteral("the state before the last preset (%1)").arg(m_path), devType, state);
    }
    return PresetOutcome::failure(PresetOutcome::NothingToUndo,
                                  QStringLiteral("nothing to undo: no preset was applied to the %1").arg(devType));
}

PresetOutcome PresetHistory::dropLast(const QString &devType) const
{
    QVector<Entry> all = entries();
    for (int i = all.size() - 1; i >= 0; --i) {
        if (all.at(i).devType == devType) {
            all.remove(i);
            return save(all);
        }
    }
    return {};
}

PresetOutcome PresetHistory::save(const QVector<Entry> &entries) const
{
    QJsonArray states;
    for (const Entry &entry : entries) {
        QJsonObject state =
            QJsonDocument::fromJson(PresetStore::toJson(entry.devType, entry.parameters, entry.bgmNames)).object();
        state.insert(kPreset, entry.preset);
        states.append(state);
    }
    QString error;
    if (!QDir().mkpath(QFileInfo(m_path).path()))
        error = QStringLiteral("cannot create the folder %1").arg(QFileInfo(m_path).path());
    else if (AtomicFile::write(m_path, QJsonDocument(QJsonObject{{kStates, states}}).toJson(), &error))
        return {};
    return PresetOutcome::failure(PresetOutcome::FileError, error + QStringLiteral(" (the undo history)"));
}
