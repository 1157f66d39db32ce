#pragma once

#include <QString>
#include <QtGlobal>

// The program's diagnostic log: every qDebug/qInfo/qWarning/qCritical/qFatal becomes one line of
// an hourly HTML file in <per-user data folder>/<folder>, and the plain line goes to the
// debugger output. Call once, after the application's organisation and name are set.
void startLog(const QString &folder, quint32 fileLimit, bool keepOpen);

// The installed handler (keep-open mode).
void logMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);
