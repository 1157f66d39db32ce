#pragma once

#include "app/BackgroundSettings.h"
#include "cli/CliOptions.h"
#include "soundcard/ParameterProfile.h"
#include "soundcard/SettingsRestorer.h"

#include <QJsonValue>
#include <QTextStream>

#include <functional>
#include <memory>

class EmulatedBus;
class FirmwareBase;
class SoundCardBase;
class SoundCardProxy;
class TracingHidBackend;

// Runs the checked commands of one command line in order against one device.
class CliRunner
{
public:
    enum ExitCode { Success = 0, NoDevice = 1, UsageError = 2, DeviceError = 3, FileError = 4 };

    // The backend tells which reports could not be sent or read.
    CliRunner(TracingHidBackend &backend, QTextStream &out, QTextStream &err);
    ~CliRunner();

    // The bus of an emulated device of `model`, for the knob and unplug commands; none for real
    // devices.
    void setEmulatedDevice(EmulatedBus *bus, const QString &model);
    // The running panel's sound card: the commands go there instead of to a device opened here.
    void setPanel(SoundCardProxy *panel);

    int run(const CliOptions &options);

private:
    // What a call moves: commands the device takes, or queries it answers.
    enum Transfer { Command, Query };

    int openDevice();
    int checkArguments(const CliOptions &options);
    int checkKnobs(const CliOptions &options);
    int runOne(const CliInvocation &invocation, const CliOptions &options);
    int save(const CliInvocation &invocation);
    // Runs a call that talks to the device; DeviceError when a report could not be sent or read.
    int delivered(const QString &what, Transfer transfer, const std::function<void()> &call);
    // Setters that could not be sent and requests without an answer, so far.
    int failures() const;
    void listCollections(bool json);
    void printParameters(bool json);
    void result(const CliCommand &command, const QJsonValue &value, bool json);
    void line(const QString &text);
    int failure(int code, const QString &message);

    TracingHidBackend &m_backend;
    QTextStream &m_out;
    QTextStream &m_err;
    EmulatedBus *m_bus = nullptr;
    QString m_emulatedModel;
    FirmwareBase *m_firmware = nullptr;
    QString m_devType;
    std::unique_ptr<SoundCardBase> m_card;
    SoundCardProxy *m_panel = nullptr;
    SettingsRestorer m_restorer;
    BackgroundSettings m_background;
};
