#pragma once

#include <QString>

// Where the program keeps the files that tie its instances in one desktop session together (the
// single-instance segment's key file, its lock, the activation socket). They live in the user's
// private runtime folder, so that another user can neither take nor share them, and carry the
// session's display in their names, so that each desktop of the user has its own instance.
class SessionFiles
{
public:
    // $XDG_RUNTIME_DIR when it is set and private to this user; otherwise a private folder
    // "vorlet-<uid>" in the temporary folder, created when missing. Empty when neither is safe.
    static QString folder();
    // folder() + "/" + key + session suffix + suffix, e.g. ".../vorletKey-_0.lock";
    // empty when there is no safe folder.
    static QString file(const QString &key, const QString &suffix);
    // The session's display as a file-name part ("-_0" for DISPLAY=:0), empty without one.
    static QString sessionSuffix();

private:
    static bool isPrivateFolder(const QByteArray &path);
};
