#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file or nothing: the text goes to a file beside the old one, which it replaces
// only once every byte is written, so a full disk or a crash never leaves a half-written file.
class AtomicFile
{
public:
    // False with "cannot write PATH: REASON" (and "; the old file is kept" when the disk
    // refused the text) in *error.
    static bool write(const QString &path, const QByteArray &text, QString *error);
};
