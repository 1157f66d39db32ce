#include "record/RecordingEditor.h"

#include "record/WaveFile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

namespace {

// Export targets by suffix (compared case-sensitively): codec for the encoder, or an empty
// codec for WAV, which is copied as it is.
struct ExportFormat
{
    const char *suffix;
    const char *codec;
};

const ExportFormat kExportFormats[] = {
    {"mp3", "libmp3lame"}, {"aac", "aac"}, {"wma", "wmav2"}, {"flac", "flac"}, {"ac3", "ac3"}, {"wav", ""},
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

// Copies from to the new file to, checking every write: false with the cause otherwise.
bool copyFile(const QString &from, const QString &to, QString *cause)
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
        if (out.write(block) != block.size()) {
            *cause = out.errorString();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        *cause = in.errorString();
        return false;
    }
    return true;
}

} // namespace

RecordingEditor::RecordingEditor(QObject *parent)
    : QObject(parent)
    , m_encoder(new EncoderProcess(this))
{
    connect(m_encoder, &EncoderProcess::progress, this, &RecordingEditor::progress);
    connect(m_encoder, &EncoderProcess::finished, this, &RecordingEditor::encoderFinished);
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
    rememberOwnFile(path);
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
    m_jobs.enqueue(job);
    runJobs();
}

void RecordingEditor::cancel()
{
    // Queued jobs go first: the run that ends next must not start them.
    m_jobs.clear();
    m_encoder->cancel();
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
    return m_encoder->start(
        {QStringLiteral("-y"), QStringLiteral("-i"), m_playPath, QStringLiteral("-acodec"), job.codec, job.partial},
        job.partial, WaveFile::lengthMs(m_playPath));
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
    const bool saved = copyFile(m_playPath, job.partial, &cause) && replaceTarget(job, &cause);
    qDebug() << "=== WAV export ===" << job.target << (saved ? QStringLiteral("saved") : cause);
    if (saved) {
        emit message(tr("已保存 %1").arg(job.target), false);
    } else {
        QFile::remove(job.partial);
        emit message(tr("无法保存 %1：%2").arg(job.target, cause), true);
    }
    tidyRecordingFolder(job.target);
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
    QString problem = failureText(result);
    if (result == EncoderProcess::Succeeded) {
        const qint64 length = WaveFile::lengthMs(job.target);
        if (length < 0 || length + kCutToleranceMs < job.expectedMs) {
            qCritical() << "=== the cut copy is incomplete ===" << job.target << length << "ms of" << job.expectedMs;
            QFile::remove(job.target);
            problem = tr("ffmpeg 写出的文件不完整");
        }
    }
    if (result == EncoderProcess::Missing || result == EncoderProcess::Cancelled) {
        emit message(problem, result == EncoderProcess::Missing);
    } else if (!problem.isEmpty()) {
        emit message(tr("无法剪切：%1。录音保持不变。").arg(problem), true);
    } else {
        emit message(QString(), false);
        rememberOwnFile(job.target);
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
    QString problem = failureText(result);
    if (result == EncoderProcess::Succeeded && QFileInfo(job.partial).size() <= 0) {
        QFile::remove(job.partial);
        problem = tr("ffmpeg 写出的文件不完整");
    }
    if (problem.isEmpty() && !replaceTarget(job, &problem))
        QFile::remove(job.partial);
    if (result == EncoderProcess::Missing || result == EncoderProcess::Cancelled) {
        // The encoder has logged the run's end and the removal of its output.
        emit message(problem, result == EncoderProcess::Missing);
    } else if (!problem.isEmpty()) {
        emit message(tr("无法保存 %1：%2").arg(job.target, problem), true);
    } else {
        qDebug() << "=== export saved ===" << job.target;
        emit message(tr("已保存 %1").arg(job.target), false);
    }
    if (result != EncoderProcess::Cancelled)
        tidyRecordingFolder(job.target);
}

// The complete export takes the target's place in one step; a file it replaces keeps its
// permissions.
bool RecordingEditor::replaceTarget(const EditJob &job, QString *cause)
{
    const QFileInfo old(job.target);
    if (old.exists())
        QFile::setPermissions(job.partial, old.permissions());
    if (std::rename(QFile::encodeName(job.partial).constData(), QFile::encodeName(job.target).constData()) == 0)
        return true;
    *cause = qt_error_string(errno);
    qCritical() << "=== cannot put the export in place ===" << job.partial << job.target << *cause;
    return false;
}

// Why a run gave no file; empty when it succeeded.
QString RecordingEditor::failureText(EncoderProcess::Result result) const
{
    switch (result) {
    case EncoderProcess::Succeeded: break;
    case EncoderProcess::Missing: return tr("未找到 ffmpeg。请安装软件包“ffmpeg”（sudo apt install ffmpeg）后重试。");
    case EncoderProcess::Failed:
        if (!m_encoder->writeError().isEmpty())
            return m_encoder->writeError();
        return tr("ffmpeg 失败（退出状态 %1）：%2").arg(m_encoder->exitCode()).arg(m_encoder->lastLine());
    case EncoderProcess::Cancelled: return tr("已取消；未完成的文件已删除。");
    }
    return {};
}

void RecordingEditor::undoNow()
{
    if (m_pathHistory.isEmpty())
        return;
    m_playPath = m_pathHistory.takeLast();
    emit workingFileChanged(m_playPath, -1);
}

void RecordingEditor::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

void RecordingEditor::rememberOwnFile(const QString &path)
{
    if (!path.isEmpty())
        m_ownFiles.insert(QFileInfo(path).absoluteFilePath());
}

void RecordingEditor::tidyRecordingFolder(const QString &exported)
{
    const QFileInfo record(m_recordPath);
    const QString folder = record.absolutePath();
    const QString kept = record.baseName();
    const QString exportedPath = QFileInfo(exported).absoluteFilePath();
    // The exported file is the user's now, even where a working file of ours stood.
    m_ownFiles.remove(exportedPath);

    const QList<QString> own = m_ownFiles.values();
    for (const QString &path : own) {
        const QFileInfo file(path);
        if (file.absolutePath() != folder || file.baseName().contains(kept, Qt::CaseInsensitive))
            continue;
        QFile::remove(path);
        m_ownFiles.remove(path);
    }
}
