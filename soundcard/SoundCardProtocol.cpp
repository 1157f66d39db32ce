#include "soundcard/SoundCardProtocol.h"

#include "device/DeviceHID.h"
#include "soundcard/CommandFrame.h"
#include "soundcard/FrameSequence.h"
#include "soundcard/SoundCardModel.h"

#include <QDebug>
#include <QThread>

namespace {

const char *nameOf(int answer)
{
    static const char *const kNames[] = {"parameter", "version", "serial-number"};
    return kNames[answer];
}

} // namespace

SoundCardProtocol::SoundCardProtocol(HidBackend *backend, const SoundCardModel &model, const QString &unit)
    : m_backend(backend)
    , m_model(model)
    , m_unit(unit)
{
}

SoundCardProtocol::~SoundCardProtocol() = default;

bool SoundCardProtocol::open()
{
    if (!m_device) {
        m_device = std::make_unique<DeviceHID>(m_backend, m_model.vendorId, m_model.productId, m_model.usagePage,
                                               m_model.usage, m_unit);
    }
    const bool result = m_device->open();
    qDebug() << m_model.openLogPrefix << result;
    // A new handle has nothing of the old one's questions to answer.
    m_due.clear();
    return result;
}

QByteArray SoundCardProtocol::newReportBuffer() const
{
    int size = kReportBufferSize;
    if (m_device) {
        size = qMax(size, int(m_device->inputReportLength()));
        size = qMax(size, int(m_device->outputReportLength()));
    }
    return QByteArray(size, '\0');
}

bool SoundCardProtocol::send(const SetterCall &call)
{
    const SetterCommand *row = m_model.setter(call.op);
    if (!row)
        return true;
    const bool ok = sendCommand(row->resolve(call.arg(0), call.arg(1)));
    sent(call);
    return ok;
}

bool SoundCardProtocol::sendCommand(const SoundCardCommand &command)
{
    QByteArray buffer = newReportBuffer();
    const int length = CommandFrame::write(reinterpret_cast<quint8 *>(buffer.data()) + 1,
                                           FrameSequence::processWide().take(), command);
    return m_device && write(buffer, length);
}

SoundCardProtocol::Poll SoundCardProtocol::poll()
{
    QByteArray report = newReportBuffer();
    const SoundCardCommand *query = m_model.parameterQuery ? &*m_model.parameterQuery : nullptr;
    if (!exchange(Answer::Parameters, query, report, m_model.answerWaitMs))
        return {};
    return {
        true,
        m_snapshot.takeOver(reinterpret_cast<const quint8 *>(report.constData()), m_model.parameters, m_parameters)};
}

std::optional<QString> SoundCardProtocol::firmwareVersion()
{
    QByteArray answer = newReportBuffer();
    if (!exchange(Answer::Version, &m_model.firmwareQuery, answer))
        return std::nullopt;
    take(Answer::Version, answer);
    return m_knownFirmwareVersion;
}

std::optional<QString> SoundCardProtocol::serialNumber()
{
    QByteArray answer = newReportBuffer();
    if (!exchange(Answer::Serial, &m_model.serialQuery, answer))
        return std::nullopt;
    // Its answer is read before the next question.
    if (m_model.versionAfterSerial && sendCommand(m_model.firmwareQuery))
        expect(Answer::Version);
    return ReportText::read(reinterpret_cast<const quint8 *>(answer.constData()), m_model.serialAnswer);
}

bool SoundCardProtocol::exchange(Answer kind, const SoundCardCommand *query, QByteArray &buffer, int waitMs)
{
    if (!m_device)
        return false;
    settle();
    if (query) {
        if (!sendCommand(*query))
            return false;
        expect(kind);
    }
    if (waitMs > 0)
        QThread::msleep(ulong(waitMs));
    if (!read(buffer, DeviceHID::kReadTimeoutMs))
        return false;
    if (query)
        m_due.dequeue();
    return true;
}

void SoundCardProtocol::expect(Answer kind)
{
    Due due{kind, {}};
    due.asked.start();
    m_due.enqueue(due);
}

void SoundCardProtocol::settle()
{
    while (!m_due.isEmpty()) {
        const Due due = m_due.dequeue();
        const qint64 left = kGiveUpMs - due.asked.elapsed();
        QByteArray report = newReportBuffer();
        if (left > 0 && read(report, int(qMin<qint64>(left, DeviceHID::kReadTimeoutMs)))) {
            // What a pipe without order offers may answer an earlier question, or none: read away.
            if (keepsAnswersInOrder())
                take(due.answer, report);
            continue;
        }
        qDebug("the %s did not answer a %s request; no longer waited for", m_model.devType, nameOf(int(due.answer)));
    }
    // Nobody asks for what is waiting now: an answer that came too late, or a report the device
    // sent of its own accord.
    if (const int dropped = dropWaiting())
        qDebug("the %s sent %d report(s) nobody asked for; dropped", m_model.devType, dropped);
}

void SoundCardProtocol::take(Answer kind, const QByteArray &report)
{
    // A parameter answer read late shows the device before what was sent since: not taken.
    if (kind == Answer::Version)
        m_knownFirmwareVersion =
            ReportText::read(reinterpret_cast<const quint8 *>(report.constData()), m_model.firmwareAnswer);
}
