#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Watches udev for hidraw nodes coming and going and reports them with their path text.
class HidrawMonitor : public QObject
{
    Q_OBJECT
public:
    explicit HidrawMonitor(QObject *parent = nullptr);
    ~HidrawMonitor() override;

    // False when udev offers no event stream (no hot-plug then; logged once).
    bool isWatching() const;
    // Remembers the path text of a node seen at enumeration: on removal the HID device above
    // the node is usually gone already and its ids can no longer be read.
    void remember(const QString &node, const QString &path);

signals:
    void arrived(const QString &path);
    void removed(const QString &path);

private:
    void onReadable();

    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    QHash<QString, QString> m_pathByNode;
};
