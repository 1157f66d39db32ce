#pragma once

#include "emulator/RecordingFirmware.h"
#include "soundcard/SoundCardCommand.h"

#include <QByteArray>
#include <QList>
#include <QQueue>
#include <QStringList>

#include <memory>

// The recording firmware with a tap: a test sees exactly what the program sent. Put between the
// bus and a model's firmware, the firmware still answers; without one, the test writes the
// answers: each report is answered with the next queued input report (if any) and the control
// pipe offers the input report set.
class TappedFirmware : public RecordingFirmware
{
public:
    static constexpr int kReportLength = 65;

    explicit TappedFirmware(std::unique_ptr<EmulatedFirmware> inner = nullptr);

    QList<QByteArray> receive(const QByteArray &report) override;
    QByteArray inputReport() override;

    EmulatedFirmware *inner() const { return m_inner.get(); }

    // Every output report received since the last clear(), report id first.
    QList<QByteArray> reports() const { return received().mid(m_cleared); }
    void clear() { m_cleared = received().size(); }

    // The setter commands (03 01 01 group, two data bytes) among the reports, as
    // "group d0 d1" in two-digit hex, e.g. "02 02 0a"; queries and malformed reports are left
    // out. A report whose frame does not parse is listed as "malformed".
    QStringList setters() const;
    // One setter as setters() lists it.
    static QString describe(quint8 group, quint8 d0, quint8 d1);

    // A 65-byte input report with `bytes` placed at `offset`.
    static QByteArray report(int offset, const QByteArray &bytes);
    // The output report the host sends for the command bytes (4, or 4 + 2 data) with
    // `sequence`: the report id, the frame, zeros up to the report length.
    static QByteArray outputReport(quint16 sequence, const QByteArray &commandBytes, char reportId = '\0');
    // The command of 4 code bytes, or 4 + 2 data bytes.
    static SoundCardCommand command(const QByteArray &commandBytes);

    // The script, used without an inner firmware: the answer to each report in turn, an empty
    // one leaves the report unanswered.
    QQueue<QByteArray> answers;
    int controlReads = 0;

private:
    std::unique_ptr<EmulatedFirmware> m_inner;
    int m_cleared = 0;
};
