#pragma once

#include "soundcard/SoundCardBase.h"

#include <memory>
#include <optional>

class SoundCardProtocol;

// The sound card driven call by call on the caller's thread: each call returns once the device
// answered or the read gave up. For vorletctl when no panel runs, and wherever a caller may wait.
class DirectSoundCard : public SoundCardBase
{
    Q_OBJECT
public:
    explicit DirectSoundCard(std::unique_ptr<SoundCardProtocol> protocol, QObject *parent = nullptr);
    ~DirectSoundCard() override;

    bool openDevice();
    void apply(const SetterCall &call) override;

public slots:
    // Empty when the device did not answer.
    QString getFirmwareVer() override;
    QString getSNCode() override;
    // True when a new parameter report was taken over (allParaChanged was emitted).
    bool getParaIsChange() override;
    QVariantMap getAllPara() override;

private:
    // The answer, kept with `keep`; empty and counted as a failure when there is none.
    QString kept(const std::optional<QString> &answer, void (DirectSoundCard::*keep)(const QString &));

    std::unique_ptr<SoundCardProtocol> m_protocol;
};
