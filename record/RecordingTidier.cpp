#include "record/RecordingTidier.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

void RecordingTidier::remember(const QString &path, const QString &take)
{
    if (!path.isEmpty())
        m_takeOf.insert(QFileInfo(path).absoluteFilePath(), QFileInfo(take).absoluteFilePath());
}

void RecordingTidier::forget(const QString &path)
{
    m_takeOf.remove(QFileInfo(path).absoluteFilePath());
}

RecordingTidier::Result RecordingTidier::tidy(const QString &current, const QStringList &keep)
{
    const QFileInfo record(current);
    const QString folder = record.absolutePath();
    // Cut copies carry their recording's name up to its first dot: take_1.wav of take.wav.
    const QString kept = record.baseName();
    QSet<QString> keptFiles;
    for (const QString &path : keep)
        keptFiles.insert(QFileInfo(path).absoluteFilePath());
    Result result;
    const QList<QString> own = m_takeOf.keys();
    for (const QString &path : own) {
        const QFileInfo file(path);
        if (file.absolutePath() != folder || file.baseName().contains(kept, Qt::CaseInsensitive)
            || keptFiles.contains(path))
            continue;
        const bool present = file.exists();
        if (present && !QFile::moveToTrash(path)) {
            qCritical() << "=== cannot move a working file of an earlier take to the trash, kept ===" << path;
            continue;
        }
        const QString take = QFileInfo(m_takeOf.take(path)).fileName();
        if (!result.takes.contains(take))
            result.takes.append(take);
        result.files.insert(path);
    }
    result.takes.sort();
    if (!result.files.isEmpty())
        qDebug() << "=== working files of earlier takes moved to the trash ===" << result.files.values();
    return result;
}
