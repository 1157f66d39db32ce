#include "app/Log.h"

#include "app/DebugOutput.h"
#include "app/LogWriter.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString g_folder;
quint32 g_fileLimit = 0;

LogWriter &writer()
{
    // Created on first use (thread-safe static) and kept for the process's life.
    static LogWriter *instance = new LogWriter(g_folder);
    return *instance;
}

// Keep-open off: open, write and close the hour's file for every message.
void closingMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    QString text;
    {
        LogWriter once(g_folder);
        text = once.write(type, message);
    }
    DebugOutput::write(text);
}

} // namespace

void logMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    const QString text = writer().write(type, message);
    DebugOutput::write(text);
}

void startLog(const QString &folder, quint32 fileLimit, bool keepOpen)
{
    // Everything the handler reads is in place before it is installed: from then on it may be
    // called from any thread, and the folder is never written again.
    g_folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QLatin1Char('/') + folder;
    g_fileLimit = fileLimit;
    QDir().mkpath(g_folder);
    LogWriter::prune(g_folder, g_fileLimit);
    qInstallMessageHandler(keepOpen ? logMessageHandler : closingMessageHandler);
}
