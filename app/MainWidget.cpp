#include "app/MainWidget.h"

#include "app/ActivationChannel.h"
#include "app/AppearanceSettings.h"
#include "app/BackgroundSettings.h"
#include "app/DeviceManager.h"
#include "app/PresetController.h"
#include "app/SceneAccessibility.h"
#include "app/SettingsFileWatcher.h"
#include "app/TintImageProvider.h"
#include "i18n/Trans.h"
#include "record/RecordWidget.h"
#include "soundcard/BgmNames.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/SettingsRestorer.h"

#include <QCloseEvent>
#include <QDebug>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWidget>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {
// The point under the mouse on the screen; Qt 6 gives it under another name.
QPoint screenPoint(const QMouseEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->globalPosition().toPoint();
#else
    return event->globalPos();
#endif
}

const char *const kSoftVersion = "1.0.0.11";
const char *const kDefaultInput = "Default";
const char *const kScene = "qrc:/Qml/main.qml";
const int kDesignWidth = 802;
const int kDesignHeight = 482;
const int kRecordPanelHeight = 150;
const int kDragStripHeight = 25;
const double kBaseDpi = 96.0;

// The screen index remembered by the last release that ended a drag; -1 before the first.
int g_lastScreenIndex = -1;
} // namespace

MainWidget::MainWidget(HidBackend *backend, QWidget *parent)
    : QWidget(parent)
    , m_backend(backend)
{
    // Restore last settings: there before the scene reads it.
    m_devices = new DeviceManager(m_backend, this);
    m_background = new BackgroundSettings(this);
    m_appearance = new AppearanceSettings(this);
    // vorletctl or a second program may switch the options while the window is up: the switches
    // and the tray follow. Restoring is kept in the same settings file.
    auto *watcher = new SettingsFileWatcher(m_background->files(), this);
    connect(watcher, &SettingsFileWatcher::changed, m_background, &BackgroundSettings::reload);
    connect(watcher, &SettingsFileWatcher::changed, m_appearance, &AppearanceSettings::reload);
    connect(watcher, &SettingsFileWatcher::changed, m_devices->settingsRestorer(), &SettingsRestorer::reload);
    connect(watcher, &SettingsFileWatcher::changed, m_devices->bgmNames(), &BgmNames::reload);
    setUp();
    connect(m_devices, &DeviceManager::soundCardChanged, this, &MainWidget::onSoundCardChanged);
    connect(m_devices, &DeviceManager::isConnect, this, &MainWidget::onConnectChanged);
    // A device attached before start is looked for once the event loop runs: the window shows
    // at once, the scene takes the device over when it is found.
    QTimer::singleShot(0, m_devices, &DeviceManager::start);
}

MainWidget::~MainWidget()
{
    // The scene goes first: its bindings must not see "MainLogic" half destroyed.
    delete m_sceneView;
    m_sceneView = nullptr;
    // Then the device side, which waits for a call still in flight.
    delete m_devices;
    m_devices = nullptr;
}

void MainWidget::setUp()
{
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(QStringLiteral("vorlet"));

    QList<QScreen *> screens = QGuiApplication::screens();
    QScreen *screen = screens.value(currentScreenIndex());
    if (screen) {
        takeScreenScale(screen);
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this, screen](qreal dpi) {
            m_dpiScale = sceneScale(dpi, screen->devicePixelRatio());
            emit screenChanged();
            applySizes();
        });
    }
    resize(scaled(kDesignWidth), scaled(kDesignHeight));

    auto *root = new QWidget(this);
    root->setObjectName(QStringLiteral("root"));
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(root);
    setLayout(layout);
    root->setStyleSheet(QStringLiteral("#root{background-color: #282A2B; border: 1px solid #444444;}"));

    m_recordWidget = new RecordWidget(root);
    m_recordWidget->setScale(getScalingRate());
    m_recordWidget->hide();
    m_recordWidget->resize(scaled(kDesignWidth), scaled(kRecordPanelHeight));
    m_recordWidget->move(1, scaled(kDesignHeight));

    m_sceneView = new QQuickWidget(root);
    // The scene under the window on the accessibility bus.
    SceneAccessibility::adopt(m_sceneView);
    m_sceneView->setResizeMode(QQuickWidget::SizeRootObjectToView);
    m_sceneView->resize(scaled(kDesignWidth) - 4, scaled(kDesignHeight) - 4);
    m_sceneView->move(1, 1);
    m_sceneView->engine()->addImportPath(QStringLiteral("qrc:///"));
    m_sceneView->engine()->addImageProvider(QStringLiteral("tint"), new TintImageProvider);
    // A scene that does not load leaves an empty window; the reason goes to the log.
    connect(m_sceneView, &QQuickWidget::statusChanged, this, [this](QQuickWidget::Status status) {
        if (status != QQuickWidget::Error)
            return;
        for (const QQmlError &error : m_sceneView->errors())
            qCritical() << "scene load error:" << error.toString();
    });
    m_sceneView->engine()->setOutputWarningsToStandardError(false);
    connect(m_sceneView->engine(), &QQmlEngine::warnings, this, [](const QList<QQmlError> &warnings) {
        for (const QQmlError &warning : warnings)
            qWarning() << "scene:" << warning.toString();
    });

    QQmlContext *context = m_sceneView->rootContext();
    context->setContextProperty(QStringLiteral("OrbitQuickImagePath"), QStringLiteral("qrc:/OrbitQuick/Images/"));
    context->setContextProperty(QStringLiteral("imgPath"), QStringLiteral("qrc:/image/"));
    context->setContextProperty(QStringLiteral("qmlPath"), QStringLiteral("qrc:/Qml/"));
    context->setContextProperty(QStringLiteral("SoundCard"), nullptr);
    context->setContextProperty(QStringLiteral("MainLogic"), this);
    m_translator = new Trans(m_sceneView->engine(), this);
    context->setContextProperty(QStringLiteral("Tran"), m_translator);

    m_sceneView->setSource(QUrl(QString::fromLatin1(kScene)));
}

double MainWidget::sceneScale(qreal logicalDpi, qreal devicePixelRatio)
{
    const double dpiScale = logicalDpi / kBaseDpi;
    if (devicePixelRatio <= 1.0)
        return dpiScale;
    return qMax(1.0, dpiScale / devicePixelRatio);
}

void MainWidget::takeScreenScale(QScreen *screen)
{
    m_dpiScale = sceneScale(screen->logicalDotsPerInch(), screen->devicePixelRatio());
}

int MainWidget::scaled(int designSize) const
{
    return int(designSize * m_baseScale * m_dpiScale);
}

int MainWidget::currentScreenIndex() const
{
    const int index = QGuiApplication::screens().indexOf(screen());
    return index < 0 ? 0 : index;
}

void MainWidget::applySizes()
{
    resize(scaled(kDesignWidth), scaled(kDesignHeight));
    m_sceneView->resize(scaled(kDesignWidth) - 4, scaled(kDesignHeight) - 4);
    m_recordWidget->setScale(getScalingRate());
    m_recordWidget->resize(scaled(kDesignWidth), scaled(kRecordPanelHeight));
    m_recordWidget->move(1, scaled(kDesignHeight));
}

DeviceManager *MainWidget::devices() const
{
    return m_devices;
}

SoundCardBase *MainWidget::soundCard() const
{
    return m_devices->session();
}

RecordWidget *MainWidget::recordWidget() const
{
    return m_recordWidget;
}

QQuickWidget *MainWidget::sceneView() const
{
    return m_sceneView;
}

Trans *MainWidget::translator() const
{
    return m_translator;
}

SettingsRestorer *MainWidget::settingsRestorer() const
{
    return m_devices->settingsRestorer();
}

BackgroundSettings *MainWidget::background() const
{
    return m_background;
}

PresetController *MainWidget::presets() const
{
    return m_devices->presets();
}

BgmNames *MainWidget::bgmNames() const
{
    return m_devices->bgmNames();
}

AppearanceSettings *MainWidget::appearance() const
{
    return m_appearance;
}

QString MainWidget::getSoftVersion()
{
    return QString::fromLatin1(kSoftVersion);
}

void MainWidget::openRecordWidget(bool isOpen)
{
    m_recordWidget->setVisible(isOpen);
    const int height = isOpen ? scaled(kRecordPanelHeight) + scaled(kDesignHeight) : scaled(kDesignHeight);
    resize(scaled(kDesignWidth), height);
}

double MainWidget::getScalingRate()
{
    return m_baseScale * m_dpiScale;
}

void MainWidget::onActivationRequest(quint32 code, const QByteArray &token)
{
    if (code != ActivationChannel::kActivationCode)
        return;
    // Wayland lets a window take the focus only with a token of the user's action: the one the
    // desktop gave the second start. Qt's xdg-shell client (Qt 6) reads it from here when the
    // window asks to be activated, and uses it once.
    if (!token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token);
    // Restore, then raise above every window; the window manager lets others cover it again.
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    showNormal();
    raise();
    activateWindow();
}

void MainWidget::mousePressEvent(QMouseEvent *event)
{
    const QRect strip(0, 0, scaled(kDesignWidth), scaled(kDragStripHeight));
    if (!strip.contains(event->pos()))
        return;
    // The window manager moves the window where it can (the only way on Wayland); otherwise
    // the window follows the mouse by itself.
    QWindow *window = windowHandle();
    if (window && window->startSystemMove()) {
        m_systemMoveActive = true;
        // The release may go to the window manager; landing on another screen ends the move.
        connect(window, &QWindow::screenChanged, this, &MainWidget::onWindowScreenChanged, Qt::UniqueConnection);
        return;
    }
    const QPoint offset = screenPoint(event) - pos();
    m_dragOffsetX = offset.x();
    m_dragOffsetY = offset.y();
}

void MainWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragOffsetX == 0 && m_dragOffsetY == 0)
        return;
    move(screenPoint(event) - QPoint(m_dragOffsetX, m_dragOffsetY));
}

void MainWidget::mouseReleaseEvent(QMouseEvent *)
{
    m_dragOffsetX = 0;
    m_dragOffsetY = 0;
    m_systemMoveActive = false;
    checkScreenAfterMove();
}

void MainWidget::closeEvent(QCloseEvent *event)
{
    if (!m_background->runInBackground()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    hide();
    qInfo("window closed: running in the background");
}

void MainWidget::onWindowScreenChanged()
{
    if (!m_systemMoveActive)
        return;
    m_systemMoveActive = false;
    checkScreenAfterMove();
}

void MainWidget::checkScreenAfterMove()
{
    const int index = currentScreenIndex();
    // The first release after start only remembers where the window is.
    if (g_lastScreenIndex < 0 || g_lastScreenIndex == index) {
        g_lastScreenIndex = index;
        return;
    }
    g_lastScreenIndex = index;
    QScreen *screen = QGuiApplication::screens().value(index);
    if (!screen)
        return;
    takeScreenScale(screen);
    qDebug() << "===logicalDotsPerInch=====" << screen->logicalDotsPerInch();
    emit screenChanged();
    applySizes();
}

void MainWidget::onSoundCardChanged(SoundCardBase *card)
{
    m_sceneView->rootContext()->setContextProperty(QStringLiteral("SoundCard"), card);
}

void MainWidget::onConnectChanged(bool isConnect, const QString &devType)
{
    SoundCardBase *card = m_devices->session();
    m_recordWidget->setInputDevice(isConnect && card ? card->getInputDevName() : QString::fromLatin1(kDefaultInput));
    emit this->isConnect(isConnect, devType);
}
