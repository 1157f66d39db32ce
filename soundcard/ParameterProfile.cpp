#include "soundcard/ParameterProfile.h"

#include "soundcard/AtomicFile.h"
#include "soundcard/SetterSlot.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardModel.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

const QString kDevType = QStringLiteral("devType");
const QString kParameters = QStringLiteral("parameters");

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// vx01 "model" value → setSoundMode arguments: music, singing with large, medium and small
// reverberation, chat.
struct Vx01Mode
{
    int model;
    int modeType;
    int detail;
};

const Vx01Mode kVx01Modes[] = {{1, 1, 0}, {2, 2, 1}, {3, 2, 2}, {4, 2, 3}, {7, 3, 0}};

bool vx01Mode(int model, int *modeType, int *detail)
{
    for (const Vx01Mode &mode : kVx01Modes) {
        if (mode.model == model) {
            *modeType = mode.modeType;
            *detail = mode.detail;
            return true;
        }
    }
    return false;
}

} // namespace

bool ParameterProfile::check(const QString &devType, const QJsonObject &values, QMap<QString, int> *checked,
                             QString *error)
{
    checked->clear();
    const SoundCardModel *model = SoundCardFactory::model(devType);
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        const ModelParameter *entry = model ? model->parameter(it.key()) : nullptr;
        if (!entry)
            return fail(error, QStringLiteral("unknown key \"%1\" for a %2").arg(it.key(), devType));
        const double number = it.value().toDouble(NAN);
        if (!it.value().isDouble() || std::floor(number) != number)
            return fail(error, QStringLiteral("\"%1\" is not an integer").arg(it.key()));
        if (number < entry->min || number > entry->max)
            return fail(error,
                        QStringLiteral("\"%1\" = %2 is out of range %3..%4")
                            .arg(it.key())
                            .arg(number)
                            .arg(entry->min)
                            .arg(entry->max));
        int modeType = 0;
        int detail = 0;
        if (entry->kind == ModelParameter::Kind::Vx01Model && !vx01Mode(int(number), &modeType, &detail))
            return fail(error, QStringLiteral("\"model\" = %1 is none of 1, 2, 3, 4, 7").arg(number));
        checked->insert(it.key(), int(number));
    }
    const bool hasGroup = checked->contains(QStringLiteral("soundMode"));
    const bool hasDetail = checked->contains(QStringLiteral("modelDetail"));
    if (hasGroup != hasDetail)
        return fail(error, QStringLiteral("\"soundMode\" and \"modelDetail\" go together"));
    const int group = checked->value(QStringLiteral("soundMode"));
    const int choice = checked->value(QStringLiteral("modelDetail"));
    // The choices of a group: the range of setSoundMode's row for it.
    const ModelParameter *choices = hasGroup ? model->setterRange(SetterOp::SoundMode, group) : nullptr;
    if (hasGroup && (!choices || choice < choices->min || choice > choices->max))
        return fail(
            error,
            QStringLiteral("\"modelDetail\" = %1 is out of range for \"soundMode\" = %2").arg(choice).arg(group));
    return true;
}

bool ParameterProfile::check(const QString &devType, const QVariantMap &parameters, QString *error)
{
    QMap<QString, int> checked;
    return check(devType, valuesOf(parameters), &checked, error);
}

QJsonObject ParameterProfile::valuesOf(const QVariantMap &parameters)
{
    QJsonObject values;
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
        values.insert(it.key(), it.value().toInt());
    return values;
}

QByteArray ParameterProfile::toJson(const QString &devType, const QVariantMap &parameters, bool compact)
{
    const QJsonObject root{{kDevType, devType}, {kParameters, valuesOf(parameters)}};
    return QJsonDocument(root).toJson(compact ? QJsonDocument::Compact : QJsonDocument::Indented);
}

bool ParameterProfile::save(const QString &path, const QString &devType, const QVariantMap &parameters, QString *error)
{
    QString problem;
    if (!check(devType, parameters, &problem))
        return fail(error, QStringLiteral("not saved to %1: %2").arg(path, problem));
    return AtomicFile::write(path, toJson(devType, parameters), error);
}

bool ParameterProfile::readFile(const QString &path, const QString &what, QByteArray *json, QString *error)
{
    // A FIFO would block the open, a device would be read without end: only plain files of a
    // profile's size are read.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return fail(error, QStringLiteral("cannot read %1 %2: not a regular file").arg(what, path));
    const QString tooLarge = QStringLiteral("cannot read %1 %2: larger than 1 MiB, no %1").arg(what, path);
    if (info.size() > kMaxFileBytes)
        return fail(error, tooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("cannot read %1 %2: %3").arg(what, path, file.errorString()));
    *json = file.read(kMaxFileBytes + 1);
    if (json->size() > kMaxFileBytes)
        return fail(error, tooLarge);
    return true;
}

bool ParameterProfile::load(const QString &path, const QString &devType, QVector<Step> *steps, QString *error)
{
    QByteArray json;
    return readFile(path, QStringLiteral("profile"), &json, error)
        && fromJson(json, QStringLiteral("profile %1").arg(path), devType, steps, error);
}

bool ParameterProfile::fromJson(const QByteArray &json, const QString &origin, const QString &devType,
                                QVector<Step> *steps, QString *error, QVariantMap *values)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull())
        return fail(error, QStringLiteral("%1 is no JSON: %2").arg(origin, parseError.errorString()));
    const QJsonObject root = document.object();
    if (!root.value(kParameters).isObject())
        return fail(error, QStringLiteral("%1 has no \"parameters\" object").arg(origin));
    const QJsonValue type = root.value(kDevType);
    if (!type.isString() || !SoundCardFactory::devTypes().contains(type.toString())) {
        return fail(error,
                    QStringLiteral("%1: \"devType\" must be one of %2")
                        .arg(origin, SoundCardFactory::devTypes().join(QStringLiteral(", "))));
    }
    if (type.toString() != devType)
        return fail(error, QStringLiteral("%1 is for a %2, the device is a %3").arg(origin, type.toString(), devType));

    // Check every value first.
    QMap<QString, int> checked;
    QString problem;
    if (!check(devType, root.value(kParameters).toObject(), &checked, &problem))
        return fail(error, QStringLiteral("%1: %2").arg(origin, problem));

    if (values) {
        values->clear();
        for (auto it = checked.cbegin(); it != checked.cend(); ++it)
            values->insert(it.key(), it.value());
    }
    // Then the calls, in the table's order.
    steps->clear();
    for (const ModelParameter &entry : SoundCardFactory::model(devType)->parameters) {
        const QString key = QString::fromLatin1(entry.key);
        if (!entry.hasKey() || !checked.contains(key))
            continue;
        const int value = checked.value(key);
        switch (entry.kind) {
        case ModelParameter::Kind::Setter:
            steps->append(SetterSlot::of(entry.setter).callFor(entry.code, value));
            break;
        case ModelParameter::Kind::Vx01Model: {
            int modeType = 0;
            int detail = 0;
            vx01Mode(value, &modeType, &detail);
            steps->append({SetterOp::SoundMode, {modeType, detail}});
            break;
        }
        case ModelParameter::Kind::Vx02Group: {
            const int detail = checked.value(QStringLiteral("modelDetail"));
            steps->append({SetterOp::SoundMode, {value, detail}});
            break;
        }
        case ModelParameter::Kind::Vx02Detail:
        case ModelParameter::Kind::ReportedOnly:
        case ModelParameter::Kind::SetterOnly: break;
        }
    }
    return true;
}
