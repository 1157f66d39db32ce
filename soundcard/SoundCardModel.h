#pragma once

#include "soundcard/ModelParameter.h"
#include "soundcard/ReportText.h"
#include "soundcard/SetterCommand.h"
#include "soundcard/SoundCardCommand.h"

#include <QString>
#include <QVector>

#include <optional>

// Everything that tells the two models apart as plain data: identity, the USB ids by which the
// detection knows it, the HID collection the sound-card object opens, the setters' command bytes,
// the one table of parameters (report layout, ranges, setters, labels), and the queries with
// where their answers stand.
struct SoundCardModel
{
    const char *devType;
    const char *inputDevName;  // UTF-8
    const char *productName;   // as the panel shows the model
    quint16 detectionVendorId; // in the device paths the detection reads
    quint16 detectionProductId;
    quint16 vendorId; // of the HID collection opened
    quint16 productId;
    quint16 usagePage;
    quint16 usage;
    const char *openLogPrefix;
    QVector<SetterCommand> setters;
    // Keyed rows first, in report order from kParameterOffset on without gaps; then the rows
    // of setters without a key.
    QVector<ModelParameter> parameters;
    SoundCardCommand firmwareQuery;
    SoundCardCommand serialQuery;
    ReportText::Field firmwareAnswer;
    ReportText::Field serialAnswer;
    // Sent before every parameter read by a model that answers requests only; none: the read
    // takes the report the device offers now.
    std::optional<SoundCardCommand> parameterQuery;
    // Pause between the parameter query and its read.
    int answerWaitMs;
    // The device is asked for its version after every serial number it gave.
    bool versionAfterSerial;

    static constexpr int kParameterOffset = 16;

    const SetterCommand *setter(SetterOp op) const
    {
        for (const SetterCommand &row : setters) {
            if (row.op == op)
                return &row;
        }
        return nullptr;
    }

    // The row of `key`; null for a key the model does not have.
    const ModelParameter *parameter(const QString &key) const
    {
        for (const ModelParameter &row : parameters) {
            if (row.hasKey() && key == QLatin1String(row.key))
                return &row;
        }
        return nullptr;
    }

    // The rows a call of setter `op` is checked against, in table order.
    QVector<const ModelParameter *> setterRanges(SetterOp op) const
    {
        QVector<const ModelParameter *> rows;
        for (const ModelParameter &row : parameters) {
            if (row.isSetterRange() && row.setter == op)
                rows << &row;
        }
        return rows;
    }

    // The sound-effect buttons of the model (the vx02's BGM pads): as many as the effects its
    // setter plays; 0 for a model without.
    int soundEffectCount() const
    {
        const ModelParameter *effects = setterRange(SetterOp::SpecialEffectSound, 0);
        return effects ? effects->max : 0;
    }

    // The row of setter `op` for selector `code`; null when the model has none.
    const ModelParameter *setterRange(SetterOp op, int code) const
    {
        for (const ModelParameter *row : setterRanges(op)) {
            if (row->code == code)
                return row;
        }
        return nullptr;
    }
};
