#include "support/MessageCapture.h"

#include <QMutex>
#include <QStringList>

namespace {
// Messages come from the device session's thread too.
QMutex g_mutex;
QList<QPair<QtMsgType, QString>> g_captured;
} // namespace

MessageCapture::MessageCapture()
{
    QMutexLocker lock(&g_mutex);
    g_captured.clear();
    m_previous = qInstallMessageHandler(&MessageCapture::handler);
}

MessageCapture::~MessageCapture()
{
    qInstallMessageHandler(m_previous);
}

void MessageCapture::handler(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    QMutexLocker lock(&g_mutex);
    g_captured.append(qMakePair(type, text));
}

QList<QPair<QtMsgType, QString>> MessageCapture::messages() const
{
    QMutexLocker lock(&g_mutex);
    return g_captured;
}

QStringList MessageCapture::texts(QtMsgType type) const
{
    QStringList result;
    for (const auto &message : messages())
        if (message.first == type)
            result << message.second;
    return result;
}

QStringList MessageCapture::lines() const
{
    QStringList result;
    for (const auto &message : messages())
        result << message.second;
    return result;
}
