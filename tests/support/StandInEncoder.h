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
    // The script's folder, where it may keep what it writes.
    QString folder() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_path = qgetenv("PATH");
};
