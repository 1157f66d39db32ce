#pragma once

#include <QDateTime>
#include <QFile>
#include <QMutex>
#include <QString>
#include <QTextStream>

#include <functional>

// Writes diagnostic messages as HTML lines into one file per hour of a log folder. The file
// stays open between messages; every message costs one flush. Safe to call from any thread.
// Names and stamps use ASCII digits whatever the locale, so that names sort by time. When the
// hour's file cannot be opened, the folder is made again (it may have been removed while the
// program runs); when that fails too, the hour's messages are dropped quietly and the file is
// tried again at the next hour.
class LogWriter
{
public:
    using Clock = std::function<QDateTime()>;

    explicit LogWriter(const QString &folder, Clock clock = &QDateTime::currentDateTime);
    ~LogWriter();

    LogWriter(const LogWriter &) = delete;
    LogWriter &operator=(const LogWriter &) = delete;

    // Writes one message; returns the plain text of the line ("time message") for the
    // debugger output, which the caller sends after the lock is released.
    QString write(QtMsgType type, const QString &message);

    // Deletes the first files of the folder by name until at most `limit` are left.
    static void prune(const QString &folder, quint32 limit);

    static QString header();
    static QString fileNameFor(const QString &folder, const QDateTime &time);
    static QChar typeLetter(QtMsgType type);

private:
    void switchFile(const QString &fileName);

    const QString m_folder;
    const Clock m_clock;
    QMutex m_mutex;
    QFile m_file;
    QTextStream m_stream;
};
