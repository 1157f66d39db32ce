#include "record/RecordingFolder.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

QString RecordingFolder::path(QString *error)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (base.isEmpty()) {
        qCritical() << "=== no per-user data folder for recordings ===";
        if (error)
            *error = QStringLiteral("no per-user data folder");
        return {};
    }
    const QString dir = base + QStringLiteral("/recordings");
    if (QFileInfo(dir).isDir())
        return dir;
    // Made one level after the other, so that the level that fails tells why.
    QString made;
    for (const QString &part : dir.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        made += QLatin1Char('/') + part;
        if (QFileInfo(made).isDir())
            continue;
        const int failure = ::mkdir(QFile::encodeName(made).constData(), 0777) == 0 ? 0 : errno;
        if (failure && !QFileInfo(made).isDir()) {
            const QString cause = qt_error_string(failure);
            qCritical() << "=== cannot create the recording folder ===" << made << cause;
            if (error)
                *error = QStringLiteral("%1: %2").arg(made, cause);
            return {};
        }
    }
    return dir;
}

QString RecordingFolder::nextRecordingPath(const QString &folder, int *number)
{
    for (int n = number ? *number + 1 : 1;; ++n) {
        const QString path = QStringLiteral("%1/clip_%2.wav").arg(folder).arg(n, 4, 10, QLatin1Char('0'));
        if (!QFileInfo::exists(path)) {
            if (number)
                *number = n;
            return path;
        }
    }
}

QString RecordingFolder::localPath(const QUrl &location)
{
    if (location.isEmpty())
        return {};
    if (location.isLocalFile())
        return location.toLocalFile();
    return location.path(QUrl::FullyDecoded);
}
