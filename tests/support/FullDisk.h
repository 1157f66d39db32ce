#pragma once

#include <QString>
#include <QTemporaryDir>

// A real full disk for a test: a small tmpfs mounted on a folder and filled up. Mounting needs
// root, as the tests run on CI; where it fails, reason() says why and the test skips:
//     FullDisk disk;
//     if (!disk.isMounted())
//         QSKIP(qPrintable(disk.reason()));
class FullDisk
{
public:
    // Mounts `bytes` of tmpfs on `at` (a folder of its own when empty); with 0 bytes nothing is
    // mounted: a folder with room, for the cases beside a full one.
    explicit FullDisk(qint64 bytes = 256 * 1024, const QString &at = QString());
    ~FullDisk();

    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    QString reason() const { return m_reason; }
    QString path() const { return m_path; }
    QString filePath(const QString &name) const { return m_path + QLatin1Char('/') + name; }

    // Writes a filler file until the disk is full, then gives back about `spare` bytes.
    bool fill(qint64 spare = 0);

private:
    QTemporaryDir m_own;
    QString m_path;
    QString m_reason;
    bool m_mounted = false;
};
