#include "device/DeviceHID.h"

#include "device/HidBackend.h"
#include "device/HidHandle.h"

#include <QDebug>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <vector>

namespace {
// Pause after each rejected interface, so that a device busy with its other interfaces is not
// opened and closed in a tight loop.
constexpr unsigned long kRejectPauseMs = 5;
} // namespace

DeviceHID::DeviceHID(HidBackend *backend, quint16 vendorId, quint16 productId, quint16 usagePage, quint16 usage,
                     const QString &unit)
    : m_backend(backend)
    , m_vendorId(vendorId)
    , m_productId(productId)
    , m_usagePage(usagePage)
    , m_usage(usage)
    , m_unit(unit)
{
}

DeviceHID::~DeviceHID()
{
    qInfo("??HID? ??: %p; [%s];", static_cast<void *>(this), "DeviceHID::~DeviceHID");
    if (m_opened && m_handle) {
        m_handle.reset();
        m_opened = false;
    }
}

bool DeviceHID::open()
{
    if (m_vendorId == 0 || m_productId == 0) {
        qCritical("Parameter not filled. ");
        qCritical("Exclusive[%d],OverlapMode[%d]. ", m_exclusive ? 1 : 0, m_overlappedMode ? 1 : 0);
        qCritical("VID[0x%04x],PID[0x%04x],USPG[0x%04x],USG[0x%04x]. ", m_vendorId, m_productId, m_usagePage, m_usage);
        return false;
    }
    qDebug("----------------VID[0x%04x],PID[0x%04x],USPG[0x%04x],USG[0x%04x] = ", m_vendorId, m_productId, m_usagePage,
           m_usage);

    if (!m_backend) {
        qCritical("[SetupDiGetClassDevs] errorcode: %ld ", 0L);
        return false;
    }
    const HidEnumeration found = m_backend->enumerateWithStatus();
    if (found.status == HidEnumeration::Status::NoDeviceSet) {
        qCritical("[SetupDiGetClassDevs] errorcode: %ld ", found.errorCode);
        return false;
    }

    // The collections of one interface come one after another with the same path: the
    // interface is opened once for all of them, and never a second time in one search.
    std::unique_ptr<HidHandle> chosen;
    std::unique_ptr<HidHandle> handle;
    QString handlePath;
    QSet<QString> tried;
    bool unitListed = false;
    for (const HidCollectionInfo &collection : found.collections) {
        // Another device's interfaces are not even opened.
        if (!m_unit.isEmpty() && collection.unit != m_unit)
            continue;
        unitListed = true;
        if (collection.path != handlePath) {
            if (handle) {
                handle.reset();
                QThread::msleep(kRejectPauseMs);
            }
            handlePath = collection.path;
            if (tried.contains(handlePath))
                continue;
            tried.insert(handlePath);
            handle = m_backend->open(collection);
        }
        if (!handle)
            continue;
        if (collection.vendorId == m_vendorId && collection.productId == m_productId && accepts(collection)) {
            chosen = std::move(handle);
            break;
        }
    }
    if (handle) {
        handle.reset();
        QThread::msleep(kRejectPauseMs);
    }

    if (found.status == HidEnumeration::Status::UnreadableEntry && !chosen) {
        // The walk stops at the first entry whose path cannot be read.
        qCritical("[SetupDiGetInterfaceDeviceDetail] errorcode: %ld ", found.errorCode);
        return false;
    }
    if (!chosen) {
        if (!unitListed && !m_unit.isEmpty())
            qDebug("DeviceHID: no interface of unit %s is present", qPrintable(m_unit));
        qCritical("No More Item Left!!!");
        return false;
    }
    m_handle = std::move(chosen);
    m_opened = true;
    return true;
}

bool DeviceHID::accepts(const HidCollectionInfo &collection)
{
    bool accepted = false;
    if (m_acceptAnyUsage && collection.outputReportLength != 0 && collection.inputReportLength != 0)
        accepted = true;
    else
        accepted = collection.usagePage == m_usagePage && collection.usage == m_usage;
    if (accepted) {
        m_inputReportLength = collection.inputReportLength;
        m_outputReportLength = collection.outputReportLength;
    }
    return accepted;
}

bool DeviceHID::getInputReport(quint8 *buffer)
{
    if (!m_handle || !buffer)
        return false;
    return m_handle->getInputReport(buffer, m_inputReportLength);
}

bool DeviceHID::setOutputReport(const quint8 *buffer)
{
    if (!m_handle || !buffer)
        return false;
    return m_handle->setOutputReport(buffer, m_outputReportLength);
}

int DeviceHID::readReport(quint8 *buffer, quint32 size, int timeoutMs)
{
    if (!m_handle || !buffer)
        return 0;
    return m_handle->read(buffer, size, timeoutMs);
}

int DeviceHID::writeReport(const quint8 *data, quint32 payloadLength)
{
    if (!m_handle || !data)
        return 0;
    std::vector<quint8> report(m_outputReportLength, 0);
    // A payload longer than the report is the caller's error; what fits is sent, nothing is
    // written past the report.
    const quint32 copied = std::min<quint64>(quint64(payloadLength) + 1, report.size());
    std::copy(data, data + copied, report.begin());
    return m_handle->write(report.data(), quint32(report.size()));
}

bool DeviceHID::isOpen() const
{
    return m_opened;
}

quint32 DeviceHID::inputReportLength() const
{
    return m_inputReportLength;
}

quint32 DeviceHID::outputReportLength() const
{
    return m_outputReportLength;
}
