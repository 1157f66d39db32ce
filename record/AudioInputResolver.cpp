#include "record/AudioInputResolver.h"

namespace {
const char *const kDefaultName = "Default";
}

QString AudioInputResolver::productName(const QString &deviceName)
{
    const QString name = deviceName.trimmed();
    if (name.isEmpty() || name == QLatin1String(kDefaultName))
        return {};
    const int close = name.lastIndexOf(QLatin1Char(')'));
    const int open = close > 0 ? name.lastIndexOf(QLatin1Char('('), close) : -1;
    if (open >= 0) {
        const QString inner = name.mid(open + 1, close - open - 1).trimmed();
        if (!inner.isEmpty())
            return inner;
    }
    return name;
}

QString AudioInputResolver::resolve(const QString &deviceName, const QVector<Input> &inputs,
                                    const QString &defaultInput)
{
    const QString product = productName(deviceName);
    if (product.isEmpty())
        return defaultInput;
    for (const Input &input : inputs) {
        if (input.description.contains(product, Qt::CaseInsensitive)
            || input.name.contains(product, Qt::CaseInsensitive))
            return input.name;
    }
    return defaultInput;
}
