#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// Something else runs as "ffmpeg" while this lives: a shell script in a folder of its own that
// comes first on PATH (the only entry with onlyOnPath, so no ffmpeg is found at all when the
// script is empty). PATH is restored when it goes.
//     StandInEncoder encoder;
//     QVERIFY(encoder.setBody("printf 'time=00:00:01.00\\r' >&2; exit 3"));
class StandInEncoder
{
public:
    StandInEncoder() = default;
    ~StandInEncoder() { qputenv("PATH", m_path); }

    StandInEncoder(const StandInEncoder &) = delete;
    StandInEncoder &operator=(const StandInEncoder &) = delete;

    // Replaces the script; an empty body removes it.
    bool setBody(const QString &body, bool onlyOnPath = false)
    {
        QFile::remove(filePath(QStringLiteral("ffmpeg")));
        const QByteArray folder = QFile::encodeName(m_dir.path());
        qputenv("PATH", onlyOnPath ? folder : folder + ':' + m_path);
        if (body.isEmpty())
            return m_dir.isValid();
        QFile file(filePath(QStringLiteral("ffmpeg")));
        const QByteArray text = "#!/bin/sh\n" + body.toUtf8() + '\n';
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush()
            && file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    // A body that writes a part of its output (named last), keeps its process number in "pid"
    // and waits: an export that never ends.
    static QString hangs()
    {
        return QStringLiteral("echo $$ > \"$(dirname \"$0\")/pid\"; for last; do :; done; printf partial > \"$last\"; "
                              "exec sleep 60");
    }
    // The run of hangs() is going (running) or has ended: no such process, or a dead one.
    bool hangingRun(bool running) const
    {
        const QByteArray pid = contents(filePath(QStringLiteral("pid"))).trimmed();
        const QByteArray stat = contents(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid)));
        return !pid.isEmpty() && (!stat.isEmpty() && !stat.contains(") Z ")) == running;
    }
    // The script's folder, where it may keep what it writes.
    QString folder() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QByteArray m_path = qgetenv("PATH");
};
