#pragma once

#include "emulator/EmulatedFirmware.h"
#include "emulator/FirmwareModel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ReceivedFrame;

// An emulated sound-card firmware, driven by its model's tables: takes the frame out of each
// output report (anything else is dropped with a warning), applies setters to its parameter
// bytes, plays sound effects and answers queries on the model's pipe. A command the model does
// not know is ignored with a warning.
class FirmwareBase : public EmulatedFirmware
{
public:
    QList<QByteArray> receive(const QByteArray &report) override;
    // The pending answer on the control pipe once, else the parameter report.
    QByteArray inputReport() override;

    // The device side: a knob turned on the device itself. False for an unknown key.
    bool setParameter(const QString &key, int value);
    // -1 for an unknown key.
    int parameter(const QString &key) const;
    QStringList keys() const;
    // The last sound effect played (0: none yet) and how many were played.
    int lastEffect() const { return m_lastEffect; }
    int effectsPlayed() const { return m_effectsPlayed; }
    int framesRejected() const { return m_framesRejected; }

protected:
    // `serial`: the unit's serial number, cut to the model's field; empty: the model's own.
    FirmwareBase(const FirmwareModel &model, const QByteArray &serial);

private:
    const FirmwareCommand *find(const ReceivedFrame &frame) const;
    // False when the model has no such mode.
    bool applySoundMode(quint8 modeType, quint8 choice);
    QByteArray emptyReport() const;
    // What a query answers: its text, or the serial number in the field of the model's one.
    QByteArray answerText(const FirmwareCommand &command) const;
    QByteArray parameterReport() const;
    void warnUnknown(const ReceivedFrame &frame) const;
    int indexOf(const QString &key) const;

    const FirmwareModel &m_model;
    QByteArray m_values; // one byte per parameter of the model
    QByteArray m_serial;
    QByteArray m_pendingAnswer;
    int m_lastEffect = 0;
    int m_effectsPlayed = 0;
    int m_framesRejected = 0;
};
