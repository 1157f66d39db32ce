#include "record/RecordingRecovery.h"

#include "record/PartialFileJournal.h"
#include "record/RecordingFolder.h"
#include "record/WaveFile.h"

#include <QDebug>
#include <QDir>

QString RecordingRecovery::run()
{
    // Half-written cut copies go first: they are no takes to repair.
    PartialFileJournal::removeLeftovers();
    QStringList repaired;
    const QString folder = RecordingFolder::path();
    if (folder.isEmpty())
        return {};
    const QStringList takes = QDir(folder).entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name);
    for (const QString &name : takes) {
        bool changed = false;
        if (!WaveFile::fixSizes(QDir(folder).filePath(name), &changed))
            qWarning() << "=== a file in the recording folder is no take that can be read ===" << name;
        if (changed)
            repaired.append(name);
    }
    if (repaired.isEmpty())
        return {};
    qWarning() << "=== takes of a session that ended early repaired ===" << repaired;
    return tr("中断的录音 %1 已修复").arg(repaired.join(QLatin1String(", ")));
}
