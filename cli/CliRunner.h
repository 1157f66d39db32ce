#pragma once

#include "cli/CliOptions.h"
#include "soundcard/ParameterProfile.h"
#include "soundcard/SettingsRestorer.h"

#include <QMap>
#include <QTextStream>

#include <memory>

class FirmwareBase;
class HidBackend;
class SoundCardBase;

// Runs the checked commands of one command line in order against one device.
class CliRunner
{
public:
    enum ExitCode { Success = 0, NoDevice = 1, UsageError = 2 };

    CliRunner(HidBackend &backend, QTextStream &out, QTextStream &err);
    ~CliRunner();

    // The device side of an emulated device, for the knob command; null for real devices.
    void setEmulatedFirmware(FirmwareBase *firmware);

    int run(const CliOptions &options);

private:
    int openDevice();
    int prepareProfiles(const CliOptions &options);
    int checkKnobs(const CliOptions &options);
    int runOne(const CliInvocation &invocation, int index, const CliOptions &options);
    void listCollections(bool json);
    void printParameters(bool json);
    void line(const QString &text);
    int failure(int code, const QString &message);

    HidBackend &m_backend;
    QTextStream &m_out;
    QTextStream &m_err;
    FirmwareBase *m_firmware = nullptr;
    QString m_devType;
    std::unique_ptr<SoundCardBase> m_card;
    QMap<int, QVector<ParameterProfile::Step>> m_profiles;   // by invocation index
    SettingsRestorer m_restorer;
};
