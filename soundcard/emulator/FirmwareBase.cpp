#include "soundcard/emulator/FirmwareBase.h"

#include <QDebug>

FirmwareBase::FirmwareBase(const char *name, const QVector<ParameterByte> &layout, const QVector<FirmwareRule> &rules)
    : m_name(name)
    , m_layout(layout)
    , m_rules(rules)
    , m_values(layout.size(), '\0')
{
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
    return handle(frame.command);
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
    for (const ParameterByte &p : m_layout)
        result << QString::fromLatin1(p.key);
    return result;
}

bool FirmwareBase::isSetter(const SoundCardCommand &command) const
{
    return command.hasData && command.code[0] == 0x03 && command.code[1] == 0x01 && command.code[2] == 0x01;
}

bool FirmwareBase::applyRule(const SoundCardCommand &command)
{
    if (!isSetter(command))
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
    for (int i = 0; i < m_layout.size(); ++i)
        report[m_layout.at(i).offset] = m_values.at(i);
    return report;
}

QByteArray FirmwareBase::textReport(const QByteArray &text, int width) const
{
    QByteArray report = emptyReport();
    report.replace(16, qMin(width, text.size()), text.left(width));
    return report;
}

int FirmwareBase::indexOf(const QString &key) const
{
    for (int i = 0; i < m_layout.size(); ++i) {
        if (key == QLatin1String(m_layout.at(i).key))
            return i;
    }
    return -1;
}
