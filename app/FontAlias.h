#pragma once

#include <QString>

// Makes the scene's font family "Microsoft YaHei", which does not exist outside Windows, resolve
// to the Simplified Chinese face of Noto Sans CJK. The rule comes from the fontconfig file
// compiled into the program (:/fonts/vorlet-fonts.conf) and is added to the process's current
// fontconfig configuration, so it must run before the application object creates the font
// database.
class FontAlias
{
public:
    // Returns false, with a log line, when the rule could not be loaded; the scene then falls
    // back to whatever fontconfig picks for the family.
    static bool install(const QString &confPath = QStringLiteral(":/fonts/vorlet-fonts.conf"));
};
