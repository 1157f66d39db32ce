#pragma once

#include <QString>
#include <QVector>

// Turns the sound card's audio-input name into an input of the recording backend. The card
// names its input the Windows way ("麦克风 (Vorlet Stage 20)"); here the backend lists its inputs
// with descriptions, and the one whose description (or name) holds the product name is taken.
// "Default", an unknown product, or no match gives the backend's default input.
class AudioInputResolver
{
public:
    struct Input
    {
        QString name;
        QString description;
    };

    // The product part of a card's input name: the text inside its last parentheses, or the
    // whole name when it has none. Empty for "Default".
    static QString productName(const QString &deviceName);

    // The backend input to record from for deviceName.
    static QString resolve(const QString &deviceName, const QVector<Input> &inputs, const QString &defaultInput);
};
