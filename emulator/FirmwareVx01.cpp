#include "emulator/FirmwareVx01.h"

using Action = FirmwareCommand::Action;

FirmwareVx01::FirmwareVx01(const QByteArray &serial)
    : FirmwareBase(model(), serial)
{
}

const FirmwareModel &FirmwareVx01::model()
{
    static const FirmwareModel table{
        "FirmwareVx01",
        FirmwareModel::AnswerPipe::Control,
        65,
        {
            {"model", 16, 1},       {"volumeMonitor", 17, 8}, {"volumeRecording", 18, 8}, {"volumeMusicVolume", 19, 8},
            {"volumeMic", 20, 8},   {"reverbDepth", 21, 6},   {"reverbVolume", 22, 6},    {"dodgeThreshold", 23, 8},
            {"dodgeLevel", 24, 8},  {"dodgeSpeed", 25, 8},    {"toneColourHigh", 26, 8},  {"toneColourLow", 27, 8},
            {"toneColour", 28, 8},  {"btnBluetooth", 29, 2},  {"btnDenoise", 30, 2},      {"btnInPower", 31, 2},
            {"btnDisVoice", 32, 2}, {"btnMute", 33, 2},       {"btnDodge", 34, 2},
        },
        {
            FirmwareCommand::withData(0x01, Action::SoundMode),
            FirmwareCommand::set(0x02, 1, "volumeMonitor"),
            FirmwareCommand::set(0x02, 2, "volumeRecording"),
            FirmwareCommand::set(0x02, 3, "volumeMusicVolume"),
            FirmwareCommand::set(0x02, 4, "volumeMic"),
            FirmwareCommand::set(0x03, 1, "reverbDepth"),
            FirmwareCommand::set(0x03, 2, "reverbVolume"),
            FirmwareCommand::set(0x04, 1, "dodgeThreshold"),
            FirmwareCommand::set(0x04, 2, "dodgeLevel"),
            FirmwareCommand::set(0x04, 3, "dodgeSpeed"),
            FirmwareCommand::set(0x05, 3, "toneColour"),
            FirmwareCommand::set(0x06, 1, "btnBluetooth"),
            FirmwareCommand::set(0x06, 2, "btnDenoise"),
            FirmwareCommand::set(0x06, 3, "btnInPower"),
            FirmwareCommand::set(0x06, 4, "btnDisVoice"),
            FirmwareCommand::set(0x06, 7, "btnDodge"),
            // Firmware version and serial number: text at offset 16, no terminator needed.
            FirmwareCommand::query({0x01, 0x01, 0x02, 0x01}, Action::Answer, 16, QByteArray("2.13")),
            FirmwareCommand::query({0x01, 0x02, 0x02, 0x01}, Action::Serial, 16, QByteArray("VC1026120501")),
        },
        {
            // music; singing with large, medium, small reverberation (model 2 to 4); chat
            {1, 0, 255, "model", 1, false, nullptr},
            {2, 1, 3, "model", 1, true, nullptr},
            {3, 0, 255, "model", 7, false, nullptr},
        },
    };
    return table;
}
