#pragma once

#include <QString>

class HidBackend;

// Tells which model is attached, as the program's start-up scan does: the first collection, in
// enumeration order, whose path holds a model's vendor/product text decides.
class DeviceFinder
{
public:
    // "vx01", "vx02" or empty.
    static QString find(HidBackend &backend);
    // The model whose text occurs in `path` (case ignored), in table order; empty for none.
    static QString devTypeFromPath(const QString &path);
};
