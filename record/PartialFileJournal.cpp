#include "record/PartialFileJournal.h"

#include "record/DurableFile.h"
#include "record/RecordingFolder.h"

#include <QAtomicInt>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What tells a run from any other, even after a reboot reused its process number: its boot and
// its start time in clock ticks since boot. Empty when no such process runs.
QByteArray runIdentity(qint64 pid)
{
    const QByteArray stat = readAll(QStringLiteral("/proc/%1/stat").arg(pid));
    // The command name in parentheses may hold spaces; the fields after it are plain.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const int startTimeField = 19; // field 22 of the line, counted from the state (field 3)
    if (fields.size() <= startTimeField)
        return {};
    return readAll(QStringLiteral("/proc/sys/kernel/random/boot_id")).trimmed() + ' ' + fields[startTimeField];
}

bool isOurKind(const QString &path)
{
    static const QRegularExpression partialName(QStringLiteral("^\\..+\\.part-\\d+\\.[^./]+$"));
    const QFileInfo file(path);
    return partialName.match(file.fileName()).hasMatch() || file.absolutePath() == RecordingFolder::path();
}

} // namespace

QString PartialFileJournal::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/partial-files");
}

bool PartialFileJournal::add(const QString &path)
{
    static QAtomicInt next;
    const QString entry = QStringLiteral("%1/%2-%3").arg(folder()).arg(::getpid()).arg(next.fetchAndAddRelaxed(1));
    QString cause;
    const QByteArray text = QFile::encodeName(QFileInfo(path).absoluteFilePath()) + '\n' + runIdentity(::getpid());
    if (!QDir().mkpath(folder()) || !DurableFile::create(entry, text, &cause)) {
        qCritical() << "=== cannot list the file being written ===" << path << entry << cause;
        return false;
    }
    m_entries.insert(path, entry);
    return true;
}

void PartialFileJournal::remove(const QString &path)
{
    const QString entry = m_entries.take(path);
    if (!entry.isEmpty() && !QFile::remove(entry))
        qWarning() << "=== cannot remove the entry of a finished file ===" << entry;
}

QStringList PartialFileJournal::removeLeftovers()
{
    QStringList removed;
    const QDir dir(folder());
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QList<QByteArray> lines = readAll(dir.filePath(name)).split('\n');
        // A run that still goes keeps its entries; so does a half-written entry of one.
        if (name.startsWith(QLatin1Char('.')) || lines.size() < 2
            || runIdentity(name.section(QLatin1Char('-'), 0, 0).toLongLong()) == lines[1])
            continue;
        const QString path = QFile::decodeName(lines[0]);
        if (!isOurKind(path)) {
            qWarning() << "=== a listed partial file is none of ours, kept ===" << path;
        } else if (QFile::exists(path)) {
            if (QFile::remove(path))
                removed.append(path);
            qWarning() << "=== partial file of a run that ended early ===" << path
                       << (removed.contains(path) ? "removed" : "cannot be removed");
        }
        QFile::remove(dir.filePath(name));
    }
    return removed;
}
