#include "soundcard/SetterRangeTable.h"

#include "soundcard/SetterSlot.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardModel.h"

#include <algorithm>

bool SetterRangeTable::check(const QString &devType, SetterOp op, const QVector<int> &args,
                             const QStringList &argumentNames, QString *error)
{
    const SetterSlot &slot = SetterSlot::of(op);
    const QString setter = QLatin1String(slot.name);
    const SoundCardModel *model = SoundCardFactory::model(devType);
    const QVector<const ModelParameter *> rows = model ? model->setterRanges(op) : QVector<const ModelParameter *>();
    if (rows.isEmpty()) {
        *error = QStringLiteral("%1: the %2 has no such setting").arg(setter, devType);
        return false;
    }
    const int code = slot.selector < 0 ? 0 : args.value(slot.selector, 1);
    const ModelParameter *row = model->setterRange(op, code);
    if (!row) {
        QVector<int> codes;
        for (const ModelParameter *candidate : rows)
            codes << candidate->code;
        std::sort(codes.begin(), codes.end());
        QStringList texts;
        for (int each : qAsConst(codes))
            texts << QString::number(each);
        *error = QStringLiteral("%1: %2 %3 is none of %4 on the %5")
                     .arg(setter, argumentNames.value(slot.selector))
                     .arg(code)
                     .arg(texts.join(QLatin1String(", ")), devType);
        return false;
    }
    const int value = args.value(slot.value);
    if (value < row->min || value > row->max) {
        *error = QStringLiteral("%1: %2 %3 is out of range %4..%5 on the %6")
                     .arg(setter, argumentNames.value(slot.value))
                     .arg(value)
                     .arg(row->min)
                     .arg(row->max)
                     .arg(devType);
        // Where the codes differ in range, the message names the one that was given.
        const bool oneRange = std::all_of(rows.cbegin(), rows.cend(), [row](const ModelParameter *other) {
            return other->min == row->min && other->max == row->max;
        });
        if (!oneRange)
            *error += QStringLiteral(" for %1 %2").arg(argumentNames.value(slot.selector)).arg(code);
        return false;
    }
    return true;
}
