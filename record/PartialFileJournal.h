#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The files being written that a run which dies (a crash, SIGKILL, a power cut) would leave half
// done: the hidden files exports are written to and the cut copies. Each is listed before it is
// written, as an entry of its own in the folder "partial-files" of the per-user data folder, and
// its entry goes once the file is complete or removed. Entries are files of their own so that
// no entry is ever rewritten, and each names the run that wrote it (process, start time, boot),
// so that a start removes only what runs that are gone left behind.
class PartialFileJournal
{
public:
    PartialFileJournal() = default;
    PartialFileJournal(const PartialFileJournal &) = delete;
    PartialFileJournal &operator=(const PartialFileJournal &) = delete;

    // Lists path before it is written; false (and a log line) when the entry cannot be written.
    bool add(const QString &path);
    // The file at path is complete or removed.
    void remove(const QString &path);

    // At start: removes the files that runs which are gone listed, and their entries; returns
    // the files removed. Only files of the kinds listed are touched: an export's hidden partial
    // file (".song.part-1.mp3") or a file in the recording folder.
    static QStringList removeLeftovers();
    static QString folder();

private:
    QHash<QString, QString> m_entries; // listed file -> its entry
};
