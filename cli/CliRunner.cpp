#include "cli/CliRunner.h"

#include "SoundCardProxy.h"
#include "cli/DeviceFinder.h"
#include "cli/PanelSoundCard.h"
#include "cli/PresetCommand.h"
#include "cli/TracingHidBackend.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "soundcard/DirectSoundCard.h"
#include "soundcard/ParameterMemory.h"
#include "soundcard/SetterRangeTable.h"
#include "soundcard/SetterSlot.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardProtocol.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>

namespace {

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

// The arguments' names as the help shows them: "VALUE [TYPE]" -> VALUE, TYPE.
QStringList argumentNames(const CliCommand &command)
{
    QString help = QLatin1String(command.argumentHelp);
    help.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    return help.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

CliRunner::CliRunner(TracingHidBackend &backend, QTextStream &out, QTextStream &err)
    : m_backend(backend)
    , m_out(out)
    , m_err(err)
{
}

CliRunner::~CliRunner() = default;

int CliRunner::run(const CliOptions &options)
{
    const bool needsDevice = std::any_of(options.invocations.cbegin(), options.invocations.cend(),
                                         [](const CliInvocation &i) { return i.needsDevice(); });
    if (needsDevice) {
        if (const int code = checkKnobs(options))
            return code;
        if (const int code = openDevice())
            return code;
        if (m_panel && options.trace)
            m_err << "vorletctl: --trace: the running panel owns the device; its reports cannot be seen from here\n";
        if (const int code = checkArguments(options))
            return code;
    }
    for (const CliInvocation &invocation : options.invocations) {
        if (const int code = runOne(invocation, options))
            return code;
    }
    // With "restore last settings" on, the state the session leaves is what comes back.
    bool remembered = true;
    if (const int code = delivered(QStringLiteral("remembering the last settings"), Query,
                                   [&]() { remembered = m_restorer.rememberNow(); }))
        return code;
    if (remembered)
        return Success;
    if (!ParameterMemory::lastWriteError().isEmpty())
        return failure(FileError,
                       QStringLiteral("the settings the %1 has now are not remembered: %2")
                           .arg(m_devType, ParameterMemory::lastWriteError()));
    return failure(
        DeviceError,
        QStringLiteral("the %1 sent no parameter report; the settings it has now are not remembered").arg(m_devType));
}

void CliRunner::setPanel(SoundCardProxy *panel)
{
    m_panel = panel;
}

int CliRunner::openDevice()
{
    if (m_panel) {
        QDBusPendingReply<QString> reply = m_panel->model();
        reply.waitForFinished();
        if (reply.isError())
            return failure(NoDevice,
                           QStringLiteral("the running panel did not answer: %1").arg(reply.error().message()));
        m_devType = reply.value();
        const SoundCardModel *model = SoundCardFactory::model(m_devType);
        if (!model)
            return failure(NoDevice, QStringLiteral("no vx01 or vx02 device found"));
        m_card = std::make_unique<PanelSoundCard>(*m_panel, *model);
        m_restorer.setCard(m_card.get());
        return Success;
    }
    m_devType = DeviceFinder::find(m_backend);
    if (m_devType.isEmpty())
        return failure(NoDevice, QStringLiteral("no vx01 or vx02 device found"));
    auto card = std::make_unique<DirectSoundCard>(SoundCardFactory::create(m_devType, &m_backend));
    if (!card->openDevice())
        return failure(NoDevice, QStringLiteral("the %1 device was found but could not be opened").arg(m_devType));
    m_card = std::move(card);
    m_restorer.setCard(m_card.get());
    return Success;
}

// Before the first command runs: every setter argument against the model's ranges, and every
// profile that no earlier save of the session writes. A profile is read again when its load
// runs, so that it is the file as the commands before it left it.
int CliRunner::checkArguments(const CliOptions &options)
{
    QSet<QString> saved;
    for (const CliInvocation &invocation : options.invocations) {
        QString error;
        const QString file = QFileInfo(invocation.file).absoluteFilePath();
        QVector<ParameterProfile::Step> steps;
        switch (invocation.command->action) {
        case CliCommand::Action::Setter:
            if (!SetterRangeTable::check(m_devType, invocation.command->setter, invocation.integers,
                                         argumentNames(*invocation.command), &error))
                return failure(UsageError, error);
            break;
        case CliCommand::Action::Save: saved.insert(file); break;
        case CliCommand::Action::Preset: {
            // A preset is checked as a profile is: a bad one stops the line before anything is sent.
            Preset preset;
            const PresetOutcome outcome = PresetStore().read(invocation.name, m_devType, &preset);
            if (invocation.word == QLatin1String("save"))
                saved.insert(invocation.name);
            else if (invocation.word == QLatin1String("apply") && !saved.contains(invocation.name) && !outcome.ok())
                return failure(PresetCommand::exitCode(outcome.status), outcome.message);
            break;
        }
        case CliCommand::Action::Load:
            if (!saved.contains(file) && !ParameterProfile::load(invocation.file, m_devType, &steps, &error))
                return failure(UsageError, error);
            break;
        default: break;
        }
    }
    return Success;
}

void CliRunner::setEmulatedDevice(EmulatedBus *bus, const QString &model)
{
    m_bus = bus;
    m_emulatedModel = model;
    m_firmware = bus ? dynamic_cast<FirmwareBase *>(bus->firmware(model)) : nullptr;
}

int CliRunner::checkKnobs(const CliOptions &options)
{
    for (const CliInvocation &invocation : options.invocations) {
        if (!invocation.command->needsEmulation())
            continue;
        const QString name = QLatin1String(invocation.command->name);
        if (!m_bus || !m_firmware)
            return failure(UsageError,
                           QStringLiteral("%1 needs the emulated device: add --emulate vx01|vx02").arg(name));
        if (invocation.command->action == CliCommand::Action::Knob && m_firmware->parameter(invocation.key) < 0)
            return failure(
                UsageError,
                QStringLiteral("%1: the %2 has no parameter \"%3\"").arg(name, m_emulatedModel, invocation.key));
    }
    return Success;
}

int CliRunner::runOne(const CliInvocation &invocation, const CliOptions &options)
{
    const CliCommand &command = *invocation.command;
    const QByteArray name(command.name);
    const QVector<int> &args = invocation.integers;
    switch (command.action) {
    case CliCommand::Action::Setter:
        return delivered(QString::fromLatin1(name), Command,
                         [&]() { m_card->apply(SetterSlot::of(command.setter).call(args)); });
    // A query is answered only by a device that is there: nothing is printed otherwise.
    case CliCommand::Action::TextQuery: {
        QString text;
        if (const int code =
                delivered(QString::fromLatin1(name), Query, [&]() { text = (m_card.get()->*command.query)(); }))
            return code;
        result(command, text, options.json);
        return Success;
    }
    case CliCommand::Action::ParaIsChange: {
        bool changed = false;
        if (const int code =
                delivered(QString::fromLatin1(name), Query, [&]() { changed = m_card->getParaIsChange(); }))
            return code;
        result(command, changed, options.json);
        return Success;
    }
    case CliCommand::Action::AllPara:
        if (const int code = delivered(QString::fromLatin1(name), Query, [&]() { m_card->getParaIsChange(); }))
            return code;
        printParameters(options.json);
        return Success;
    case CliCommand::Action::List: listCollections(options.json); return Success;
    case CliCommand::Action::Save: return save(invocation);
    case CliCommand::Action::Knob: m_firmware->setParameter(invocation.key, args.at(0)); return Success;
    case CliCommand::Action::Unplug: m_bus->unplug(m_emulatedModel); return Success;
    case CliCommand::Action::Preset: {
        PresetCommand preset(m_panel, m_card.get(), m_devType, [this](const QString &text) { line(text); });
        const PresetOutcome outcome = preset.run(invocation.word, invocation.name, options.json);
        return outcome.ok() ? Success : failure(PresetCommand::exitCode(outcome.status), outcome.message);
    }
    case CliCommand::Action::Load: {
        QVector<ParameterProfile::Step> steps;
        QString error;
        if (!ParameterProfile::load(invocation.file, m_devType, &steps, &error))
            return failure(UsageError, error);
        return delivered(QStringLiteral("load %1").arg(invocation.file), Command, [&]() {
            for (const ParameterProfile::Step &step : qAsConst(steps))
                m_card->apply(step);
        });
    }
    case CliCommand::Action::RestoreOption:
        if (invocation.word.isEmpty())
            result(command, m_restorer.isEnabled() ? QStringLiteral("on") : QStringLiteral("off"), options.json);
        else
            m_restorer.setEnabled(invocation.word == QLatin1String("on"));
        if (!ParameterMemory::lastWriteError().isEmpty())
            return failure(FileError,
                           QStringLiteral("lastSettings is not kept: %1").arg(ParameterMemory::lastWriteError()));
        return Success;
    case CliCommand::Action::BackgroundOption:
        if (invocation.word.isEmpty())
            result(command, m_background.runInBackground() ? QStringLiteral("on") : QStringLiteral("off"),
                   options.json);
        else
            m_background.setRunInBackground(invocation.word == QLatin1String("on"));
        return Success;
    case CliCommand::Action::AutostartOption: {
        QString error;
        if (invocation.word.isEmpty())
            result(command, m_background.autostart() ? QStringLiteral("on") : QStringLiteral("off"), options.json);
        else if (!m_background.switchAutostart(invocation.word == QLatin1String("on"), &error))
            return failure(FileError, error);
        return Success;
    }
    case CliCommand::Action::Restore: {
        bool remembered = false;
        if (const int code =
                delivered(QStringLiteral("restore"), Command, [&]() { remembered = m_restorer.restore(); }))
            return code;
        if (!remembered)
            return failure(NoDevice,
                           QStringLiteral("no settings remembered for the %1 with serial number '%2'; nothing sent")
                               .arg(m_devType, m_restorer.serial()));
        return Success;
    }
    }
    return Success;
}

// Only what load takes back is written: a device that reports a value beyond its settings
// leaves the file as it was.
int CliRunner::save(const CliInvocation &invocation)
{
    if (const int code = delivered(QStringLiteral("save"), Query, [&]() { m_card->getParaIsChange(); }))
        return code;
    const QVariantMap parameters = m_card->getAllPara();
    if (parameters.isEmpty())
        return failure(DeviceError,
                       QStringLiteral("no parameters could be read from the %1; nothing saved").arg(m_devType));
    QString error;
    if (!ParameterProfile::check(m_devType, parameters, &error)) {
        return failure(
            DeviceError,
            QStringLiteral("not saved: %1: the %2 reports a value it cannot be set to").arg(error, m_devType));
    }
    if (!ParameterProfile::save(invocation.file, m_devType, parameters, &error))
        return failure(FileError, error);
    return Success;
}

int CliRunner::delivered(const QString &what, Transfer transfer, const std::function<void()> &call)
{
    const int failedBefore = failures();
    call();
    if (failures() == failedBefore)
        return Success;
    if (transfer == Query)
        return failure(DeviceError,
                       QStringLiteral("%1: no answer from the %2 (report not sent or not read: device gone?)")
                           .arg(what, m_devType));
    return failure(
        DeviceError,
        QStringLiteral("%1: the %2 did not take the command (write failed or device gone)").arg(what, m_devType));
}

int CliRunner::failures() const
{
    return m_card ? m_card->failures() : 0;
}

void CliRunner::result(const CliCommand &command, const QJsonValue &value, bool json)
{
    if (json) {
        const QJsonObject object{{QLatin1String(command.name), value}};
        line(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    } else if (value.isBool()) {
        line(value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
    } else {
        line(value.toString());
    }
}

void CliRunner::printParameters(bool json)
{
    const QVariantMap parameters = m_card->getAllPara();
    if (json) {
        line(QString::fromUtf8(QJsonDocument(QJsonObject::fromVariantMap(parameters)).toJson(QJsonDocument::Compact)));
        return;
    }
    // QVariantMap iterates in key order.
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
        line(QStringLiteral("%1=%2").arg(it.key()).arg(it.value().toInt()));
}

void CliRunner::listCollections(bool json)
{
    const QList<HidCollectionInfo> collections = m_backend.enumerate();
    if (json) {
        QJsonArray array;
        for (const HidCollectionInfo &c : collections) {
            array.append(QJsonObject{{QStringLiteral("path"), c.path},
                                     {QStringLiteral("vendorId"), hex4(c.vendorId)},
                                     {QStringLiteral("productId"), hex4(c.productId)},
                                     {QStringLiteral("usagePage"), hex4(c.usagePage)},
                                     {QStringLiteral("usage"), hex4(c.usage)},
                                     {QStringLiteral("inputReportLength"), int(c.inputReportLength)},
                                     {QStringLiteral("outputReportLength"), int(c.outputReportLength)}});
        }
        line(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
        return;
    }
    for (const HidCollectionInfo &c : collections) {
        line(QStringLiteral("%1 vendor=%2 product=%3 usagePage=%4 usage=%5 input=%6 output=%7")
                 .arg(c.path, hex4(c.vendorId), hex4(c.productId), hex4(c.usagePage), hex4(c.usage))
                 .arg(c.inputReportLength)
                 .arg(c.outputReportLength));
    }
}

void CliRunner::line(const QString &text)
{
    m_out << text << '\n';
    m_out.flush();
}

int CliRunner::failure(int code, const QString &message)
{
    m_err << "vorletctl: " << message << '\n';
    m_err.flush();
    return code;
}
