#include "device/HidBackendFactory.h"

#include "device/EmulatedBus.h"
#include "device/HidrawBackend.h"

#include <QDebug>

namespace {
const QString kOption = QStringLiteral("--emulate");
const char kEnvironment[] = "VORLET_EMULATE";

// The value of the option, or a null string when it is absent.
QString optionValue(const QStringList &arguments)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == kOption)
            return i + 1 < arguments.size() ? arguments.at(i + 1) : QStringLiteral("");
        if (argument.startsWith(kOption + QLatin1Char('=')))
            return argument.mid(kOption.size() + 1);
    }
    return QString();
}
}

QString HidBackendFactory::emulatedModel(const QStringList &arguments)
{
    QString model = optionValue(arguments);
    if (model.isNull())
        model = QString::fromLocal8Bit(qgetenv(kEnvironment));
    model = model.trimmed().toLower();
    if (model.isEmpty())
        return QString();
    if (!EmulatedBus::models().contains(model)) {
        qWarning().noquote() << "unknown model to emulate:" << model << "- using the real devices";
        return QString();
    }
    return model;
}

std::unique_ptr<HidBackend> HidBackendFactory::create(const QStringList &arguments,
                                                      const FirmwareMaker &makeFirmware)
{
    const QString model = emulatedModel(arguments);
    if (model.isEmpty())
        return std::make_unique<HidrawBackend>();
    auto bus = std::make_unique<EmulatedBus>();
    bus->plug(model, makeFirmware ? makeFirmware(model) : nullptr);
    qInfo().noquote() << "HID devices emulated:" << model;
    return bus;
}
