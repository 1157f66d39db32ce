#include "soundcard/PresetPreview.h"

#include "soundcard/PresetDiff.h"
#include "soundcard/SoundCardModel.h"

namespace {

using Kind = ModelParameter::Kind;

QString kindOf(const ModelParameter &row)
{
    switch (row.kind) {
    case Kind::Vx01Model: return QStringLiteral("vx01Mode");
    case Kind::Vx02Group:
    case Kind::Vx02Detail: return QStringLiteral("vx02Mode");
    case Kind::Setter:
    case Kind::SetterOnly:
    case Kind::ReportedOnly: break;
    }
    if (row.min == 1 && row.max == 2)
        return QStringLiteral("switch");
    return row.min == 0 && row.setter == SetterOp::Denoise ? QStringLiteral("level") : QStringLiteral("number");
}

} // namespace

QVariantList PresetPreview::rows(const SoundCardModel &model, const QVariantMap &device, const QVariantMap &preset,
                                 const QStringList &deviceNames, const QStringList &presetNames)
{
    QVariantList rows;
    bool modeListed = false;
    for (const PresetChange &change : PresetDiff::between(model, device, preset)) {
        const ModelParameter &row = *model.parameter(change.key);
        const QString kind = kindOf(row);
        QVariantMap shown{{QStringLiteral("key"), change.key},
                          {QStringLiteral("kind"), kind},
                          {QStringLiteral("from"), change.current},
                          {QStringLiteral("to"), change.preset}};
        // A sound mode's group and choice go out together: one row, whichever of them differs.
        if (kind == QLatin1String("vx02Mode")) {
            if (modeListed)
                continue;
            modeListed = true;
            const QString group = QStringLiteral("soundMode");
            const QString detail = QStringLiteral("modelDetail");
            shown = {{QStringLiteral("key"), group},
                     {QStringLiteral("kind"), kind},
                     {QStringLiteral("from"), device.value(group, -1).toInt()},
                     {QStringLiteral("to"), preset.value(group).toInt()},
                     {QStringLiteral("fromDetail"), device.value(detail, -1).toInt()},
                     {QStringLiteral("toDetail"), preset.value(detail).toInt()}};
        }
        rows.append(shown);
    }
    for (int i = 0; i < presetNames.size(); ++i) {
        if (presetNames.at(i) != deviceNames.value(i))
            rows.append(QVariantMap{{QStringLiteral("key"), QStringLiteral("bgmName")},
                                    {QStringLiteral("kind"), QStringLiteral("name")},
                                    {QStringLiteral("index"), i},
                                    {QStringLiteral("from"), deviceNames.value(i)},
                                    {QStringLiteral("to"), presetNames.at(i)}});
    }
    return rows;
}
