#include "SoundCardProxy.h"
#include "app/AutostartEntry.h"
#include "app/HidBackendFactory.h"
#include "app/PresetBus.h"
#include "app/SoundCardService.h"
#include "cli/CliParser.h"
#include "cli/CliRunner.h"
#include "cli/TracingHidBackend.h"
#include "device/HidrawPermissionNotice.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareFactory.h"
#include "soundcard/ParameterMemory.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTextStream>

#include <cstdio>

namespace {

// The program's own log lines stay out of the way unless asked for; a fatal one still says
// why the tool stops, and what the user must act on is always told: a sound card that may not
// be opened, a damaged settings file, an autostart entry that starts a program not installed.
void quietLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const auto told = [&context](const QLoggingCategory &category) {
        return context.category && qstrcmp(context.category, category.categoryName()) == 0;
    };
    if (type == QtFatalMsg || told(lcDeviceAccess()) || told(lcSettingsFile()) || told(lcAutostart()))
        std::fprintf(stderr, "vorletctl: %s\n", qPrintable(message));
}

void verboseLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

// The running panel's sound card when a panel runs in this session (it owns its name on the
// session bus) and nothing asks for the device itself: --direct, or an emulated device, which
// belongs to this process.
std::unique_ptr<SoundCardProxy> runningPanel(const CliOptions &options, const QString &emulatedModel)
{
    if (options.direct || !emulatedModel.isEmpty())
        return nullptr;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(SoundCardService::kServiceName))
        return nullptr;
    registerPresetChangeList();
    return std::make_unique<SoundCardProxy>(SoundCardService::kServiceName, SoundCardService::kObjectPath, bus);
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietLog);
    // No display, no widgets: the device is found and driven without a window.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorletctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORLET_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);

    CliOptions options;
    QString error;
    if (!CliParser::parse(app.arguments().mid(1), &options, &error)) {
        err << "vorletctl: " << error << '\n';
        return CliRunner::UsageError;
    }
    if (options.help) {
        out << CliParser::helpText();
        return CliRunner::Success;
    }
    if (options.version) {
        out << "vorletctl " << QCoreApplication::applicationVersion() << '\n';
        return CliRunner::Success;
    }
    qInstallMessageHandler(options.verbose ? verboseLog : quietLog);

    // The option wins over the environment; a model that is none of ours is refused, not
    // replaced by the real devices.
    QStringList backendArguments;
    if (!options.emulate.isEmpty())
        backendArguments << QStringLiteral("--emulate") << options.emulate;
    QString model;
    if (!HidBackendFactory::emulatedModel(backendArguments, &model, &error)) {
        err << "vorletctl: VORLET_EMULATE: " << error << '\n';
        return CliRunner::UsageError;
    }
    std::unique_ptr<HidBackend> backend =
        HidBackendFactory::create({QStringLiteral("--emulate"), model}, &FirmwareFactory::make);
    TraceSink sink;
    if (options.trace) {
        sink = [&err](const QString &line) {
            err << line << '\n';
            err.flush();
        };
    }
    TracingHidBackend watched(backend.get(), sink);
    CliRunner runner(watched, out, err);
    runner.setEmulatedDevice(dynamic_cast<EmulatedBus *>(backend.get()), model);
    const std::unique_ptr<SoundCardProxy> panel = runningPanel(options, model);
    runner.setPanel(panel.get());
    return runner.run(options);
}
