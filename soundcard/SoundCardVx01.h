#pragma once

#include "soundcard/SoundCardBase.h"

// Model vx01: everything over the control pipe (set-output-report for commands,
// get-input-report for answers and parameters).
class SoundCardVx01 : public SoundCardBase
{
    Q_OBJECT
public:
    explicit SoundCardVx01(HidBackend *backend, QObject *parent = nullptr);

    QString getFirmwareVer() override;
    QString getSNCode() override;
    bool getParaIsChange() override;

    static constexpr int kFirmwareWidth = 4;
    static constexpr int kSerialWidth = 12;

protected:
    bool sendReport(const QByteArray &buffer, int frameLength) override;

private:
    QString query(const SoundCardCommand &command, int width);
};
