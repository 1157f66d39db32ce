#include "app/MainWidget.h"

#include "app/ActivationChannel.h"

MainWidget::MainWidget(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("vorlet"));
    resize(802, 482);
}

void MainWidget::onActivationRequest(quint32 code)
{
    if (code != ActivationChannel::kActivationCode)
        return;
    // Restore, then raise above every window; the window manager lets others cover it again.
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    showNormal();
    raise();
    activateWindow();
}
