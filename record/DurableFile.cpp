#include "record/DurableFile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool systemCall(bool ok, QString *cause)
{
    if (!ok)
        *cause = qt_error_string(errno);
    return ok;
}

// The folder's entry of a renamed file is only durable once the folder itself is synced.
bool syncFolder(const QString &path, QString *cause)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (!systemCall(fd >= 0, cause))
        return false;
    const bool synced = systemCall(::fsync(fd) == 0, cause);
    ::close(fd);
    return synced;
}

} // namespace

bool DurableFile::write(QFileDevice &file, const QByteArray &bytes, QString *cause)
{
    // QFile reports a write the disk cut short as a short count without an error; the next
    // write of the rest fails with the system's cause.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            *cause = file.errorString();
            return false;
        }
        done += n;
    }
    return true;
}

bool DurableFile::sync(QFileDevice &file, QString *cause)
{
    if (!file.flush()) {
        *cause = file.errorString();
        return false;
    }
    return systemCall(::fsync(file.handle()) == 0, cause);
}

bool DurableFile::sync(const QString &path, QString *cause)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *cause = file.errorString();
        return false;
    }
    return sync(file, cause);
}

bool DurableFile::copy(const QString &from, const QString &to, QString *cause)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly)) {
        *cause = in.errorString();
        return false;
    }
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        *cause = out.errorString();
        return false;
    }
    for (;;) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty())
            break;
        if (!write(out, block, cause))
            return false;
    }
    if (in.error() != QFileDevice::NoError) {
        *cause = in.errorString();
        return false;
    }
    return sync(out, cause);
}

bool DurableFile::replace(const QString &from, const QString &to, QString *cause)
{
    return sync(from, cause)
        && systemCall(std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0, cause)
        && syncFolder(to, cause);
}

bool DurableFile::create(const QString &path, const QByteArray &bytes, QString *cause)
{
    const QFileInfo target(path);
    const QString temporary = target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".new");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *cause = file.errorString();
        return false;
    }
    const bool written = write(file, bytes, cause);
    file.close();
    if (written && replace(temporary, path, cause))
        return true;
    QFile::remove(temporary);
    return false;
}
