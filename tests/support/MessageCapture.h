#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QtGlobal>

// Collects every message sent through Qt's message channel while it exists.
class MessageCapture
{
public:
    MessageCapture();
    ~MessageCapture();

    QList<QPair<QtMsgType, QString>> messages() const;
    // Only the texts of one kind of message, in order.
    QStringList texts(QtMsgType type) const;
    // Every text, whatever its kind, in order.
    QStringList lines() const;

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &text);
    QtMessageHandler m_previous;
};
