#include "app/QuitSnapshot.h"

#include "app/DeviceManager.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/SettingsRestorer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <memory>

QuitSnapshot::QuitSnapshot(DeviceManager *devices, QObject *parent)
    : QObject(parent)
    , m_devices(devices)
{
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &QuitSnapshot::take);
}

void QuitSnapshot::take()
{
    SettingsRestorer *restorer = m_devices->settingsRestorer();
    DeviceSession *session = m_devices->session();
    if (session && restorer->isEnabled()) {
        // The poll's map reaches the restorer as every change does; the wait ends with its
        // answer. The answer may come at once (a silent device) or after the wait gave up.
        QEventLoop loop;
        const QPointer<QEventLoop> waiting(&loop);
        const auto answered = std::make_shared<bool>(false);
        session->requestPoll([waiting, answered](const DeviceSession::Reply &) {
            *answered = true;
            if (waiting)
                waiting->quit();
        });
        if (!*answered) {
            QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
    }
    restorer->flush();
}
