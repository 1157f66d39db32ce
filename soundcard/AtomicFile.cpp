#include "soundcard/AtomicFile.h"

#include <QSaveFile>

bool AtomicFile::write(const QString &path, const QByteArray &text, QString *error)
{
    const auto fail = [&](const QString &cause) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, cause);
        return false;
    };
    // Unbuffered, so that a write the disk refuses fails here: a buffered one fails only when
    // the file is closed, and commit() then replaces the old file with an empty one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    if (file.write(text) != text.size() || file.error() != QFileDevice::NoError) {
        const QString cause = file.errorString();
        file.cancelWriting();
        return fail(cause + QStringLiteral("; the old file is kept"));
    }
    if (!file.flush() || !file.commit())
        return fail(file.errorString());
    return true;
}
