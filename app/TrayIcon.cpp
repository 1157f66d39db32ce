#include "app/TrayIcon.h"

#include "app/ActivationChannel.h"
#include "app/BackgroundSettings.h"
#include "app/DeviceManager.h"
#include "app/MainWidget.h"
#include "app/PresetController.h"
#include "i18n/Trans.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/SoundCardModel.h"

#include <QAction>
#include <QEvent>
#include <QIcon>

TrayIcon::TrayIcon(MainWidget *window, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_show(m_menu.addAction(QString()))
    , m_quit(m_menu.addAction(QString()))
{
    m_icon.setContextMenu(&m_menu);
    connect(m_show, &QAction::triggered, this, &TrayIcon::showPanel);
    connect(m_quit, &QAction::triggered, this, &TrayIcon::quitRequested);
    // A click on the icon itself brings the panel, as a second start does.
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            showPanel();
    });
    connect(window->devices(), &DeviceManager::isConnect, this, &TrayIcon::update);
    connect(window->background(), &BackgroundSettings::runInBackgroundChanged, this, &TrayIcon::update);
    connect(window->translator(), &Trans::currentLanguageChanged, this, &TrayIcon::retranslate);
    m_menu.insertMenu(m_quit, &m_presets);
    connect(window->presets(), &PresetController::namesChanged, this, &TrayIcon::fillPresets);
    connect(window->presets(), &PresetController::currentChanged, this, &TrayIcon::fillPresets);
    // vorletctl may have added some since.
    connect(&m_presets, &QMenu::aboutToShow, window->presets(), &PresetController::refresh);
    fillPresets();
    window->installEventFilter(this);
    retranslate();
}

bool TrayIcon::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        update();
    return QObject::eventFilter(watched, event);
}

QString TrayIcon::toolTip() const
{
    const DeviceSession *session = m_window->devices()->session();
    const QString state =
        session ? tr("%1 已连接").arg(QString::fromUtf8(session->model().productName)) : tr("设备未连接");
    return tr("Vorlet 控制面板") + QLatin1Char('\n') + state;
}

QMenu *TrayIcon::menu()
{
    return &m_menu;
}

bool TrayIcon::wanted() const
{
    return m_wanted;
}

void TrayIcon::update()
{
    m_wanted = !m_window->isVisible() || m_window->background()->runInBackground();
    const bool connected = m_window->devices()->session() != nullptr;
    m_icon.setIcon(QIcon(connected ? QStringLiteral(":/image/blackSkin/vorlet.png")
                                   : QStringLiteral(":/image/blackSkin/vorlet_offline.png")));
    m_icon.setToolTip(toolTip());
    m_icon.setVisible(m_wanted && QSystemTrayIcon::isSystemTrayAvailable());
}

void TrayIcon::fillPresets()
{
    PresetController *presets = m_window->presets();
    m_presets.clear();
    for (const QString &name : presets->names()) {
        QAction *action = m_presets.addAction(name);
        action->setCheckable(true);
        action->setChecked(name == presets->current());
        connect(action, &QAction::triggered, presets, [presets, name] { presets->applyPreset(name); });
    }
    m_presets.setEnabled(!m_presets.isEmpty());
}

void TrayIcon::retranslate()
{
    m_presets.setTitle(tr("预设"));
    m_show->setText(tr("显示面板"));
    m_quit->setText(tr("退出"));
    update();
}

void TrayIcon::showPanel()
{
    m_window->onActivationRequest(ActivationChannel::kActivationCode);
}
