#include "app/SessionFiles.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kMaxSuffixLength = 32;
}

bool SessionFiles::isPrivateFolder(const QByteArray &path)
{
    struct stat info
    {
    };
    // lstat: a symbolic link planted by someone else is not followed.
    return !path.isEmpty() && ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

QString SessionFiles::folder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (isPrivateFolder(runtime))
        return QFile::decodeName(runtime);
    const QByteArray fallback = QFile::encodeName(QDir::tempPath()) + "/vorlet-" + QByteArray::number(uint(::getuid()));
    ::mkdir(fallback.constData(), 0700);
    return isPrivateFolder(fallback) ? QFile::decodeName(fallback) : QString();
}

QString SessionFiles::sessionSuffix()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        return QString();
    for (QChar &c : display) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('.') && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    }
    return QLatin1Char('-') + display.right(kMaxSuffixLength);
}

QString SessionFiles::file(const QString &key, const QString &suffix)
{
    const QString base = folder();
    return base.isEmpty() ? QString() : base + QLatin1Char('/') + key + sessionSuffix() + suffix;
}
