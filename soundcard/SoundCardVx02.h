#pragma once

#include "soundcard/SoundCardProtocol.h"

// Model vx02: everything over the interrupt pipe. Commands are written; every answer, the
// parameter report included, is an input report the device sends after a request, in the order
// of the requests.
class SoundCardVx02 : public SoundCardProtocol
{
public:
    explicit SoundCardVx02(HidBackend *backend, const QString &unit = QString());

protected:
    bool write(const QByteArray &buffer, int frameLength) override;
    bool read(QByteArray &buffer, int timeoutMs) override;
    bool keepsAnswersInOrder() const override { return true; }
    int dropWaiting() override;
    // The noise-reduction and switch setters are logged.
    void sent(const SetterCall &call) override;
};
