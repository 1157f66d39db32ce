#pragma once

#include "soundcard/PresetDiff.h"
#include "soundcard/PresetOutcome.h"

#include <QDBusArgument>
#include <QList>
#include <QMetaType>

// The presets on the bus, for the panel's adaptor and vorletctl's proxy alike. The changes of a
// preset (presetDiff) are a(sii): the key, the device's value and the preset's.
using PresetChangeList = QList<PresetChange>;
Q_DECLARE_METATYPE(PresetChange)

QDBusArgument &operator<<(QDBusArgument &argument, const PresetChange &change);
const QDBusArgument &operator>>(const QDBusArgument &argument, PresetChange &change);

// Once per process, before the first call that carries them.
void registerPresetChangeList();

// The error a preset method fails with, by how the operation ended (NoAnswer for Ok), and back.
QString presetErrorName(PresetOutcome::Status status);
PresetOutcome::Status presetStatusOf(const QString &errorName);
