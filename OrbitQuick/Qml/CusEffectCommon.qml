pragma Singleton
import QtQuick 2.12

// Durations of the library's animated changes.
QtObject {
    readonly property int themeFadeDuration: 400
    readonly property int indicatorTurnDuration: 150
    readonly property int tipDelay: 500
}
