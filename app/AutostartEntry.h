#pragma once

#include <QString>

// The desktop's autostart entry of the panel: $XDG_CONFIG_HOME/autostart/com.brindle.vorlet.desktop
// (XDG autostart), which starts the panel hidden ("vorlet --hidden") when the user logs in.
class AutostartEntry
{
public:
    static QString path();
    // The entry's text for `program` (a path or a name on the PATH).
    static QString text(const QString &program);
    // Writes the entry for `program`: a new file beside it, renamed over the old one. False with
    // the reason in *error; the old entry, if any, is left as it was.
    static bool write(const QString &program, QString *error);
    // Removes the entry; true when there is none afterwards.
    static bool remove(QString *error);
    // The panel's program: this one when it is the panel, else the vorlet beside it (the pair
    // is installed side by side), else "vorlet" from the PATH.
    static QString panelProgram();
};
