#include "support/TappedFirmware.h"

#include "emulator/ReceivedFrame.h"
#include "soundcard/CommandFrame.h"

#include <algorithm>

TappedFirmware::TappedFirmware(std::unique_ptr<EmulatedFirmware> inner)
    : RecordingFirmware(kReportLength)
    , m_inner(std::move(inner))
{
}

QList<QByteArray> TappedFirmware::receive(const QByteArray &report)
{
    RecordingFirmware::receive(report);
    if (m_inner)
        return m_inner->receive(report);
    const QByteArray answer = answers.isEmpty() ? QByteArray() : answers.dequeue();
    return answer.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{answer};
}

QByteArray TappedFirmware::inputReport()
{
    ++controlReads;
    return m_inner ? m_inner->inputReport() : RecordingFirmware::inputReport();
}

QByteArray TappedFirmware::report(int offset, const QByteArray &bytes)
{
    QByteArray result(kReportLength, '\0');
    result.replace(offset, bytes.size(), bytes);
    return result;
}

SoundCardCommand TappedFirmware::command(const QByteArray &commandBytes)
{
    SoundCardCommand command;
    std::copy_n(commandBytes.constData(), 4, command.code.begin());
    command.hasData = commandBytes.size() == 6;
    if (command.hasData)
        command.data = {quint8(commandBytes.at(4)), quint8(commandBytes.at(5))};
    return command;
}

QByteArray TappedFirmware::outputReport(quint16 sequence, const QByteArray &commandBytes, char reportId)
{
    const QByteArray frame = reportId + CommandFrame::build(sequence, command(commandBytes));
    return frame + QByteArray(kReportLength - frame.size(), '\0');
}

QStringList TappedFirmware::setters() const
{
    QStringList found;
    for (const QByteArray &report : reports()) {
        // Read as the device reads it, not with the program's own frame code.
        ReceivedFrame frame;
        QString error;
        if (!ReceivedFrame::parse(report, &frame, &error)) {
            found.append(QStringLiteral("malformed"));
            continue;
        }
        if (frame.dataLength == 2 && frame.code[0] == 0x03 && frame.code[1] == 0x01 && frame.code[2] == 0x01)
            found.append(describe(frame.code[3], frame.data[0], frame.data[1]));
    }
    return found;
}

QString TappedFirmware::describe(quint8 group, quint8 d0, quint8 d1)
{
    return QStringLiteral("%1 %2 %3")
        .arg(group, 2, 16, QLatin1Char('0'))
        .arg(d0, 2, 16, QLatin1Char('0'))
        .arg(d1, 2, 16, QLatin1Char('0'));
}
