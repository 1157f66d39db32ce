#pragma once

#include "emulator/EmulatedFirmware.h"

#include <QByteArray>
#include <QList>

// A firmware that keeps every report it receives and answers nothing: the interrupt pipe stays
// empty and the control pipe offers a fixed input report (zeros unless set).
class RecordingFirmware : public EmulatedFirmware
{
public:
    explicit RecordingFirmware(int inputReportLength);

    QList<QByteArray> receive(const QByteArray &report) override;
    QByteArray inputReport() override;

    const QList<QByteArray> &received() const;
    void setInputReport(const QByteArray &report);

private:
    QList<QByteArray> m_received;
    QByteArray m_inputReport;
};
