#pragma once

#include <QCoreApplication>
#include <QString>

// The file dialog of the presets' import and export: preset files (*.json), a name typed
// without suffix gets ".json", and a file is replaced only after asking.
class PresetFileDialog
{
    Q_DECLARE_TR_FUNCTIONS(PresetFileDialog)
public:
    // (save?, suggested file name) -> the chosen path, empty when the user cancels.
    static QString ask(bool save, const QString &suggested);
};
