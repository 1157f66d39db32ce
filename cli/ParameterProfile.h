#pragma once

#include <QString>
#include <QVariantMap>
#include <QVector>

#include <functional>

class SoundCardBase;

// A saved device state: {"devType": "vx02", "parameters": {"volumeBGM": 8, ...}}.
class ParameterProfile
{
public:
    using Step = std::function<void(SoundCardBase &)>;

    static bool save(const QString &path, const QString &devType, const QVariantMap &parameters, QString *error);
    // Reads and checks the whole profile for a device of `devType` before anything is sent;
    // on success *steps are the setter calls that bring the device into its state.
    static bool load(const QString &path, const QString &devType, QVector<Step> *steps, QString *error);
};
