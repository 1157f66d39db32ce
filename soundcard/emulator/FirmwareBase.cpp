#include "soundcard/emulator/FirmwareBase.h"

#include "soundcard/SoundCardProfile.h"

#include <QDebug>

FirmwareBase::FirmwareBase(const char *name, const SoundCardProfile &profile, AnswerPipe pipe,
                           const QVector<FirmwareRule> &rules, const QVector<ParameterValue> &startUp)
    : m_name(name)
    , m_profile(profile)
    , m_pipe(pipe)
    , m_rules(rules)
    , m_values(profile.parameters.size(), '\0')
{
    for (const ParameterValue &start : startUp)
        setParameter(QString::fromLatin1(start.key), start.value);
}

QList<QByteArray> FirmwareBase::receive(const QByteArray &report)
{
    // Byte 0 is the report id; the frame follows.
    const auto *bytes = reinterpret_cast<const quint8 *>(report.constData());
    CommandFrame::Parsed frame;
    QString error;
    if (report.size() < 1 || !CommandFrame::parse(bytes + 1, report.size() - 1, &frame, &error)) {
        ++m_framesRejected;
        qWarning().noquote() << m_name << "ignores a malformed frame:"
                             << (report.isEmpty() ? QStringLiteral("empty report") : error);
        return {};
    }
    const SoundCardCommand &command = frame.command;
    const QByteArray answer = answerTo(command);
    if (!answer.isEmpty()) {
        if (m_pipe == AnswerPipe::Interrupt)
            return {answer};
        m_pendingAnswer = answer;
        return {};
    }
    bool applied = true;
    if (isSetter(command, SetterOp::SpecialEffectSound))
        playEffect(command.data[0]);
    else if (isSetter(command, SetterOp::SoundMode))
        applied = applySoundMode(command.data[0], command.data[1]);
    else
        applied = applyRule(command);
    if (!applied)
        warnUnknown(command);
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
    for (const ParameterByte &p : m_profile.parameters)
        result << QString::fromLatin1(p.key);
    return result;
}

bool FirmwareBase::isSetter(const SoundCardCommand &command, SetterOp op) const
{
    const SetterCommand *row = m_profile.setter(op);
    return row && command.hasData && command.code == row->code;
}

bool FirmwareBase::applyRule(const SoundCardCommand &command)
{
    if (!command.hasData || command.code != SetterCommand::group(command.code[3]))
        return false;
    for (const FirmwareRule &rule : m_rules) {
        if (rule.group == command.code[3] && rule.subCode == command.data[0])
            return setParameter(QString::fromLatin1(rule.key), command.data[1]);
    }
    return false;
}

void FirmwareBase::playEffect(int number)
{
    m_lastEffect = number;
    ++m_effectsPlayed;
    qDebug().noquote() << m_name << "plays sound effect" << number;
}

void FirmwareBase::warnUnknown(const SoundCardCommand &command) const
{
    qWarning().noquote() << m_name << "ignores unknown command"
                         << QByteArray(reinterpret_cast<const char *>(command.code.data()), 4).toHex(' ')
                         << "data"
                         << QByteArray(reinterpret_cast<const char *>(command.data.data()), command.dataLength())
                                .toHex(' ');
}

QByteArray FirmwareBase::emptyReport() const
{
    return QByteArray(int(kReportLength), '\0');
}

QByteArray FirmwareBase::parameterReport() const
{
    QByteArray report = emptyReport();
    for (int i = 0; i < m_profile.parameters.size(); ++i)
        report[m_profile.parameters.at(i).offset] = m_values.at(i);
    return report;
}

QByteArray FirmwareBase::textReport(const QByteArray &text, int width) const
{
    QByteArray report = emptyReport();
    report.replace(SoundCardProfile::kParameterOffset, qMin(width, text.size()), text.left(width));
    return report;
}

int FirmwareBase::indexOf(const QString &key) const
{
    for (int i = 0; i < m_profile.parameters.size(); ++i) {
        if (key == QLatin1String(m_profile.parameters.at(i).key))
            return i;
    }
    return -1;
}
