#pragma once

#include "soundcard/SetterCall.h"

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVariantMap>
#include <QVector>

// A saved device state: {"devType": "vx02", "parameters": {"volumeBGM": 8, ...}}. The same text
// is a profile file of vorletctl and the remembered state of a device in the settings.
class ParameterProfile
{
public:
    static constexpr qint64 kMaxFileBytes = 1 << 20;

    using Step = SetterCall;

    // Indented for files a person may read; compact where it is one value among settings.
    static QByteArray toJson(const QString &devType, const QVariantMap &parameters, bool compact = false);
    // Writes only what load would take back: a map that fails check() is refused.
    static bool save(const QString &path, const QString &devType, const QVariantMap &parameters, QString *error);
    // Reads and checks the whole profile for a device of `devType` before anything is sent;
    // on success *steps are the setter calls that bring the device into its state. Only
    // regular files of at most kMaxFileBytes are read.
    static bool load(const QString &path, const QString &devType, QVector<Step> *steps, QString *error);
    // The text of a file of at most kMaxFileBytes; `what` names it in the messages ("profile").
    static bool readFile(const QString &path, const QString &what, QByteArray *json, QString *error);
    // The same for a profile's text; `origin` names it in the messages ("profile FILE"). With
    // `values`, also the checked values by key.
    static bool fromJson(const QByteArray &json, const QString &origin, const QString &devType, QVector<Step> *steps,
                         QString *error, QVariantMap *values = nullptr);
    // The checks load makes on the values of a profile: every key known to the model, every
    // value an integer in its range, sound modes that exist. False with the first problem.
    static bool check(const QString &devType, const QVariantMap &parameters, QString *error);

private:
    static bool check(const QString &devType, const QJsonObject &values, QMap<QString, int> *checked, QString *error);
    static QJsonObject valuesOf(const QVariantMap &parameters);
};
