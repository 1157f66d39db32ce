#include "emulator/FirmwareVx02.h"

using Action = FirmwareCommand::Action;

FirmwareVx02::FirmwareVx02(const QByteArray &serial)
    : FirmwareBase(model(), serial)
{
}

const FirmwareModel &FirmwareVx02::model()
{
    static const FirmwareModel table{
        "FirmwareVx02",
        FirmwareModel::AnswerPipe::Interrupt,
        65,
        {
            {"soundMode", 16, 1},
            {"modelDetail", 17, 1},
            {"volumeMonitor", 18, 8},
            {"volumeRecording", 19, 8},
            {"volumeBluetooth", 20, 8},
            {"volumeBroadcast", 21, 8},
            {"volumeBGM", 22, 8},
            {"reverbVolume", 23, 6},
            {"dodgeSpeed", 24, 8},
            {"dodgeThreshold", 25, 8},
            {"dodgeLevel", 26, 8},
            {"disVoiceLevel", 27, 2},
            {"denoiseLevel", 28, 1},
            {"btnInPower", 29, 2},
            {"btnDodge", 30, 2},
            {"btnMixDry", 31, 2},
        },
        {
            FirmwareCommand::withData(0x01, Action::SoundMode),
            FirmwareCommand::set(0x02, 1, "volumeMonitor"),
            FirmwareCommand::set(0x02, 2, "volumeRecording"),
            FirmwareCommand::set(0x02, 3, "volumeBluetooth"),
            FirmwareCommand::set(0x02, 4, "volumeBroadcast"),
            FirmwareCommand::set(0x02, 5, "volumeBGM"),
            FirmwareCommand::set(0x03, 1, "reverbVolume"),
            FirmwareCommand::set(0x04, 1, "dodgeSpeed"),
            FirmwareCommand::set(0x04, 2, "dodgeThreshold"),
            FirmwareCommand::set(0x04, 3, "dodgeLevel"),
            FirmwareCommand::set(0x05, 1, "disVoiceLevel"),
            FirmwareCommand::set(0x05, 2, "denoiseLevel"),
            FirmwareCommand::set(0x06, 1, "btnInPower"),
            FirmwareCommand::set(0x06, 2, "btnDodge"),
            FirmwareCommand::set(0x06, 3, "btnMixDry"),
            FirmwareCommand::withData(0x07, Action::PlayEffect),
            FirmwareCommand::query({0x03, 0x01, 0x02, 0x08}, Action::ReportParameters),
            // Serial number: 13 text bytes at offset 16. Version: three numbers at offsets 11 to 13.
            FirmwareCommand::query({0x01, 0x02, 0x02, 0x01}, Action::Serial, 16, QByteArray("VS20261205007")),
            FirmwareCommand::query({0x00, 0x00, 0x00, 0x01}, Action::Answer, 11, QByteArray("\x01\x04\x1c", 3)),
        },
        {
            // reverberation effects 1-5, voice changes 1-6, electronic keys 1-12
            {1, 1, 5, "soundMode", 1, false, "modelDetail"},
            {2, 1, 6, "soundMode", 2, false, "modelDetail"},
            {3, 1, 12, "soundMode", 3, false, "modelDetail"},
        },
    };
    return table;
}
