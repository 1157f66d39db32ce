#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

class HidBackend;
class HidHandle;
struct HidCollectionInfo;

// Finds one HID top-level collection by vendor id, product id, usage page and usage, opens it
// and moves raw reports between the device and its caller. Knows nothing of what the reports
// mean. Every call blocks until the transport returns.
class DeviceHID
{
public:
    // `unit`: only the collections of that physical device (HidCollectionInfo::unit) are
    // considered, so that of two devices with the same ids the wanted one is opened; empty:
    // any device.
    DeviceHID(HidBackend *backend, quint16 vendorId, quint16 productId, quint16 usagePage, quint16 usage,
              const QString &unit = QString());
    ~DeviceHID();

    DeviceHID(const DeviceHID &) = delete;
    DeviceHID &operator=(const DeviceHID &) = delete;

    // Searches the present collections (of its unit, when it has one) and opens the first that
    // matches; true when a handle was stored. May be called again on an open object: it searches
    // again.
    bool open();

    // Control pipe. The buffer holds at least inputReportLength() (outputReportLength())
    // bytes, report id first.
    bool getInputReport(quint8 *buffer);
    bool setOutputReport(const quint8 *buffer);

    // Interrupt pipe. readReport waits at most `timeoutMs` for the next input report and
    // returns the bytes read (report id included) or 0; with 0 it takes only a report that is
    // there already. writeReport sends data[0] (report id)
    // and `payloadLength` payload bytes in a zero-filled report of outputReportLength() bytes
    // and returns the bytes written or 0.
    int readReport(quint8 *buffer, quint32 size, int timeoutMs = kReadTimeoutMs);
    int writeReport(const quint8 *data, quint32 payloadLength);

    bool isOpen() const;
    quint32 inputReportLength() const;
    quint32 outputReportLength() const;

    static constexpr int kReadTimeoutMs = 1000;

private:
    // The usage test of a collection of the wanted vendor and product; stores the report
    // lengths of an accepted one.
    bool accepts(const HidCollectionInfo &collection);

    HidBackend *m_backend;
    std::unique_ptr<HidHandle> m_handle;
    bool m_opened = false;
    quint32 m_inputReportLength = 0;
    quint32 m_outputReportLength = 0;
    quint16 m_vendorId;
    quint16 m_productId;
    quint16 m_usagePage;
    quint16 m_usage;
    QString m_unit;
    bool m_overlappedMode = false;
    bool m_exclusive = false;
    bool m_acceptAnyUsage = true;
};
