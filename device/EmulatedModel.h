#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// What an emulated model looks like on the bus: its HID interfaces, in the order the system
// lists them, each with one top-level collection. Model differences live in this table only.
struct EmulatedInterface
{
    quint16 vendorId;
    quint16 productId;
    quint16 usagePage;
    quint16 usage;
    quint32 inputReportLength;   // report id included
    quint32 outputReportLength;  // report id included
    bool carriesTraffic;         // the collection the firmware talks through
};

struct EmulatedModel
{
    QString name;
    QList<EmulatedInterface> interfaces;

    // The known models; null when `name` is none of them.
    static const EmulatedModel *find(const QString &name);
    static QStringList names();
    // The interface the firmware talks through.
    const EmulatedInterface &trafficInterface() const;
};
