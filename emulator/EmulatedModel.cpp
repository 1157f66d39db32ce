#include "emulator/EmulatedModel.h"

namespace {

// A vx01 announces itself with its own ids on one interface (the one detection recognises)
// and carries its control traffic on a consumer collection with the shared vendor/product pair.
// The recognised interface comes first, so that arrival and removal are reported as vx01.
const QList<EmulatedModel> &models()
{
    static const QList<EmulatedModel> table = {
        {QStringLiteral("vx01"),
         EmulatedPipe::Control,
         34,
         {{0x1235, 0x0003, 0x000C, 0x0001, 3, 0, false}, {0x1234, 0x4321, 0x000C, 0x0001, 65, 65, true}}},
        {QStringLiteral("vx02"), EmulatedPipe::Interrupt, 31, {{0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65, true}}},
    };
    return table;
}

} // namespace

const EmulatedModel *EmulatedModel::find(const QString &name)
{
    for (const EmulatedModel &model : models()) {
        if (model.name.compare(name, Qt::CaseInsensitive) == 0)
            return &model;
    }
    return nullptr;
}

QStringList EmulatedModel::names()
{
    QStringList result;
    for (const EmulatedModel &model : models())
        result << model.name;
    return result;
}

const EmulatedInterface &EmulatedModel::trafficInterface() const
{
    for (const EmulatedInterface &iface : interfaces) {
        if (iface.carriesTraffic)
            return iface;
    }
    return interfaces.first();
}
