#include "cli/CliParser.h"
#include "cli/CliRunner.h"
#include "cli/TracingHidBackend.h"
#include "device/EmulatedBus.h"
#include "device/HidBackendFactory.h"
#include "device/HidrawPermissionNotice.h"
#include "soundcard/emulator/FirmwareBase.h"
#include "soundcard/emulator/FirmwareFactory.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// The program's own log lines stay out of the way unless asked for; a sound card that may not be
// opened is always told.
void quietLog(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (context.category && qstrcmp(context.category, lcDeviceAccess().categoryName()) == 0)
        std::fprintf(stderr, "vorletctl: %s\n", qPrintable(message));
}

void verboseLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    // Quiet from the start: the platform's own start-up notes would mix with the results.
    qInstallMessageHandler(quietLog);
    // The device detection is an invisible window: a command-line tool needs no display for it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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
    qInstallMessageHandler(options.verbose ? verboseLog : quietLog);

    QStringList backendArguments;
    if (!options.emulate.isEmpty())
        backendArguments << QStringLiteral("--emulate") << options.emulate;
    std::unique_ptr<HidBackend> backend = HidBackendFactory::create(backendArguments, &FirmwareFactory::make);
    std::unique_ptr<TracingHidBackend> tracing;
    HidBackend *used = backend.get();
    if (options.trace) {
        tracing = std::make_unique<TracingHidBackend>(backend.get(), [&err](const QString &line) {
            err << line << '\n';
            err.flush();
        });
        used = tracing.get();
    }
    CliRunner runner(*used, out, err);
    if (auto *bus = dynamic_cast<EmulatedBus *>(backend.get()))
        runner.setEmulatedFirmware(dynamic_cast<FirmwareBase *>(bus->firmware(HidBackendFactory::emulatedModel(backendArguments))));
    return runner.run(options);
}
