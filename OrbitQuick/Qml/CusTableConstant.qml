pragma Singleton
import QtQuick 2.12

// Metrics shared by the list-like controls (the combo box's drop-down list).
QtObject {
    // An entry of a drop-down list is this much higher than the box that opens it.
    readonly property int rowExtraHeight: 10
    // A drop-down list shows at most this many rows of fixedHeight before it scrolls.
    readonly property int visibleRows: 6
}
