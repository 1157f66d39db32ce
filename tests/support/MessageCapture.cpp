#include "support/MessageCapture.h"

#include <QStringList>

namespace {
QList<QPair<QtMsgType, QString>> &captured()
{
    static QList<QPair<QtMsgType, QString>> list;
    return list;
}
}

MessageCapture::MessageCapture()
{
    captured().clear();
    m_previous = qInstallMessageHandler(&MessageCapture::handler);
}

MessageCapture::~MessageCapture()
{
    qInstallMessageHandler(m_previous);
}

void MessageCapture::handler(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    captured().append(qMakePair(type, text));
}

QList<QPair<QtMsgType, QString>> MessageCapture::messages() const
{
    return captured();
}

QStringList MessageCapture::texts(QtMsgType type) const
{
    QStringList result;
    for (const auto &message : captured()) {
        if (message.first == type)
            result << message.second;
    }
    return result;
}

QStringList MessageCapture::lines() const
{
    QStringList result;
    for (const auto &message : captured())
        result << message.second;
    return result;
}
