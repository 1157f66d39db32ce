#pragma once

#include <QString>
#include <QUrl>

// Where the recording window keeps its files, and how a recorder's location becomes a path.
class RecordingFolder
{
public:
    // "recordings" under the per-user data folder, created when missing. Empty (with a log
    // line, and the folder and the cause in *error) when it cannot be created.
    static QString path(QString *error = nullptr);

    // A file name for the next recording in folder: "clip_0001.wav", "clip_0002.wav", ... the
    // first that is free and, with `number`, above *number, which becomes the number taken.
    // The backend cannot take a folder as its output location.
    static QString nextRecordingPath(const QString &folder, int *number = nullptr);

    // The local path of a location the recorder reported. The recorder reports either a file
    // URL or, when it picked the place itself, a URL without a scheme whose path is the path.
    static QString localPath(const QUrl &location);
};
