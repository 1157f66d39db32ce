#include "app/HidBackendFactory.h"

#include "device/HidrawBackend.h"
#include "emulator/EmulatedBus.h"

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
} // namespace

bool HidBackendFactory::emulatedModel(const QStringList &arguments, QString *model, QString *error)
{
    QString value = optionValue(arguments);
    if (value.isNull())
        value = QString::fromLocal8Bit(qgetenv(kEnvironment));
    value = value.trimmed();
    model->clear();
    if (value.isEmpty())
        return true;
    const QStringList known = EmulatedBus::models();
    if (!known.contains(value.toLower())) {
        *error = QStringLiteral("unknown model '%1', expected %2").arg(value, known.join(QStringLiteral(" or ")));
        return false;
    }
    *model = value.toLower();
    return true;
}

QString HidBackendFactory::emulatedModel(const QStringList &arguments)
{
    QString model;
    QString error;
    if (!emulatedModel(arguments, &model, &error))
        qWarning().noquote() << error << "- using the real devices";
    return model;
}

std::unique_ptr<HidBackend> HidBackendFactory::create(const QStringList &arguments, const FirmwareMaker &makeFirmware)
{
    const QString model = emulatedModel(arguments);
    if (model.isEmpty())
        return std::make_unique<HidrawBackend>();
    auto bus = std::make_unique<EmulatedBus>();
    bus->plug(model, makeFirmware ? makeFirmware(model) : nullptr);
    qInfo().noquote() << "HID devices emulated:" << model;
    return bus;
}
