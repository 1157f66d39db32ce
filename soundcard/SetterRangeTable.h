#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The values each setter takes on each model, so that a call is refused before anything is
// sent instead of sending a byte the device would misread (-1 goes out as 255). vorletctl and
// the panel's D-Bus interface both check against it.
class SetterRangeTable
{
public:
    // True when `args` of the setter named `setter` are in the model's range; otherwise false
    // with a message naming the argument (by `argumentNames`, in order) and its valid values.
    // An optional selector left out is the setter's default, 1.
    static bool check(const QString &devType, const QString &setter, const QVector<int> &args,
                      const QStringList &argumentNames, QString *error);
};
