#pragma once

#include <QtGlobal>

// Where one data byte of a setter's command comes from: a fixed sub-code, or the low 8 bits of
// the setter's first or second argument.
struct DataByte
{
    enum Source : quint8 { Fixed, FirstArgument, SecondArgument };

    Source source = Fixed;
    quint8 value = 0;

    static constexpr DataByte fixed(quint8 v) { return DataByte{Fixed, v}; }
    static constexpr DataByte first() { return DataByte{FirstArgument, 0}; }
    static constexpr DataByte second() { return DataByte{SecondArgument, 0}; }

    quint8 resolve(int firstArgument, int secondArgument) const
    {
        switch (source) {
        case FirstArgument: return quint8(firstArgument & 0xFF);
        case SecondArgument: return quint8(secondArgument & 0xFF);
        case Fixed: break;
        }
        return value;
    }
};
