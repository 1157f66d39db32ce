#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// Keeps the recording folder to the take being worked on: after an export the working files of
// earlier takes (the recordings and their cut copies) go to the desktop's trash, as the file
// manager would put them there, so that nothing recorded is lost without a way back. Only
// files the panel wrote itself are touched, never a file of the user's or an export.
class RecordingTidier
{
public:
    struct Result
    {
        QStringList takes;   // file names of the takes whose files went
        QSet<QString> files; // the files that went, or were gone already
    };

    // A working file the panel wrote, of the take (recording) at take.
    void remember(const QString &path, const QString &take);
    // The file is the user's now (an export over a working file's place).
    void forget(const QString &path);

    // Moves the working files of takes other than current to the trash, keeping the files in
    // keep (the working file, the export). A file that cannot be moved stays, with a log line.
    Result tidy(const QString &current, const QStringList &keep);

private:
    QHash<QString, QString> m_takeOf; // working file -> its take, both absolute
};
