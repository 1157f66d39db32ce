#pragma once

#include "soundcard/ParameterSnapshot.h"
#include "soundcard/SetterCall.h"
#include "soundcard/SoundCardCommand.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QQueue>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>

class DeviceHID;
class HidBackend;
struct SoundCardModel;

// The conversation with one sound card, driven by its model's table: setters become command
// frames, queries and polls get their answers. Used by one thread at a time; every call blocks
// until the device answered or the read gave up. A model class adds only its pipe.
//
// The device's answers do not name their question, so this object keeps the questions whose
// answers are still due, oldest first. Before anything new is asked the answers still due are
// read and taken as what they answer (an unread version answer is a version, never parameters);
// an answer that does not come within the read time-out is given up, and a report that comes
// later still is dropped before the next question. A parameter map is only ever made from the
// answer to a parameter request.
class SoundCardProtocol
{
public:
    // What a poll brought: whether the device answered, and whether that answer differed from
    // the last one taken over (the map was rewritten then).
    struct Poll
    {
        bool answered = false;
        bool changed = false;
    };

    virtual ~SoundCardProtocol();

    const SoundCardModel &model() const { return m_model; }
    // Creates the DeviceHID on first use (with the model's ids) and opens it; true on success.
    bool open();
    // Sends the setter's command from the model's table. True when it went out; a setter the
    // model has no row for sends nothing, returns true and leaves the sequence counter alone.
    bool send(const SetterCall &call);
    // Reads the device's parameter report and takes it over when it changed.
    Poll poll();
    // The version and serial number texts; none when the device gave no answer.
    std::optional<QString> firmwareVersion();
    std::optional<QString> serialNumber();
    // The map of the last parameter report taken over; empty before the first.
    const QVariantMap &parameters() const { return m_parameters; }
    // The version the device gave last, asked or not (the answer to the request after a serial
    // number); empty before.
    QString knownFirmwareVersion() const { return m_knownFirmwareVersion; }

    // Every report buffer holds at least this many bytes.
    static constexpr int kReportBufferSize = 512;
    // An answer still due this long after its question is given up.
    static constexpr int kGiveUpMs = 2000;

protected:
    // `unit`: the one device (HidCollectionInfo::unit) it opens; empty: the first that matches.
    SoundCardProtocol(HidBackend *backend, const SoundCardModel &model, const QString &unit);

    DeviceHID *device() const { return m_device.get(); }
    // A zero-filled report buffer (report id 0), large enough for the device's reports.
    QByteArray newReportBuffer() const;

    // The model's pipe: hands a command's report buffer (frame from byte 1, `frameLength`
    // bytes) to the device; reads the next answer into `buffer`, waiting at most `timeoutMs`
    // where the pipe waits at all (false when nothing came); drops the reports that are waiting
    // to be read and returns how many.
    virtual bool write(const QByteArray &buffer, int frameLength) = 0;
    virtual bool read(QByteArray &buffer, int timeoutMs) = 0;
    virtual int dropWaiting() = 0;
    // Whether answers wait in the order they were asked for until read (an interrupt pipe), so
    // that the next one read answers the oldest question; otherwise only the latest is offered.
    virtual bool keepsAnswersInOrder() const = 0;
    // After a setter's command went out (a model may log it).
    virtual void sent(const SetterCall &call) { Q_UNUSED(call) }

private:
    enum class Answer { Parameters, Version, Serial };
    struct Due
    {
        Answer answer;
        QElapsedTimer asked;
    };

    bool sendCommand(const SoundCardCommand &command);
    // Asks `query` (or nothing) and reads the answer of `kind` into `buffer`; false when it did not
    // come.
    bool exchange(Answer kind, const SoundCardCommand *query, QByteArray &buffer, int waitMs = 0);
    // Reads the answers still due and drops the reports nobody asks for any more.
    void settle();
    void take(Answer kind, const QByteArray &report);
    void expect(Answer kind);

    HidBackend *m_backend;
    const SoundCardModel &m_model;
    QString m_unit;
    std::unique_ptr<DeviceHID> m_device;
    ParameterSnapshot m_snapshot;
    QVariantMap m_parameters;
    QString m_knownFirmwareVersion;
    QQueue<Due> m_due;
};
