#pragma once

#include "device/HidModelId.h"

#include <QLoggingCategory>
#include <QString>
#include <QtGlobal>

// Messages about access to the sound cards' device nodes; vorletctl shows them on stderr even
// when it keeps the rest of the log quiet.
Q_DECLARE_LOGGING_CATEGORY(lcDeviceAccess)

// The one line a user needs when a sound card is attached but its hidraw node may not be
// opened: the udev rule that gives the user at the seat access to it is not installed. Told once
// per node between two enumerations, whatever number of collections the node has.
class HidrawPermissionNotice
{
public:
    static constexpr const char *kRuleName = "70-vorlet.rules";

    // After opening `node` of a device failed with `errorCode`: writes the line when that is a
    // permission problem on one of `soundCards`. True when it wrote it.
    static bool report(const QVector<HidModelId> &soundCards, const QString &node, quint16 vendorId, quint16 productId,
                       int errorCode);
    // A new enumeration: every node may be told about again.
    static void reset();

    static QString text(const QString &node, quint16 vendorId, quint16 productId);
    // Whether the pair is one of `soundCards` (the pairs the udev rule covers).
    static bool isSoundCard(const QVector<HidModelId> &soundCards, quint16 vendorId, quint16 productId);
};
