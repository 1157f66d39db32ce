#include "app/ActivationChannel.h"
#include "app/CrashHandler.h"
#include "app/ExitFlush.h"
#include "app/FontAlias.h"
#include "app/HidBackendFactory.h"
#include "app/Log.h"
#include "app/MainWidget.h"
#include "app/QuitSignals.h"
#include "app/QuitSnapshot.h"
#include "app/SceneAccessibility.h"
#include "app/SingleInstance.h"
#include "app/SoundCardService.h"
#include "app/TrayIcon.h"
#include "device/HidBackend.h"
#include "emulator/FirmwareFactory.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDebug>
#include <QSharedMemory>

#include <cstdio>
#include <cstring>

namespace {
const char *const kInstanceKey = "vorletKey";
}

// Lives for the whole process; destroying it detaches the segment.
static QSharedMemory g_instanceSegment;

int main(int argc, char *argv[])
{
    // Answered before anything else: no display, device or other instance is needed for it.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("vorlet %s (Qt %s)\n", VORLET_VERSION, qVersion());
        return 0;
    }
    if (SingleInstance::otherInstanceRunning(g_instanceSegment, QString::fromLatin1(kInstanceKey)))
        return 0;

    FontAlias::install();
    auto *app = new QApplication(argc, argv);
    // The scene on the accessibility bus under the window that shows it.
    SceneAccessibility::install();
    QCoreApplication::setOrganizationName(QStringLiteral("Brindle"));
    QCoreApplication::setApplicationName(QStringLiteral("vorlet"));
    // The desktop entry: the window's icon and name in the desktop's task list.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.brindle.vorlet"));
    CrashHandler::install();
    // Logout and shutdown end the program through its ordinary quit; the status tells the signal.
    auto quitSignals = std::make_unique<QuitSignals>();
    QObject::connect(quitSignals.get(), &QuitSignals::quitRequested, app, &QCoreApplication::exit);
    startLog(QStringLiteral("Log"), 1024, true);
    qDebug() << __FILE__ << __LINE__ << "================progress start================";

    // The machine's HID devices, or an emulated sound card with "--emulate vx01|vx02".
    std::unique_ptr<HidBackend> backend = HidBackendFactory::create(app->arguments(), &FirmwareFactory::make);
    auto *window = new MainWidget(backend.get(), nullptr);
    auto snapshot = std::make_unique<QuitSnapshot>(window->devices());
    auto exitFlush = std::make_unique<ExitFlush>(window->settingsRestorer());
    // "--hidden" (the autostart entry): the program starts in the background, the device is
    // looked for and restored all the same; a later start or the tray shows the window.
    if (!app->arguments().contains(QStringLiteral("--hidden")))
        window->show();
    auto tray = std::make_unique<TrayIcon>(window);
    QObject::connect(tray.get(), &TrayIcon::quitRequested, app, &QCoreApplication::quit);
    // Scripts and vorletctl reach the device through the running panel.
    auto service = std::make_unique<SoundCardService>(window->devices());
    service->registerOn(QDBusConnection::sessionBus());

    // A later start reaches this instance through the channel; the stored handle tells it
    // that the window exists.
    auto activation = std::make_unique<ActivationChannel>(QString::fromLatin1(kInstanceKey));
    QObject::connect(activation.get(), &ActivationChannel::activationRequested, window,
                     &MainWidget::onActivationRequest);
    if (!activation->listen())
        qWarning() << "activation channel not available:" << activation->serverName();
    SingleInstance::storeWindowHandle(g_instanceSegment, quint32(window->winId()));

    const int code = app->exec();
    exitFlush.reset();
    snapshot.reset();
    service.reset();
    tray.reset();
    delete window;
    // The detector and sound card the window handed to deleteLater go now, while the backend
    // they use still exists; everything that watches sockets goes before the application.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    activation.reset();
    backend.reset();
    quitSignals.reset();
    delete app;
    return code;
}
