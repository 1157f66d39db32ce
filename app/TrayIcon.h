#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

class MainWidget;
class QAction;

// The program in the desktop's tray (a StatusNotifierItem where the desktop offers one, else
// the older tray protocol): its icon and tooltip tell whether a device is connected and which,
// its menu shows the panel, applies one of the model's presets or quits. It is there whenever the program runs without
// its window or closing the window would not end it, and the desktop has a tray.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    explicit TrayIcon(MainWidget *window, QObject *parent = nullptr);

    QString toolTip() const;
    QMenu *menu();
    // Whether the program wants the icon (shown where the desktop has a tray), as decided at the
    // last change of the window's visibility, the device or "run in the background".
    bool wanted() const;

signals:
    void quitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void update();
    void retranslate();
    void showPanel();
    // The presets submenu: one entry a preset of the attached model, the one in effect checked.
    void fillPresets();

    MainWidget *m_window;
    QSystemTrayIcon m_icon;
    QMenu m_menu;
    QAction *m_show;
    QAction *m_quit;
    QMenu m_presets;
    bool m_wanted = false;
};
