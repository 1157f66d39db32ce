#pragma once

#include <QString>
#include <QtGlobal>

// One trace line: "> " (to the device) or "< " (from it), then the report as upper-case
// two-digit hex bytes separated by single spaces.
class TraceLine
{
public:
    static QString format(char direction, const quint8 *bytes, int count);
};
