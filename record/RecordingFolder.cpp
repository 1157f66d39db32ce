#include "record/RecordingFolder.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString RecordingFolder::path()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (base.isEmpty()) {
        qCritical() << "=== no per-user data folder for recordings ===";
        return {};
    }
    const QString dir = base + QStringLiteral("/recordings");
    if (!QDir().mkpath(dir)) {
        qCritical() << "=== cannot create the recording folder ===" << dir;
        return {};
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
