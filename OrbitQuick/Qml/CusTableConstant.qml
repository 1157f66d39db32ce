pragma Singleton
import QtQuick 2.12

// Metrics shared by the list-like controls (the combo box's drop-down list).
QtObject {
    // A drop-down list shows at most this many rows of fixedHeight before it scrolls.
    readonly property int visibleRows: 6
}
