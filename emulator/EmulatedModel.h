#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// One HID interface of an emulated model, with its one top-level collection.
struct EmulatedInterface
{
    quint16 vendorId;
    quint16 productId;
    quint16 usagePage;
    quint16 usage;
    quint32 inputReportLength;  // report id included
    quint32 outputReportLength; // report id included
    bool carriesTraffic;        // the collection the firmware talks through
};

// Which pair of operations a model's firmware listens and answers on.
enum class EmulatedPipe {
    Control,   // set-output-report in, get-input-report out
    Interrupt, // interrupt writes in, interrupt reads out
};

// What an emulated model looks like on the bus: its interfaces in the order the system lists
// them, the one pipe it talks on, and how short its reports get when it declares them too short.
// Model differences live in this table only.
struct EmulatedModel
{
    QString name;
    EmulatedPipe pipe;
    quint32 shortReportLength; // report length declared under EmulatedFailure::ShortReports
    QList<EmulatedInterface> interfaces;

    // The known models; null when `name` is none of them (case ignored).
    static const EmulatedModel *find(const QString &name);
    static QStringList names();
    // The interface the firmware talks through.
    const EmulatedInterface &trafficInterface() const;
};
