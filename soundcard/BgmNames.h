#pragma once

#include <QObject>
#include <QStringList>

// The names the user gave the sound-effect buttons (the vx02's nine BGM pads), in the program's
// settings. The scene shows and renames them through MainLogic.bgmNames; presets keep and bring
// them back; vorletctl reads and writes the same settings.
class BgmNames : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList names READ names NOTIFY namesChanged)
public:
    static constexpr int kCount = 9;

    explicit BgmNames(QObject *parent = nullptr);

    QStringList names() const { return m_names; }
    // All of them at once (a preset's): false, with a log line, when the settings could not be
    // written; kCount names or nothing happens.
    bool setNames(const QStringList &names);

signals:
    void namesChanged();

public slots:
    // A name of blanks only keeps the old one.
    void rename(int index, const QString &name);
    // Reads the settings again (another program may have written them).
    void reload();

private:
    bool store();

    QStringList m_names;
};
