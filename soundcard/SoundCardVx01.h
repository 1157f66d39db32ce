#pragma once

#include "soundcard/SoundCardProtocol.h"

// Model vx01: everything over the control pipe. Commands go out with set-output-report; the
// answer to a query, and otherwise the parameter report, is the input report the device offers
// when asked with get-input-report.
class SoundCardVx01 : public SoundCardProtocol
{
public:
    explicit SoundCardVx01(HidBackend *backend, const QString &unit = QString());

protected:
    bool write(const QByteArray &buffer, int frameLength) override;
    bool read(QByteArray &buffer, int timeoutMs) override;
    bool keepsAnswersInOrder() const override { return false; }
    // The control pipe keeps no queue: nothing waits to be read.
    int dropWaiting() override { return 0; }
};
