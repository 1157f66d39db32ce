#include "support/TappedFirmware.h"

#include "soundcard/CommandFrame.h"

TappedFirmware::TappedFirmware(std::unique_ptr<EmulatedFirmware> inner)
    : m_inner(std::move(inner))
{
}

QList<QByteArray> TappedFirmware::receive(const QByteArray &report)
{
    m_reports.append(report);
    return m_inner ? m_inner->receive(report) : QList<QByteArray>();
}

QByteArray TappedFirmware::inputReport()
{
    return m_inner ? m_inner->inputReport() : QByteArray();
}

QStringList TappedFirmware::setters() const
{
    QStringList found;
    for (const QByteArray &report : m_reports) {
        CommandFrame::Parsed parsed;
        QString error;
        // Report id 0 comes first, the frame right behind it.
        if (report.size() < 2
            || !CommandFrame::parse(reinterpret_cast<const quint8 *>(report.constData()) + 1,
                                    report.size() - 1, &parsed, &error)) {
            found.append(QStringLiteral("malformed"));
            continue;
        }
        const SoundCardCommand &c = parsed.command;
        if (c.hasData && c.code[0] == 0x03 && c.code[1] == 0x01 && c.code[2] == 0x01)
            found.append(describe(c));
    }
    return found;
}

QString TappedFirmware::describe(const SoundCardCommand &command)
{
    return QStringLiteral("%1 %2 %3")
        .arg(command.code[3], 2, 16, QLatin1Char('0'))
        .arg(command.data[0], 2, 16, QLatin1Char('0'))
        .arg(command.data[1], 2, 16, QLatin1Char('0'));
}
