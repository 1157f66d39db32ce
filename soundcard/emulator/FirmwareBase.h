#pragma once

#include "device/EmulatedFirmware.h"
#include "soundcard/CommandFrame.h"
#include "soundcard/ParameterByte.h"
#include "soundcard/emulator/FirmwareRule.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The common part of the emulated sound-card firmwares: takes the command frame out of each
// output report (a malformed one is dropped with a warning), keeps the parameter bytes and
// applies the plain setters by the model's rule table. The model decides about queries,
// sound modes and effects.
class FirmwareBase : public EmulatedFirmware
{
public:
    static constexpr quint32 kReportLength = 65;   // 64 bytes + report id, both directions

    QList<QByteArray> receive(const QByteArray &report) override;

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
    FirmwareBase(const char *name, const QVector<ParameterByte> &layout, const QVector<FirmwareRule> &rules);

    // The model's handling of one well-formed frame; returns the input reports it queues.
    virtual QList<QByteArray> handle(const SoundCardCommand &command) = 0;

    // Applies a 03 01 01 xx setter by the rule table; false when no rule matches.
    bool applyRule(const SoundCardCommand &command);
    void playEffect(int number);
    bool isSetter(const SoundCardCommand &command) const;
    void warnUnknown(const SoundCardCommand &command) const;

    QByteArray emptyReport() const;
    // Report id 0 and the parameter bytes at their offsets.
    QByteArray parameterReport() const;
    // Report id 0 and `text` at offset 16, cut to `width` bytes.
    QByteArray textReport(const QByteArray &text, int width) const;

private:
    int indexOf(const QString &key) const;

    const char *m_name;
    QVector<ParameterByte> m_layout;
    QVector<FirmwareRule> m_rules;
    QByteArray m_values;   // one byte per layout entry
    int m_lastEffect = 0;
    int m_effectsPlayed = 0;
    int m_framesRejected = 0;
};
