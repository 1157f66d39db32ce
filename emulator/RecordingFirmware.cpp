#include "emulator/RecordingFirmware.h"

RecordingFirmware::RecordingFirmware(int inputReportLength)
    : m_inputReport(qMax(inputReportLength, 0), '\0')
{
}

QList<QByteArray> RecordingFirmware::receive(const QByteArray &report)
{
    m_received << report;
    return {};
}

QByteArray RecordingFirmware::inputReport()
{
    return m_inputReport;
}

const QList<QByteArray> &RecordingFirmware::received() const
{
    return m_received;
}

void RecordingFirmware::setInputReport(const QByteArray &report)
{
    m_inputReport = report;
}
