#pragma once

#include <QObject>
#include <QSettings>

// How the panel is drawn, kept with the program's other settings: the high-contrast look (off by
// default: the theme as designed). The scene binds the control library's colours to it.
class AppearanceSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool highContrast READ highContrast WRITE setHighContrast NOTIFY highContrastChanged)
public:
    explicit AppearanceSettings(QObject *parent = nullptr);

    bool highContrast() const;

signals:
    void highContrastChanged(bool on);

public slots:
    void setHighContrast(bool on);
    // Reads the option again after the settings file changed; told only when it differs.
    void reload();

private:
    mutable QSettings m_settings;
    bool m_highContrast;
};
