pragma Singleton
import QtQuick 2.9

// The spacing of the device pages at scale 1 (the pages' scaler grows it with the scene): where a
// page's content starts, how far apart its sections, rows and columns are.
QtObject {
    // Section titles and split lines start here; the controls below a title a little further in.
    readonly property int titleLeft: 24
    readonly property int left: 32
    readonly property int top: 15
    // Between a section's title, its rows and the line that closes it.
    readonly property int sectionSpacing: 16
    // Where sections follow without a line: between them, and from a title to its rows.
    readonly property int sectionGap: 28
    readonly property int titleGap: 14
    // Labelled controls side by side: a column each.
    readonly property int columnWidth: 97
    readonly property int columnSpacing: 8
    // Rows of labelled controls one below the other.
    readonly property int rowSpacing: 20
    // A label before the control it names.
    readonly property int labelWidth: 74
}
