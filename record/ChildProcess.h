#pragma once

#include <QProcess>

// A helper program (the encoder, its probe) that ends with the panel: the kernel sends it
// SIGKILL when the panel's thread that started it ends, whatever way that happens (a crash,
// SIGKILL, a power-off of the session), so that nothing keeps writing a file that nobody will
// finish or remove. Qt 5 has no child-process modifier; setupChildProcess() runs in the child
// between fork and exec.
class ChildProcess : public QProcess
{
    Q_OBJECT

public:
    explicit ChildProcess(QObject *parent = nullptr);

protected:
    void setupChildProcess() override;

private:
    qint64 m_parentPid = 0;
};
