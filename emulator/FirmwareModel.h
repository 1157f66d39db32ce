#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

#include <array>

// A parameter byte of the device: where it stands in the parameter report, and its value when
// the device is switched on.
struct FirmwareParameter
{
    const char *key;
    int offset;
    quint8 startUp;
};

// One command the device understands: its four command bytes, the data it carries and what
// the device does with it.
struct FirmwareCommand
{
    enum class Action {
        SetParameter,     // data d0 = subCode: d1 becomes the parameter `key`
        SoundMode,        // data d0 d1 = mode type and choice, by the model's sound-mode table
        PlayEffect,       // data d0 = the number of the sound effect to play
        ReportParameters, // answers with the parameter report
        Answer,           // answers with `answer` at `answerOffset`, zeros around it
        Serial,           // answers like Answer with the unit's serial number in a field as wide
                          // as `answer`, which is the model's serial number when none is given
    };

    std::array<quint8, 4> code;
    int dataLength; // 0 or 2
    Action action;
    int subCode = -1;
    const char *key = nullptr;
    int answerOffset = 0;
    QByteArray answer;

    // The setters all belong to group 03 01 01 xx.
    static FirmwareCommand set(quint8 group, int subCode, const char *key)
    {
        return {{0x03, 0x01, 0x01, group}, 2, Action::SetParameter, subCode, key, 0, {}};
    }
    static FirmwareCommand withData(quint8 group, Action action)
    {
        return {{0x03, 0x01, 0x01, group}, 2, action, -1, nullptr, 0, {}};
    }
    static FirmwareCommand query(std::array<quint8, 4> code, Action action, int answerOffset = 0,
                                 const QByteArray &answer = {})
    {
        return {code, 0, action, -1, nullptr, answerOffset, answer};
    }
};

// A sound mode the device accepts: the mode type, the range of choices, and the parameter
// bytes it sets: `modeKey` to `modeValue` (plus the choice when `choiceAdds`), and the choice
// itself into `choiceKey` when there is one.
struct FirmwareSoundMode
{
    quint8 modeType;
    quint8 minChoice;
    quint8 maxChoice;
    const char *modeKey;
    int modeValue;
    bool choiceAdds;
    const char *choiceKey;
};

// Everything one model's firmware is, as data.
struct FirmwareModel
{
    // Where a query's answer goes: offered to the next get-input-report, or queued as an input
    // report of its own on the interrupt pipe.
    enum class AnswerPipe { Control, Interrupt };

    const char *name; // starts the firmware's log lines
    AnswerPipe pipe;
    int reportLength; // report id included, both directions
    QVector<FirmwareParameter> parameters;
    QVector<FirmwareCommand> commands;
    QVector<FirmwareSoundMode> soundModes;
};
