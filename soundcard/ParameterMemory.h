#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>

// What the program keeps of the sound cards between runs, in the user's settings of the program:
// whether the last settings are brought back, and per serial number the last parameter map
// seen, as profile text (the format of vorletctl's save and load).
class ParameterMemory
{
public:
    ParameterMemory();

    // Off until the user switches it on.
    bool restoreEnabled() const;
    void setRestoreEnabled(bool on);

    // `profile`: the text ParameterProfile::toJson makes. Written at once; false when the
    // settings file could not be written.
    bool remember(const QString &serial, const QByteArray &profile);
    // The profile text remembered for `serial`; empty when none.
    QByteArray recall(const QString &serial) const;

private:
    static QString keyOf(const QString &serial);

    mutable QSettings m_settings;
};
