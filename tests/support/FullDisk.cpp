#include "support/FullDisk.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

FullDisk::FullDisk(qint64 bytes, const QString &at)
    : m_path(at.isEmpty() ? m_own.path() : at)
{
    const QByteArray options = "size=" + QByteArray::number(bytes);
    m_mounted = bytes > 0
        && ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData())
            == 0;
    if (bytes > 0 && !m_mounted)
        m_reason = QStringLiteral("cannot mount a small tmpfs as a full disk on %1 (%2): needs root, as on CI")
                       .arg(m_path, QString::fromLocal8Bit(std::strerror(errno)));
}

FullDisk::~FullDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
}

bool FullDisk::fill(qint64 spare)
{
    QFile filler(filePath(QStringLiteral(".filler")));
    if (!m_mounted || !filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) { }
    return filler.resize(qMax<qint64>(0, filler.size() - spare));
}
