#pragma once

#include <QString>

class HidBackend;

// Tells which model is attached, the way the program does at start: the start-up scan of the
// device detection (without its window); its first report decides.
class DeviceFinder
{
public:
    // "vx01", "vx02" or empty.
    static QString find(HidBackend &backend);
};
