#include "soundcard/PresetStore.h"

#include "soundcard/AtomicFile.h"
#include "soundcard/ParameterProfile.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardModel.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString kSuffix = QStringLiteral(".json");
const QString kBgmNames = QStringLiteral("bgmNames");
// As long as the page lets a button's name be.
constexpr int kMaxButtonName = 64;

PresetOutcome failure(PresetOutcome::Status status, const QString &message)
{
    return PresetOutcome::failure(status, message);
}

} // namespace

PresetStore::PresetStore(const QString &folder)
    : m_folder(folder)
{
}

QString PresetStore::defaultFolder()
{
    // The same folder for the panel and vorletctl, whatever each program is called.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Brindle/vorlet/presets");
}

QString PresetStore::pathOf(const QString &name) const
{
    return m_folder + QLatin1Char('/') + name + kSuffix;
}

PresetStore::NameProblem PresetStore::checkName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return NameProblem::Blank;
    if (name != name.trimmed())
        return NameProblem::Edges;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return NameProblem::Separator;
    // Hidden files are not listed.
    if (name.startsWith(QLatin1Char('.')))
        return NameProblem::Dot;
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return NameProblem::Control;
    if (name.size() > kMaxNameLength)
        return NameProblem::TooLong;
    return NameProblem::None;
}

QString PresetStore::nameMessage(NameProblem problem, const QString &name)
{
    const QString quoted = QStringLiteral("preset name \"%1\"").arg(name);
    switch (problem) {
    case NameProblem::None: return QString();
    case NameProblem::Blank: return QStringLiteral("the preset name is blank");
    case NameProblem::Edges: return quoted + QStringLiteral(" starts or ends with a blank");
    case NameProblem::Separator: return quoted + QStringLiteral(" has a path separator (/ or \\)");
    case NameProblem::Dot: return quoted + QStringLiteral(" starts with a dot");
    case NameProblem::Control: return QStringLiteral("the preset name has a control character");
    case NameProblem::TooLong: return quoted + QStringLiteral(" is longer than %1 characters").arg(kMaxNameLength);
    }
    return QString();
}

PresetOutcome PresetStore::checked(const QString &name) const
{
    const NameProblem problem = checkName(name);
    if (problem != NameProblem::None)
        return failure(PresetOutcome::BadName, nameMessage(problem, name));
    return {};
}

QString PresetStore::modelOf(const QString &path) const
{
    QByteArray json;
    if (!ParameterProfile::readFile(path, QStringLiteral("preset"), &json, nullptr))
        return QString();
    const QString devType = QJsonDocument::fromJson(json).object().value(QStringLiteral("devType")).toString();
    return SoundCardFactory::devTypes().contains(devType) ? devType : QString();
}

QStringList PresetStore::names(const QString &devType) const
{
    QStringList names;
    const QFileInfoList files = QDir(m_folder).entryInfoList({QStringLiteral("*.json")}, QDir::Files);
    for (const QFileInfo &file : files) {
        const QString name = file.fileName().chopped(kSuffix.size());
        const QString model = modelOf(file.filePath());
        if (checkName(name) == NameProblem::None && (model == devType || model.isEmpty()))
            names << name;
    }
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return QString::localeAwareCompare(a, b) < 0; });
    return names;
}

bool PresetStore::exists(const QString &name) const
{
    return checkName(name) == NameProblem::None && QFileInfo::exists(pathOf(name));
}

PresetOutcome PresetStore::read(const QString &name, const QString &devType, Preset *preset) const
{
    PresetOutcome outcome = checked(name);
    if (!outcome.ok())
        return outcome;
    const QString path = pathOf(name);
    if (!QFileInfo::exists(path))
        return failure(PresetOutcome::Unknown, QStringLiteral("there is no preset \"%1\"").arg(name));
    QByteArray json;
    QString error;
    if (!ParameterProfile::readFile(path, QStringLiteral("preset"), &json, &error))
        return failure(PresetOutcome::FileError, error);
    return parse(json, QStringLiteral("preset %1").arg(path), devType, preset);
}

PresetOutcome PresetStore::parse(const QByteArray &json, const QString &origin, const QString &devType, Preset *preset)
{
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    const QString model = root.value(QStringLiteral("devType")).toString();
    if (SoundCardFactory::devTypes().contains(model) && model != devType)
        return failure(PresetOutcome::OtherModel,
                       QStringLiteral("%1 is for a %2, the device is a %3").arg(origin, model, devType));
    QString error;
    Preset read;
    read.devType = devType;
    if (!ParameterProfile::fromJson(json, origin, devType, &read.setters, &error, &read.parameters))
        return failure(PresetOutcome::Damaged, error);
    // The names go with the buttons: all of them, or none.
    const int buttons = SoundCardFactory::model(devType)->soundEffectCount();
    if (root.contains(kBgmNames)) {
        const QJsonArray names = root.value(kBgmNames).toArray();
        const bool fits =
            names.size() == buttons && std::all_of(names.begin(), names.end(), [](const QJsonValue &v) {
                return v.isString() && !v.toString().trimmed().isEmpty() && v.toString().size() <= kMaxButtonName;
            });
        if (!fits)
            return failure(
                PresetOutcome::Damaged,
                buttons == 0
                    ? QStringLiteral("%1: \"bgmNames\": the %2 has no sound-effect buttons").arg(origin, devType)
                    : QStringLiteral("%1: \"bgmNames\" must be %2 names of 1 to %3 characters")
                          .arg(origin)
                          .arg(buttons)
                          .arg(kMaxButtonName));
        for (const QJsonValue &name : names)
            read.bgmNames << name.toString();
    }
    *preset = read;
    return {};
}

QByteArray PresetStore::toJson(const QString &devType, const QVariantMap &parameters, const QStringList &bgmNames)
{
    QJsonObject root = QJsonDocument::fromJson(ParameterProfile::toJson(devType, parameters)).object();
    if (!bgmNames.isEmpty())
        root.insert(kBgmNames, QJsonArray::fromStringList(bgmNames));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

PresetOutcome PresetStore::write(const QString &name, const QString &devType, const QVariantMap &parameters,
                                 const QStringList &bgmNames) const
{
    PresetOutcome outcome = checked(name);
    if (!outcome.ok())
        return outcome;
    QString error;
    // Only what apply takes back is written.
    if (!ParameterProfile::check(devType, parameters, &error))
        return failure(PresetOutcome::NoAnswer,
                       QStringLiteral("not saved: %1: the %2 reports a value it cannot be set to").arg(error, devType));
    if (!QDir().mkpath(m_folder))
        return failure(PresetOutcome::FileError, QStringLiteral("cannot create the folder %1").arg(m_folder));
    if (!AtomicFile::write(pathOf(name), toJson(devType, parameters, bgmNames), &error))
        return failure(PresetOutcome::FileError, error);
    return {};
}

PresetOutcome PresetStore::rename(const QString &from, const QString &to) const
{
    for (const QString &name : {from, to}) {
        PresetOutcome outcome = checked(name);
        if (!outcome.ok())
            return outcome;
    }
    if (!QFileInfo::exists(pathOf(from)))
        return failure(PresetOutcome::Unknown, QStringLiteral("there is no preset \"%1\"").arg(from));
    if (QFileInfo::exists(pathOf(to)))
        return failure(PresetOutcome::Exists, QStringLiteral("a preset \"%1\" exists already").arg(to));
    // Never replaces a file: one made since the test above stays as well.
    QFile file(pathOf(from));
    if (!file.rename(pathOf(to)))
        return failure(PresetOutcome::FileError,
                       QStringLiteral("cannot rename %1: %2").arg(pathOf(from), file.errorString()));
    return {};
}

PresetOutcome PresetStore::remove(const QString &name) const
{
    PresetOutcome outcome = checked(name);
    if (!outcome.ok())
        return outcome;
    QFile file(pathOf(name));
    if (!file.exists())
        return failure(PresetOutcome::Unknown, QStringLiteral("there is no preset \"%1\"").arg(name));
    if (!file.remove())
        return failure(PresetOutcome::FileError,
                       QStringLiteral("cannot delete %1: %2").arg(pathOf(name), file.errorString()));
    return {};
}

PresetOutcome PresetStore::importFile(const QString &path, const QString &devType, QString *name) const
{
    QByteArray json;
    QString error;
    if (!ParameterProfile::readFile(path, QStringLiteral("preset"), &json, &error))
        return failure(PresetOutcome::FileError, error);
    Preset preset;
    PresetOutcome outcome = parse(json, QStringLiteral("preset %1").arg(path), devType, &preset);
    if (!outcome.ok())
        return outcome;
    // The file's name made a preset's name: no leading dots, not too long, never blank.
    QString base = QFileInfo(path).completeBaseName();
    while (base.startsWith(QLatin1Char('.')))
        base.remove(0, 1);
    base = base.left(kMaxNameLength - 3).trimmed();
    if (checkName(base) != NameProblem::None)
        base = QStringLiteral("Preset");
    QString wanted = base;
    for (int n = 2; exists(wanted); ++n)
        wanted = QStringLiteral("%1 %2").arg(base).arg(n);
    outcome = write(wanted, devType, preset.parameters, preset.bgmNames);
    if (outcome.ok())
        *name = wanted;
    return outcome;
}

PresetOutcome PresetStore::exportTo(const QString &name, const QString &devType, const QString &path) const
{
    Preset preset;
    PresetOutcome outcome = read(name, devType, &preset);
    if (!outcome.ok())
        return outcome;
    QString error;
    if (!AtomicFile::write(path, toJson(devType, preset.parameters, preset.bgmNames), &error))
        return failure(PresetOutcome::FileError, error);
    return {};
}
