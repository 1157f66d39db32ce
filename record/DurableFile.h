#pragma once

#include <QByteArray>
#include <QString>

class QFileDevice;

// Writes that a crash or a power cut leaves whole or not at all, and whose failures say why.
// Every write is checked, and a short one is carried on until the system either takes the rest
// or names its error ("No space left on device", never "Unknown error"); a file reaches the disk
// before the rename that puts it in place, and the rename reaches it through its folder.
class DurableFile
{
public:
    // Writes all of bytes to the open file; false with the cause otherwise.
    static bool write(QFileDevice &file, const QByteArray &bytes, QString *cause);
    // Flushes the open file's data to the disk.
    static bool sync(QFileDevice &file, QString *cause);
    // Flushes the file at path to the disk.
    static bool sync(const QString &path, QString *cause);
    // Copies from to the new file to (which must not exist), synced to the disk.
    static bool copy(const QString &from, const QString &to, QString *cause);
    // Puts the complete file from in the place of to in one step, after flushing it.
    static bool replace(const QString &from, const QString &to, QString *cause);
    // Writes bytes as the file at path: to a hidden file beside it first, then replace().
    static bool create(const QString &path, const QByteArray &bytes, QString *cause);
};
