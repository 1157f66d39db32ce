#pragma once

#include "emulator/EmulatedFirmware.h"

#include <QByteArray>
#include <QList>
#include <QQueue>

// A device side whose answers the test writes: keeps every report it receives, answers each one
// with the next queued input report (if any) and offers a fixed report on the control pipe.
class ScriptedFirmware : public EmulatedFirmware
{
public:
    static constexpr int kReportLength = 65;

    QList<QByteArray> receive(const QByteArray &report) override
    {
        received << report;
        if (answers.isEmpty())
            return {};
        return {answers.dequeue()};
    }
    QByteArray inputReport() override { return controlReport; }

    // A 65-byte report with `bytes` placed at `offset`.
    static QByteArray report(int offset, const QByteArray &bytes)
    {
        QByteArray result(kReportLength, '\0');
        result.replace(offset, bytes.size(), bytes);
        return result;
    }

    QList<QByteArray> received;
    QQueue<QByteArray> answers;
    QByteArray controlReport = QByteArray(kReportLength, '\0');
};
