#pragma once

#include "soundcard/ProfileKey.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Per model: every key of the parameter map, its range and its setter.
class ProfileKeyTable
{
public:
    // The models there are tables for: "vx01", "vx02".
    static QStringList models();
    // Empty for an unknown model.
    static const QVector<ProfileKey> &keys(const QString &devType);
    static const ProfileKey *find(const QString &devType, const QString &key);
    // Choices of a vx02 sound-mode group (1 to 3); 0 for no group.
    static int vx02DetailCount(int group);
};
