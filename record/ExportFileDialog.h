#pragma once

#include <QString>

// The file dialog that asks where an export goes: it lists the export types, proposes WAV,
// gives a name typed without a suffix the one of the chosen type and replaces a file only
// after asking.
class ExportFileDialog
{
public:
    // (caption, filter) -> the chosen path, empty when the user cancels.
    static QString ask(const QString &caption, const QString &filter);
};
