#pragma once

#include "emulator/EmulatedFirmware.h"
#include "soundcard/SoundCardCommand.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <memory>

// Puts itself between the bus and a model's firmware and keeps every output report the device
// receives, so that a test sees exactly what the program sent while the firmware still answers.
class TappedFirmware : public EmulatedFirmware
{
public:
    explicit TappedFirmware(std::unique_ptr<EmulatedFirmware> inner);

    QList<QByteArray> receive(const QByteArray &report) override;
    QByteArray inputReport() override;

    EmulatedFirmware *inner() const { return m_inner.get(); }

    // Every output report received so far, report id first.
    const QList<QByteArray> &reports() const { return m_reports; }
    void clear() { m_reports.clear(); }

    // The setter commands (03 01 01 group, two data bytes) among the reports, as
    // "group d0 d1" in two-digit hex, e.g. "02 02 0a"; queries and malformed reports are left
    // out. A report whose frame does not parse is listed as "malformed".
    QStringList setters() const;

    static QString describe(const SoundCardCommand &command);

private:
    std::unique_ptr<EmulatedFirmware> m_inner;
    QList<QByteArray> m_reports;
};
