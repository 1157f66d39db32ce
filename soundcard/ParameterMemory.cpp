#include "soundcard/ParameterMemory.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSettingsFile, "vorlet.settings")

namespace {

const QString kRestoreKey = QStringLiteral("RestoreLastSettings");
const QString kGroup = QStringLiteral("LastSettings/");

struct FileStamp
{
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp &other) const { return size == other.size && modified == other.modified; }
};

// The file as this process last wrote or checked it: a change by anyone else is checked once.
FileStamp g_seen;
QString g_lastWriteError;

FileStamp stampOf(const QString &file)
{
    const QFileInfo info(file);
    return info.exists() ? FileStamp{info.size(), info.lastModified()} : FileStamp{};
}

// Whether Qt's reader takes all of `file`. Read from a copy: the settings objects of a process
// share what was read, and only the one that happened to read it first is told of an error.
bool readsWhole(const QString &file)
{
    const QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("check.conf"));
    if (!folder.isValid() || !QFile::copy(file, copy))
        return true;
    QSettings check(copy, QSettings::IniFormat);
    check.allKeys();
    return check.status() != QSettings::FormatError;
}

void checkForm(const QString &file)
{
    const FileStamp now = stampOf(file);
    if (now.size <= 0 || now == g_seen)
        return;
    g_seen = now;
    if (readsWhole(file))
        return;
    const QString kept = file + QStringLiteral(".damaged");
    QFile::remove(kept);
    if (QFile::copy(file, kept))
        qCWarning(lcSettingsFile,
                  "%s: format error: what cannot be read is ignored and left out at the next write "
                  "(the file as it was is kept as %s)",
                  qPrintable(file), qPrintable(kept));
    else
        qCWarning(lcSettingsFile, "%s: format error: what cannot be read is ignored and left out at the next write",
                  qPrintable(file));
}

// QSettings tells only that a write failed: the steps it takes are tried here for the cause
// (the file opened for writing, a new file beside it as large as the file, synced).
QString writeFailureCause(const QString &file)
{
    const QByteArray path = QFile::encodeName(file);
    if (::access(path.constData(), F_OK) == 0) {
        const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
    }
    QByteArray probe = QFile::encodeName(QFileInfo(file).absolutePath()) + "/.vorlet-probe-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    const QByteArray filler(qMax<qint64>(QFileInfo(file).size(), 4096), ' ');
    errno = 0;
    const bool written = ::write(fd, filler.constData(), size_t(filler.size())) == filler.size() && ::fsync(fd) == 0;
    const int cause = written ? 0 : errno ? errno : ENOSPC;
    ::close(fd);
    ::unlink(probe.constData());
    return cause ? QString::fromLocal8Bit(std::strerror(cause)) : QStringLiteral("cause unknown");
}

// The rename that replaced the file is on disk once its folder is.
void syncFolder(const QString &file)
{
    const int fd =
        ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool ParameterMemory::restoreEnabled() const
{
    return open()->value(kRestoreKey, false).toBool();
}

bool ParameterMemory::setRestoreEnabled(bool on)
{
    return write(kRestoreKey, on);
}

bool ParameterMemory::remember(const QString &serial, const QByteArray &profile)
{
    return write(keyOf(serial), QString::fromUtf8(profile));
}

QByteArray ParameterMemory::recall(const QString &serial) const
{
    return open()->value(keyOf(serial)).toString().toUtf8();
}

QString ParameterMemory::lastWriteError()
{
    return g_lastWriteError;
}

// A serial number is a key of its own, never a path of groups.
QString ParameterMemory::keyOf(const QString &serial)
{
    QString key = serial;
    key.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return kGroup + key;
}

// The program's own settings, whichever program (the panel or vorletctl) asks.
std::unique_ptr<QSettings> ParameterMemory::open()
{
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QStringLiteral("Brindle"), QStringLiteral("vorlet"));
    checkForm(settings->fileName());
    return settings;
}

bool ParameterMemory::write(const QString &key, const QVariant &value)
{
    std::unique_ptr<QSettings> settings = open();
    settings->setValue(key, value);
    settings->sync();
    // A format error met while reading hides how the write went: a fresh object tells (its
    // first sync writes again what this one could not).
    if (settings->status() == QSettings::FormatError)
        settings = open();
    const QString file = settings->fileName();
    if (settings->status() != QSettings::AccessError) {
        syncFolder(file);
        g_seen = stampOf(file);
        g_lastWriteError.clear();
        return true;
    }
    g_lastWriteError = QStringLiteral("%1 cannot be written: %2").arg(file, writeFailureCause(file));
    qWarning("%s", qPrintable(g_lastWriteError));
    return false;
}
