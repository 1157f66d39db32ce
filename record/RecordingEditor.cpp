#include "record/RecordingEditor.h"

#include "record/DurableFile.h"
#include "record/RecordingFormat.h"
#include "record/WaveFile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Export targets by suffix (compared case-sensitively): codec for the encoder, or an empty
// codec for WAV, which is copied as it is; and the codec's frame, in samples. An encoder pads
// the end to a whole frame and may add one before the audio (MP3's Info frame, AAC's priming),
// so a complete export lasts from one frame less than the audio to two frames more.
struct ExportFormat
{
    const char *suffix;
    const char *codec;
    int frameSamples;
};

const ExportFormat kExportFormats[] = {
    {"mp3", "libmp3lame", 1152}, {"aac", "aac", 1024}, {"wma", "wmav2", 2048},
    {"flac", "flac", 4608},      {"ac3", "ac3", 1536}, {"wav", "", 0},
};

const ExportFormat *exportFormat(const QString &suffix)
{
    for (const ExportFormat &format : kExportFormats) {
        if (suffix == QLatin1String(format.suffix))
            return &format;
    }
    return nullptr;
}

QString knownSuffixes()
{
    QStringList suffixes;
    for (const ExportFormat &format : kExportFormats)
        suffixes.append(QLatin1Char('.') + QLatin1String(format.suffix));
    return suffixes.join(QLatin1String(", "));
}

// A cut copy shorter than this below what the cut leaves is incomplete: the encoder's own
// rounding stays well inside it.
const qint64 kCutToleranceMs = 100;

} // namespace

RecordingEditor::RecordingEditor(QObject *parent)
    : QObject(parent)
    , m_encoder(new EncoderProcess(this))
{
    connect(m_encoder, &EncoderProcess::progress, this, &RecordingEditor::progress);
    connect(m_encoder, &EncoderProcess::finished, this, &RecordingEditor::encoderFinished);
}

RecordingEditor::~RecordingEditor()
{
    stop();
}

void RecordingEditor::beginRecording()
{
    cancel();
    m_cutIndex = 1;
}

void RecordingEditor::setRecording(const QString &path)
{
    m_recordPath = path;
    m_playPath = path;
    m_tidier.remember(path, path);
}

QString RecordingEditor::cutCopyPath(const QString &recordPath, int index)
{
    const QFileInfo record(recordPath);
    return record.path() + QLatin1Char('/') + record.baseName() + QStringLiteral("_%1.").arg(index) + record.suffix();
}

QString RecordingEditor::partialPath(const QString &target)
{
    const QFileInfo file(target);
    for (int n = 1;; ++n) {
        const QString path = file.dir().filePath(
            QStringLiteral(".%1.part-%2.%3").arg(file.completeBaseName()).arg(n).arg(file.suffix()));
        if (!QFileInfo::exists(path))
            return path;
    }
}

void RecordingEditor::cut(double startTime, double endTime)
{
    if (m_playPath.isEmpty())
        return;
    // Nothing lies before the start of the file: a range reaching into the margin starts at 0.
    startTime = qMax(startTime, 0.0);
    endTime = qMax(endTime, 0.0);
    if (!(endTime > startTime)) {
        // The view has already cleared itself for the new file.
        emit workingFileChanged(m_playPath, -1);
        return;
    }
    EditJob job;
    job.kind = EditJob::Cut;
    job.start = startTime;
    job.end = endTime;
    m_jobs.enqueue(job);
    runJobs();
}

void RecordingEditor::undo()
{
    // After the cuts asked for before it.
    if (isBusy() || !m_jobs.isEmpty()) {
        EditJob job;
        job.kind = EditJob::Undo;
        m_jobs.enqueue(job);
        return;
    }
    undoNow();
}

void RecordingEditor::exportTo(const QString &target)
{
    if (m_playPath.isEmpty() || target.isEmpty())
        return;
    const QString suffix = QFileInfo(target).suffix();
    const ExportFormat *format = exportFormat(suffix);
    if (!format) {
        qWarning() << "=== no export format for this file name ===" << target;
        emit message(
            suffix.isEmpty()
                ? tr("“%1”没有文件类型。请另存为以下类型之一：%2。").arg(QFileInfo(target).fileName(), knownSuffixes())
                : tr("“%1”不是已知的文件类型。请另存为以下类型之一：%2。")
                      .arg(QLatin1Char('.') + suffix, knownSuffixes()),
            true);
        return;
    }
    EditJob job;
    job.kind = EditJob::Export;
    job.target = target;
    job.codec = QLatin1String(format->codec);
    job.frameMs = (format->frameSamples * 1000 + RecordingFormat::sampleRate - 1) / RecordingFormat::sampleRate;
    m_jobs.enqueue(job);
    runJobs();
}

void RecordingEditor::cancel()
{
    // Queued jobs go first: the run that ends next must not start them.
    m_jobs.clear();
    m_encoder->cancel();
}

void RecordingEditor::stop()
{
    m_jobs.clear();
    m_encoder->abort();
}

// Starts the next jobs until one has to wait for the encoder.
void RecordingEditor::runJobs()
{
    while (!m_encoder->isRunning() && !m_jobs.isEmpty()) {
        m_runningJob = m_jobs.dequeue();
        bool started = false;
        switch (m_runningJob.kind) {
        case EditJob::Cut: started = startCut(m_runningJob); break;
        case EditJob::Undo: undoNow(); break;
        case EditJob::Export: started = startExport(m_runningJob); break;
        }
        if (started)
            emit progress(0);
    }
    setBusy(m_encoder->isRunning());
}

bool RecordingEditor::startCut(EditJob &job)
{
    if (m_playPath.isEmpty())
        return false;
    QString cutPath = cutCopyPath(m_recordPath, m_cutIndex);
    // A file already there is not ours to overwrite: take the next free number.
    while (QFileInfo::exists(cutPath)) {
        qWarning() << "=== cut copy name taken, skipping ===" << cutPath;
        cutPath = cutCopyPath(m_recordPath, ++m_cutIndex);
    }
    ++m_cutIndex;
    job.target = cutPath;

    const QString start = QString::number(job.start, 'f', 2);
    const QString end = QString::number(job.end, 'f', 2);
    // atrim reads a duration of 0 as no limit at all: a range from the very start keeps only
    // the audio after it.
    const QString graph = start == QLatin1String("0.00")
        ? QStringLiteral("[0]atrim=start=%1").arg(end)
        : QStringLiteral("[0]atrim=duration=%1[a];[0]atrim=start=%2[b];[a][b]concat=n=2:v=0:a=1").arg(start, end);
    // What stays: the audio before the range and the audio after it, as far as the file goes.
    const qint64 workingMs = WaveFile::lengthMs(m_playPath);
    job.expectedMs = qMin(qint64(job.start * 1000), workingMs) + qMax<qint64>(0, workingMs - qint64(job.end * 1000));
    emit message(tr("正在剪切 %1 秒到 %2 秒……").arg(job.start, 0, 'f', 2).arg(job.end, 0, 'f', 2), false);
    m_journal.add(cutPath);
    return m_encoder->start({QStringLiteral("-i"), m_playPath, QStringLiteral("-filter_complex"), graph, cutPath},
                            cutPath, qMax<qint64>(1, job.expectedMs));
}

bool RecordingEditor::startExport(EditJob &job)
{
    if (m_playPath.isEmpty())
        return false;
    job.partial = partialPath(job.target);
    if (job.codec.isEmpty()) {
        copyExport(job);
        return false;
    }
    emit message(tr("正在保存 %1……").arg(QFileInfo(job.target).fileName()), false);
    m_journal.add(job.partial);
    job.expectedMs = WaveFile::lengthMs(m_playPath);
    EncoderProcess::Length length;
    if (job.expectedMs >= 0)
        length = {job.expectedMs - job.frameMs, job.expectedMs + 2 * job.frameMs};
    return m_encoder->start(
        {QStringLiteral("-y"), QStringLiteral("-i"), m_playPath, QStringLiteral("-acodec"), job.codec, job.partial},
        job.partial, job.expectedMs, length);
}

// A WAV target is the working file itself, copied.
void RecordingEditor::copyExport(const EditJob &job)
{
    const QFileInfo target(job.target);
    if (target.exists() && target.canonicalFilePath() == QFileInfo(m_playPath).canonicalFilePath()) {
        emit message(tr("已保存 %1").arg(job.target), false);
        return;
    }
    QString cause;
    m_journal.add(job.partial);
    const bool saved = DurableFile::copy(m_playPath, job.partial, &cause) && replaceTarget(job, &cause);
    qDebug() << "=== WAV export ===" << job.target << (saved ? QStringLiteral("saved") : cause);
    if (!saved)
        QFile::remove(job.partial);
    m_journal.remove(job.partial);
    endExport(job, cause);
}

void RecordingEditor::encoderFinished(EncoderProcess::Result result)
{
    const EditJob job = m_runningJob;
    if (job.kind == EditJob::Cut)
        finishCut(job, result);
    else
        finishExport(job, result);
    runJobs();
}

void RecordingEditor::finishCut(const EditJob &job, EncoderProcess::Result result)
{
    QString problem = failureText(result, job.expectedMs);
    if (result == EncoderProcess::Succeeded) {
        const qint64 length = WaveFile::lengthMs(job.target);
        if (length < 0 || length + kCutToleranceMs < job.expectedMs) {
            qCritical() << "=== the cut copy is incomplete ===" << job.target << length << "ms of" << job.expectedMs;
            problem = tr("ffmpeg 写出的文件不完整");
        } else if (!DurableFile::sync(job.target, &problem)) {
            qCritical() << "=== the cut copy cannot be written to the disk ===" << job.target << problem;
        }
        if (!problem.isEmpty())
            QFile::remove(job.target);
    }
    m_journal.remove(job.target);
    if (result == EncoderProcess::Missing || result == EncoderProcess::Cancelled) {
        emit message(problem, result == EncoderProcess::Missing);
    } else if (!problem.isEmpty()) {
        emit message(tr("无法剪切：%1。录音保持不变。").arg(problem), true);
    } else {
        emit message(QString(), false);
        m_tidier.remember(job.target, m_recordPath);
        m_pathHistory.append(m_playPath);
        m_playPath = job.target;
        qDebug() << "m_playPath" << m_playPath;
        emit workingFileChanged(m_playPath, qint64(job.start * 1000));
        return;
    }
    // The view cleared itself for the cut: it shows the working file again, as it was.
    emit workingFileChanged(m_playPath, -1);
}

void RecordingEditor::finishExport(const EditJob &job, EncoderProcess::Result result)
{
    QString problem = failureText(result, job.expectedMs);
    if (problem.isEmpty() && !replaceTarget(job, &problem))
        QFile::remove(job.partial);
    m_journal.remove(job.partial);
    if (result == EncoderProcess::Cancelled) // the encoder has logged the run's end and the removal
        emit message(problem, false);
    else
        endExport(job, problem, result == EncoderProcess::Missing);
}

// Tells how an export ended (problem: why it failed, shown as it is when bare), and tidies the
// recording folder after it, whatever the outcome.
void RecordingEditor::endExport(const EditJob &job, const QString &problem, bool bare)
{
    QString text = bare     ? problem
        : problem.isEmpty() ? tr("已保存 %1").arg(job.target)
                            : tr("无法保存 %1：%2").arg(job.target, problem);
    if (problem.isEmpty())
        qDebug() << "=== export saved ===" << job.target;
    const QStringList trashed = tidyRecordingFolder(job.target);
    if (!trashed.isEmpty())
        text = tr("%1。较早的录音已移到废纸篓：%2。").arg(text, trashed.join(QLatin1String(", ")));
    emit message(text, !problem.isEmpty());
}

// The complete export takes the target's place in one step, once it is on the disk; a file it
// replaces keeps its permissions.
bool RecordingEditor::replaceTarget(const EditJob &job, QString *cause)
{
    const QFileInfo old(job.target);
    if (old.exists())
        QFile::setPermissions(job.partial, old.permissions());
    if (DurableFile::replace(job.partial, job.target, cause))
        return true;
    qCritical() << "=== cannot put the export in place ===" << job.partial << job.target << *cause;
    return false;
}

// Why a run gave no file; empty when it succeeded.
QString RecordingEditor::failureText(EncoderProcess::Result result, qint64 expectedMs) const
{
    switch (result) {
    case EncoderProcess::Succeeded: break;
    case EncoderProcess::Missing: return tr("未找到 ffmpeg。请安装软件包“ffmpeg”（sudo apt install ffmpeg）后重试。");
    case EncoderProcess::Failed:
        if (!m_encoder->writeError().isEmpty())
            return m_encoder->writeError();
        return tr("ffmpeg 失败（退出状态 %1）：%2").arg(m_encoder->exitCode()).arg(m_encoder->lastLine());
    case EncoderProcess::Cancelled: return tr("已取消；未完成的文件已删除。");
    case EncoderProcess::WrongLength:
        if (m_encoder->measuredMs() < 0)
            return tr("ffmpeg 写出的文件不完整");
        return tr("ffmpeg 写出了 %1 秒的音频，而不是 %2 秒")
            .arg(m_encoder->measuredMs() / 1000.0, 0, 'f', 2)
            .arg(expectedMs / 1000.0, 0, 'f', 2);
    }
    return {};
}

void RecordingEditor::undoNow()
{
    if (m_pathHistory.isEmpty()) {
        if (!m_trashedTakes.isEmpty())
            emit message(tr("无法再撤销：更早的步骤所用的录音 %1 已移到废纸篓，可从那里还原。")
                             .arg(m_trashedTakes.join(QLatin1String(", "))),
                         true);
        return;
    }
    // A step whose file went some other way is refused and dropped: the one before it is next.
    const QString previous = m_pathHistory.takeLast();
    if (!QFileInfo::exists(previous)) {
        qWarning() << "=== the file of an undo step is gone ===" << previous;
        emit message(tr("无法撤销：%1 已不存在。").arg(previous), true);
        return;
    }
    m_playPath = previous;
    emit workingFileChanged(m_playPath, -1);
}

void RecordingEditor::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

QStringList RecordingEditor::tidyRecordingFolder(const QString &exported)
{
    // The exported file is the user's now, even where a working file of ours stood.
    m_tidier.forget(exported);
    const RecordingTidier::Result tidied = m_tidier.tidy(m_recordPath, {m_playPath, exported});
    // Steps back to files that went would lead nowhere: undo stops above them and says where.
    const auto gone = std::remove_if(m_pathHistory.begin(), m_pathHistory.end(), [&](const QString &path) {
        return tidied.files.contains(QFileInfo(path).absoluteFilePath());
    });
    if (gone != m_pathHistory.end()) {
        m_pathHistory.erase(gone, m_pathHistory.end());
        for (const QString &take : tidied.takes) {
            if (!m_trashedTakes.contains(take))
                m_trashedTakes.append(take);
        }
    }
    return tidied.takes;
}
