#include "app/MainWidget.h"

#include "app/ActivationChannel.h"
#include "device/DetectionDevice.h"
#include "record/RecordWidget.h"
#include "soundcard/SettingsRestorer.h"
#include "soundcard/SoundCardBase.h"
#include "soundcard/SoundCardFactory.h"

#include <QDebug>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const char *const kSoftVersion = "1.0.0.11";
const char *const kDefaultInput = "Default";
}

MainWidget::MainWidget(HidBackend *backend, QWidget *parent)
    : QWidget(parent), m_backend(backend)
{
    setWindowTitle(QStringLiteral("vorlet"));
    resize(802, 482);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_recordWidget = new RecordWidget(this);
    layout->addWidget(m_recordWidget);

    m_detector = new DetectionDevice(m_backend);
    // Restore last settings: on arrival (below) and on wake.
    m_settingsRestorer = new SettingsRestorer(this);
    m_settingsRestorer->watch(m_detector->powerEvents());
    connect(m_detector, &DetectionDevice::s_devTypeAndState, this, &MainWidget::onDevArrivalOrRemove);
    m_pollTimer = new QTimer(this);
    connect(m_pollTimer, &QTimer::timeout, this, &MainWidget::pollDevice);
    // A device attached before start is handled before the constructor returns.
    m_detector->scanDevices();
}

MainWidget::~MainWidget()
{
    m_detector->deleteLater();
    if (m_soundCard)
        m_soundCard->deleteLater();
}

SoundCardBase *MainWidget::soundCard() const
{
    return m_soundCard;
}

RecordWidget *MainWidget::recordWidget() const
{
    return m_recordWidget;
}

bool MainWidget::isPolling() const
{
    return m_pollTimer->isActive();
}

SettingsRestorer *MainWidget::settingsRestorer() const
{
    return m_settingsRestorer;
}

QString MainWidget::getSoftVersion()
{
    return QString::fromLatin1(kSoftVersion);
}

void MainWidget::onActivationRequest(quint32 code)
{
    if (code != ActivationChannel::kActivationCode)
        return;
    // Restore, then raise above every window; the window manager lets others cover it again.
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    showNormal();
    raise();
    activateWindow();
}

void MainWidget::onDevArrivalOrRemove(QString devType, bool isArrival)
{
    qDebug() << devType << isArrival;
    if (isArrival) {
        // A second arrival while a card exists opens the existing one again.
        if (!m_soundCard)
            m_soundCard = SoundCardFactory::create(devType, m_backend).release();
        if (m_soundCard && !m_soundCard->openDevice())
            qDebug() << "open dev error";
        if (m_soundCard)
            m_recordWidget->setInputDevice(m_soundCard->getInputDevName());
        m_settingsRestorer->attach(m_soundCard);
        m_pollTimer->start(kPollIntervalMs);
        emit isConnect(true, devType);
        return;
    }
    if (m_soundCard) {
        m_settingsRestorer->attach(nullptr);
        m_soundCard->deleteLater();
        m_soundCard = nullptr;
    }
    m_recordWidget->setInputDevice(QString::fromLatin1(kDefaultInput));
    m_pollTimer->stop();
    emit isConnect(false, devType);
}

void MainWidget::pollDevice()
{
    // The card itself announces a change with allParaChanged.
    if (m_soundCard)
        m_soundCard->getParaIsChange();
}
