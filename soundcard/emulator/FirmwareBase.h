#pragma once

#include "device/EmulatedFirmware.h"
#include "soundcard/CommandFrame.h"
#include "soundcard/SetterOp.h"
#include "soundcard/emulator/FirmwareRule.h"
#include "soundcard/emulator/ParameterValue.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

struct SoundCardProfile;

// The common part of the emulated sound-card firmwares: takes the command frame out of each
// output report (a malformed one is dropped with a warning), keeps the parameter bytes, applies
// the plain setters by the model's rule table, plays effects when the model has them and hands
// out the answers to queries on the model's pipe. The model decides what a query answers and
// what a sound mode means.
class FirmwareBase : public EmulatedFirmware
{
public:
    static constexpr quint32 kReportLength = 65;   // 64 bytes + report id, both directions

    // Where the answer to a query goes: the next get-input-report, or an input report of its own
    // on the interrupt pipe.
    enum class AnswerPipe { Control, Interrupt };

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
    FirmwareBase(const char *name, const SoundCardProfile &profile, AnswerPipe pipe,
                 const QVector<FirmwareRule> &rules, const QVector<ParameterValue> &startUp);

    // The answer report to a query; empty when the command is no query of the model.
    virtual QByteArray answerTo(const SoundCardCommand &command) const = 0;
    // Applies a sound-mode setter; false when the mode does not exist.
    virtual bool applySoundMode(quint8 modeType, quint8 modeDetailed) = 0;

    const SoundCardProfile &profile() const { return m_profile; }
    QByteArray emptyReport() const;
    // Report id 0 and the parameter bytes at their offsets.
    QByteArray parameterReport() const;
    // Report id 0 and `text` at offset 16, cut to `width` bytes.
    QByteArray textReport(const QByteArray &text, int width) const;

private:
    bool isSetter(const SoundCardCommand &command, SetterOp op) const;
    // Applies a 03 01 01 xx setter by the rule table; false when no rule matches.
    bool applyRule(const SoundCardCommand &command);
    void playEffect(int number);
    void warnUnknown(const SoundCardCommand &command) const;
    int indexOf(const QString &key) const;

    const char *m_name;
    const SoundCardProfile &m_profile;
    AnswerPipe m_pipe;
    QVector<FirmwareRule> m_rules;
    QByteArray m_values;   // one byte per layout entry
    QByteArray m_pendingAnswer;
    int m_lastEffect = 0;
    int m_effectsPlayed = 0;
    int m_framesRejected = 0;
};
