#include "emulator/FirmwareBase.h"

#include "emulator/ReceivedFrame.h"

#include <QDebug>

using Action = FirmwareCommand::Action;

FirmwareBase::FirmwareBase(const FirmwareModel &model, const QByteArray &serial)
    : m_model(model)
    , m_values(model.parameters.size(), '\0')
    , m_serial(serial)
{
    for (int i = 0; i < model.parameters.size(); ++i)
        m_values[i] = char(model.parameters.at(i).startUp);
    for (const FirmwareCommand &command : model.commands) {
        if (command.action == Action::Serial && serial.size() > command.answer.size())
            qWarning().noquote() << model.name << "serial number" << serial << "is cut to" << command.answer.size()
                                 << "bytes";
    }
}

QList<QByteArray> FirmwareBase::receive(const QByteArray &report)
{
    ReceivedFrame frame;
    QString error;
    if (!ReceivedFrame::parse(report, &frame, &error)) {
        ++m_framesRejected;
        qWarning().noquote() << m_model.name << "ignores a malformed frame:" << error;
        return {};
    }
    const FirmwareCommand *command = find(frame);
    if (!command) {
        warnUnknown(frame);
        return {};
    }
    QByteArray answer;
    switch (command->action) {
    case Action::SetParameter: setParameter(QString::fromLatin1(command->key), frame.data[1]); return {};
    case Action::SoundMode:
        if (!applySoundMode(frame.data[0], frame.data[1]))
            warnUnknown(frame);
        return {};
    case Action::PlayEffect:
        m_lastEffect = frame.data[0];
        ++m_effectsPlayed;
        qDebug().noquote() << m_model.name << "plays sound effect" << m_lastEffect;
        return {};
    case Action::ReportParameters: answer = parameterReport(); break;
    case Action::Answer:
    case Action::Serial:
        answer = emptyReport();
        answer.replace(command->answerOffset, command->answer.size(), answerText(*command));
        break;
    }
    if (m_model.pipe == FirmwareModel::AnswerPipe::Interrupt)
        return {answer};
    m_pendingAnswer = answer;
    return {};
}

QByteArray FirmwareBase::inputReport()
{
    if (m_pendingAnswer.isEmpty())
        return parameterReport();
    QByteArray answer;
    answer.swap(m_pendingAnswer);
    return answer;
}

bool FirmwareBase::setParameter(const QString &key, int value)
{
    const int index = indexOf(key);
    if (index < 0)
        return false;
    m_values[index] = char(value & 0xFF);
    return true;
}

int FirmwareBase::parameter(const QString &key) const
{
    const int index = indexOf(key);
    return index < 0 ? -1 : int(quint8(m_values.at(index)));
}

QStringList FirmwareBase::keys() const
{
    QStringList result;
    for (const FirmwareParameter &p : m_model.parameters)
        result << QString::fromLatin1(p.key);
    return result;
}

const FirmwareCommand *FirmwareBase::find(const ReceivedFrame &frame) const
{
    for (const FirmwareCommand &command : m_model.commands) {
        if (command.code == frame.code && command.dataLength == frame.dataLength
            && (command.subCode < 0 || command.subCode == frame.data[0]))
            return &command;
    }
    return nullptr;
}

bool FirmwareBase::applySoundMode(quint8 modeType, quint8 choice)
{
    for (const FirmwareSoundMode &mode : m_model.soundModes) {
        if (mode.modeType != modeType)
            continue;
        if (choice < mode.minChoice || choice > mode.maxChoice)
            return false;
        setParameter(QString::fromLatin1(mode.modeKey), mode.modeValue + (mode.choiceAdds ? choice : 0));
        if (mode.choiceKey)
            setParameter(QString::fromLatin1(mode.choiceKey), choice);
        return true;
    }
    return false;
}

void FirmwareBase::warnUnknown(const ReceivedFrame &frame) const
{
    qWarning().noquote() << m_model.name << "ignores unknown command"
                         << QByteArray(reinterpret_cast<const char *>(frame.code.data()), 4).toHex(' ') << "data"
                         << QByteArray(reinterpret_cast<const char *>(frame.data.data()), frame.dataLength).toHex(' ');
}

QByteArray FirmwareBase::emptyReport() const
{
    return QByteArray(m_model.reportLength, '\0');
}

QByteArray FirmwareBase::answerText(const FirmwareCommand &command) const
{
    if (command.action != Action::Serial || m_serial.isEmpty())
        return command.answer;
    return m_serial.leftJustified(command.answer.size(), '\0', true);
}

QByteArray FirmwareBase::parameterReport() const
{
    QByteArray report = emptyReport();
    for (int i = 0; i < m_model.parameters.size(); ++i)
        report[m_model.parameters.at(i).offset] = m_values.at(i);
    return report;
}

int FirmwareBase::indexOf(const QString &key) const
{
    for (int i = 0; i < m_model.parameters.size(); ++i) {
        if (key == QLatin1String(m_model.parameters.at(i).key))
            return i;
    }
    return -1;
}
