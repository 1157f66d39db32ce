#pragma once

#include <QProcess>

// A helper program (the encoder, its probe) that ends with the panel: the kernel sends it
// SIGKILL when the panel's thread that started it ends, whatever way that happens (a crash,
// SIGKILL, a power-off of the session), so that nothing keeps writing a file that nobody will
// finish or remove. The setup runs in the child between fork and exec: Qt 5 calls the virtual
// setupChildProcess() there, Qt 6 a child-process modifier instead.
class ChildProcess : public QProcess
{
    Q_OBJECT

public:
    explicit ChildProcess(QObject *parent = nullptr);

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
protected:
    void setupChildProcess() override;
#endif

private:
    // Only async-signal-safe calls: this runs in the forked child.
    static void setupChild(qint64 parentPid);

    qint64 m_parentPid = 0;
};
