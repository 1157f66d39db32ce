#include "support/StandInEncoder.h"

#include <QFile>

StandInEncoder::StandInEncoder(const QString &body, bool onlyOnPath)
    : m_path(qgetenv("PATH"))
{
    m_valid = setBody(body, onlyOnPath);
}

StandInEncoder::~StandInEncoder()
{
    qputenv("PATH", m_path);
}

bool StandInEncoder::setBody(const QString &body, bool onlyOnPath)
{
    const QString script = m_dir.filePath(QStringLiteral("ffmpeg"));
    QFile::remove(script);
    const QByteArray folder = QFile::encodeName(m_dir.path());
    qputenv("PATH", onlyOnPath ? folder : folder + ':' + m_path);
    if (body.isEmpty())
        return m_dir.isValid();
    QFile file(script);
    const QByteArray text = "#!/bin/sh\n" + body.toUtf8() + '\n';
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush()
        && file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}
