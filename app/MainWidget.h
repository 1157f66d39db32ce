#pragma once

#include <QWidget>

// The program's top-level window. For now it only comes forward when a second start asks it to.
class MainWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MainWidget(QWidget *parent = nullptr);

public slots:
    // Handles a message of the activation channel: code 10086 restores the window and brings it
    // above the others; any other code is swallowed without effect.
    void onActivationRequest(quint32 code);
};
