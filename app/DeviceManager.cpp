#include "app/DeviceManager.h"

#include "app/PresetController.h"
#include "device/DetectionDevice.h"
#include "device/PowerEventWatcher.h"
#include "soundcard/BgmNames.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/SettingsRestorer.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardProtocol.h"

#include <QDebug>

DeviceManager::DeviceManager(HidBackend *backend, QObject *parent)
    : QObject(parent)
    , m_backend(backend)
    , m_detector(new DetectionDevice(backend, SoundCardFactory::hidModelIds()))
    , m_settingsRestorer(new SettingsRestorer(this))
    , m_bgmNames(new BgmNames(this))
    , m_presets(new PresetController(this, m_bgmNames, this))
{
    connect(m_detector, &DetectionDevice::s_devUnitAndState, this, &DeviceManager::onDevArrivalOrRemove);
    // The detection logs sleep, wake and the end of the session; the restorer follows them, and
    // writes what waits for its second before logind lets the machine power off.
    m_settingsRestorer->watch(m_detector->powerEvents());
    connect(m_detector->powerEvents(), &PowerEventWatcher::sessionEnding, m_settingsRestorer, &SettingsRestorer::flush);
}

DeviceManager::~DeviceManager()
{
    m_settingsRestorer->attach(nullptr);
    // Sessions (the attached one and any still finishing) wait for their last call here.
    qDeleteAll(findChildren<DeviceSession *>(QString(), Qt::FindDirectChildrenOnly));
    delete m_detector;
}

void DeviceManager::start()
{
    m_detector->scanDevicesInBackground();
}

DeviceSession *DeviceManager::session() const
{
    return m_session;
}

QString DeviceManager::devType() const
{
    return m_session ? m_devType : QString();
}

DetectionDevice *DeviceManager::detector() const
{
    return m_detector;
}

SettingsRestorer *DeviceManager::settingsRestorer() const
{
    return m_settingsRestorer;
}

bool DeviceManager::isPolling() const
{
    return m_session && m_session->isPolling();
}

int DeviceManager::pollInterval() const
{
    return m_session ? m_session->pollInterval() : 0;
}

void DeviceManager::onDevArrivalOrRemove(QString devType, bool isArrival, QString unit)
{
    qDebug() << devType << isArrival;
    if (m_session && unit != m_unit)
        return;
    if (isArrival) {
        // A second arrival while a session exists opens its device again.
        if (!m_session) {
            std::unique_ptr<SoundCardProtocol> protocol = SoundCardFactory::create(devType, m_backend, unit);
            if (protocol) {
                m_session = new DeviceSession(std::move(protocol), this);
                m_devType = devType;
                m_unit = unit;
                emit soundCardChanged(m_session);
            }
        }
        if (m_session) {
            m_session->open();
            m_session->startPolling();
        }
        m_settingsRestorer->attach(m_session);
        emit isConnect(true, devType);
        return;
    }
    if (m_session) {
        m_settingsRestorer->attach(nullptr);
        // Whatever is still queued for the device that went is dropped, not sent to the next.
        m_session->close();
        m_session = nullptr;
        emit soundCardChanged(nullptr);
    }
    emit isConnect(false, devType);
    const QVector<DetectedUnit> present = m_detector->presentUnits();
    if (!present.isEmpty())
        onDevArrivalOrRemove(present.first().devType, true, present.first().unit);
}
