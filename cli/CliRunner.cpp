#include "cli/CliRunner.h"

#include "cli/DeviceFinder.h"
#include "device/HidBackend.h"
#include "soundcard/SoundCardBase.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/emulator/FirmwareBase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

CliRunner::CliRunner(HidBackend &backend, QTextStream &out, QTextStream &err)
    : m_backend(backend)
    , m_out(out)
    , m_err(err)
{
}

CliRunner::~CliRunner() = default;

int CliRunner::run(const CliOptions &options)
{
    const bool needsDevice = std::any_of(options.invocations.cbegin(), options.invocations.cend(),
                                         [](const CliInvocation &i) { return i.command->needsDevice(); });
    if (needsDevice) {
        if (const int code = openDevice())
            return code;
        if (const int code = prepareProfiles(options))
            return code;
        if (const int code = checkKnobs(options))
            return code;
    }
    for (int i = 0; i < options.invocations.size(); ++i) {
        if (const int code = runOne(options.invocations.at(i), i, options))
            return code;
    }
    // With "restore last settings" on, the state the session leaves is what comes back.
    m_restorer.rememberNow();
    return Success;
}

int CliRunner::openDevice()
{
    m_devType = DeviceFinder::find(m_backend);
    if (m_devType.isEmpty())
        return failure(NoDevice, QStringLiteral("no vx01 or vx02 device found"));
    m_card = SoundCardFactory::create(m_devType, &m_backend);
    if (!m_card->openDevice())
        return failure(NoDevice, QStringLiteral("the %1 device was found but could not be opened").arg(m_devType));
    m_restorer.setCard(m_card.get());
    return Success;
}

// Every profile is read and checked before the first command runs.
int CliRunner::prepareProfiles(const CliOptions &options)
{
    for (int i = 0; i < options.invocations.size(); ++i) {
        const CliInvocation &invocation = options.invocations.at(i);
        if (invocation.command->action != CliCommand::Action::Load)
            continue;
        QVector<ParameterProfile::Step> steps;
        QString error;
        if (!ParameterProfile::load(invocation.file, m_devType, &steps, &error))
            return failure(UsageError, error);
        m_profiles.insert(i, steps);
    }
    return Success;
}

void CliRunner::setEmulatedFirmware(FirmwareBase *firmware)
{
    m_firmware = firmware;
}

int CliRunner::checkKnobs(const CliOptions &options)
{
    for (const CliInvocation &invocation : options.invocations) {
        if (!invocation.command->needsEmulation())
            continue;
        if (!m_firmware)
            return failure(UsageError, QStringLiteral("%1 works only on an emulated device (--emulate)").arg(QLatin1String(invocation.command->name)));
        if (m_firmware->parameter(invocation.key) < 0)
            return failure(UsageError, QStringLiteral("%1: the %2 has no parameter \"%3\"").arg(QLatin1String(invocation.command->name), m_devType, invocation.key));
    }
    return Success;
}

int CliRunner::runOne(const CliInvocation &invocation, int index, const CliOptions &options)
{
    const CliCommand &command = *invocation.command;
    const QByteArray name(command.name);
    const QVector<int> &args = invocation.integers;
    switch (command.action) {
    case CliCommand::Action::Setter:
        if (args.size() == 1)
            QMetaObject::invokeMethod(m_card.get(), name.constData(), Q_ARG(int, args.at(0)));
        else
            QMetaObject::invokeMethod(m_card.get(), name.constData(), Q_ARG(int, args.at(0)), Q_ARG(int, args.at(1)));
        return Success;
    case CliCommand::Action::TextQuery: {
        QString text;
        QMetaObject::invokeMethod(m_card.get(), name.constData(), Q_RETURN_ARG(QString, text));
        line(text);
        return Success;
    }
    case CliCommand::Action::ParaIsChange:
        line(m_card->getParaIsChange() ? QStringLiteral("true") : QStringLiteral("false"));
        return Success;
    case CliCommand::Action::AllPara:
        m_card->getParaIsChange();
        printParameters(options.json);
        return Success;
    case CliCommand::Action::List:
        listCollections(options.json);
        return Success;
    case CliCommand::Action::Save: {
        m_card->getParaIsChange();
        const QVariantMap parameters = m_card->getAllPara();
        if (parameters.isEmpty())
            return failure(NoDevice, QStringLiteral("no parameters could be read from the %1; nothing saved").arg(m_devType));
        QString error;
        if (!ParameterProfile::save(invocation.file, m_devType, parameters, &error))
            return failure(NoDevice, error);
        return Success;
    }
    case CliCommand::Action::Knob:
        m_firmware->setParameter(invocation.key, args.at(0));
        return Success;
    case CliCommand::Action::Load:
        for (const ParameterProfile::Step &step : m_profiles.value(index))
            step(*m_card);
        return Success;
    case CliCommand::Action::RestoreOption:
        if (invocation.word.isEmpty())
            line(m_restorer.isEnabled() ? QStringLiteral("on") : QStringLiteral("off"));
        else
            m_restorer.setEnabled(invocation.word == QLatin1String("on"));
        return Success;
    case CliCommand::Action::Restore:
        if (!m_restorer.restore())
            return failure(NoDevice, QStringLiteral("no settings remembered for the %1 with serial number '%2'; nothing sent")
                                         .arg(m_devType, m_restorer.serial()));
        return Success;
    }
    return Success;
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
