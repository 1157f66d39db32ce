#pragma once

#include <QString>

// Where the chosen language is kept between runs: the value "Language" of the user's settings
// for organisation "Vorlet", application "vx02" (the same for both models). On Linux that is
// ~/.config/Vorlet/vx02.conf.
class LanguageStore
{
public:
    static QString load();
    static void save(const QString &language);
};
