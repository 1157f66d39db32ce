#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Collects the program's log lines while it exists.
class LogCapture
{
public:
    LogCapture() { s_lines.clear(); m_previous = qInstallMessageHandler(&LogCapture::handle); }
    ~LogCapture() { qInstallMessageHandler(m_previous); }

    QStringList lines() const { return s_lines; }

private:
    static void handle(QtMsgType, const QMessageLogContext &, const QString &message) { s_lines << message; }

    static inline QStringList s_lines;
    QtMessageHandler m_previous = nullptr;
};
