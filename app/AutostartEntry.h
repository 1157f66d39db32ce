#pragma once

#include <QLoggingCategory>
#include <QString>

// What the user must see of the autostart entry, also where the program's other lines are
// hidden (vorletctl).
Q_DECLARE_LOGGING_CATEGORY(lcAutostart)

// The desktop's autostart entry of the panel: $XDG_CONFIG_HOME/autostart/com.brindle.vorlet.desktop
// (XDG autostart), which starts the panel hidden ("PROGRAM --hidden") when the user logs in.
class AutostartEntry
{
public:
    static QString path();
    // The entry's text for `program` (an absolute path; see unusable()).
    static QString text(const QString &program);
    // Why `program` cannot be named on the entry's Exec line (a control character such as a
    // newline, which no quoting carries; "=", which the format forbids in the program; a name
    // the file system would not give back); empty when it can. Spaces, quotes and the other
    // characters the shell would read are quoted and escaped.
    static QString unusable(const QString &program);
    // Writes the entry for `program`: a new file beside it, synced, then renamed over the old
    // one, so that a link at the entry's path is replaced, not followed. False with the reason
    // in *error; the old entry, if any, is left as it was.
    static bool write(const QString &program, QString *error);
    // Removes the entry (a link: the link); true when there is none afterwards.
    static bool remove(QString *error);
    // The panel the entry starts: "vorlet" found on the PATH (installed); else, with a warning
    // that it is not installed, this program when it is the panel or the panel beside it (a
    // build folder). Empty, with the reason in *error, when there is none.
    static QString panelProgram(QString *error);
};
