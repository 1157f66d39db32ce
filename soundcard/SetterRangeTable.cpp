#include "soundcard/SetterRangeTable.h"

#include <algorithm>

namespace {

// One range of one setter argument. A setter whose first argument picks what it sets (a volume
// TYPE, a switch, a sound-mode group) has one row per set of codes with the same range.
struct SetterRange
{
    const char *model;
    const char *command;
    int selector;       // the argument that picks the row; -1: the setter has one row
    QVector<int> codes; // the selector values of this row
    int value;          // the argument the range is for
    int min;
    int max;
};

const SetterRange kRanges[] = {
    {"vx01", "setVolume", 0, {1, 2, 3, 4}, 1, 0, 16},
    {"vx01", "setSwitch", 0, {1, 2, 3, 4, 7}, 1, 1, 2},
    {"vx01", "setSoundMode", 0, {1, 3}, 1, 0, 0},
    {"vx01", "setSoundMode", 0, {2}, 1, 1, 3},
    {"vx01", "setMicReverberation", 1, {1, 2}, 0, 0, 16},
    {"vx01", "setDodgeSpeed", -1, {}, 0, 1, 16},
    {"vx01", "setDodgeThreshold", -1, {}, 0, 1, 16},
    {"vx01", "setDodgeGrade", -1, {}, 0, 1, 16},
    {"vx01", "setMicToneColour", -1, {}, 0, 0, 16},
    {"vx02", "setVolume", 0, {1, 2, 3, 4, 5}, 1, 0, 16},
    {"vx02", "setSwitch", 0, {1, 2, 3}, 1, 1, 2},
    {"vx02", "setSoundMode", 0, {1}, 1, 1, 5},
    {"vx02", "setSoundMode", 0, {2}, 1, 1, 6},
    {"vx02", "setSoundMode", 0, {3}, 1, 1, 12},
    {"vx02", "setMicReverberation", 1, {1}, 0, 0, 16},
    {"vx02", "setDodgeSpeed", -1, {}, 0, 1, 16},
    {"vx02", "setDodgeThreshold", -1, {}, 0, 1, 16},
    {"vx02", "setDodgeGrade", -1, {}, 0, 1, 16},
    {"vx02", "setEliminateVoice", -1, {}, 0, 1, 2},
    {"vx02", "setDenoise", -1, {}, 0, 0, 3},
    {"vx02", "setSpecialEffectSound", -1, {}, 0, 1, 9},
};

QString join(const QVector<int> &codes)
{
    QStringList texts;
    for (int code : codes)
        texts << QString::number(code);
    return texts.join(QLatin1String(", "));
}

} // namespace

bool SetterRangeTable::check(const QString &devType, const QString &setter, const QVector<int> &args,
                             const QStringList &argumentNames, QString *error)
{
    QVector<const SetterRange *> rows;
    for (const SetterRange &range : kRanges) {
        if (devType == QLatin1String(range.model) && setter == QLatin1String(range.command))
            rows << &range;
    }
    if (rows.isEmpty()) {
        *error = QStringLiteral("%1: the %2 has no such setting").arg(setter, devType);
        return false;
    }
    const int selector = rows.first()->selector;
    // An optional selector left out is the setter's default, 1 (setMicReverberation's TYPE).
    const int code = selector < 0 ? 0 : args.value(selector, 1);
    const SetterRange *row = nullptr;
    QVector<int> codes;
    for (const SetterRange *candidate : qAsConst(rows)) {
        codes += candidate->codes;
        if (selector < 0 || candidate->codes.contains(code))
            row = candidate;
    }
    if (!row) {
        std::sort(codes.begin(), codes.end());
        *error = QStringLiteral("%1: %2 %3 is none of %4 on the %5")
                     .arg(setter, argumentNames.value(selector))
                     .arg(code)
                     .arg(join(codes), devType);
        return false;
    }
    const int value = args.value(row->value);
    if (value < row->min || value > row->max) {
        *error = QStringLiteral("%1: %2 %3 is out of range %4..%5 on the %6")
                     .arg(setter, argumentNames.value(row->value))
                     .arg(value)
                     .arg(row->min)
                     .arg(row->max)
                     .arg(devType);
        if (rows.size() > 1)
            *error += QStringLiteral(" for %1 %2").arg(argumentNames.value(selector)).arg(code);
        return false;
    }
    return true;
}
