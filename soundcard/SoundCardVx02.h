#pragma once

#include "soundcard/SoundCardBase.h"

// Model vx02: everything over the interrupt pipe. Commands are written; every answer, the
// parameter report included, is the next input report the device sends after a request.
class SoundCardVx02 : public SoundCardBase
{
    Q_OBJECT
public:
    explicit SoundCardVx02(HidBackend *backend, QObject *parent = nullptr);

    void setDenoise(int value) override;
    void setSwitch(int type, int value) override;
    QString getFirmwareVer() override;
    QString getSNCode() override;
    bool getParaIsChange() override;

    static constexpr int kVersionOffset = 11;
    static constexpr int kSerialWidth = 13;
    // The device needs a moment between the parameter request and its answer.
    static constexpr int kAnswerWaitMs = 100;

protected:
    bool sendReport(const QByteArray &buffer, int frameLength) override;

private:
    int readAnswer(QByteArray &buffer);
};
