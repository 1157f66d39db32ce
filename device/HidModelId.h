#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

// A supported model as the device layer sees it: its type and the USB ids by which its HID
// interfaces are recognised. The list is handed down by the layers that know the models.
struct HidModelId
{
    QString devType;
    quint16 vendorId;
    quint16 productId;
};
