import QtQuick 2.9
import OrbitQuick 1.0

// A row of labelled switches from a table: one per entry { name, key, label } of `entries`, named
// by its name. Switch i shows the parameter entries[i].key of `parameters` (1 on, 2 off) once the
// device has reported; the user's toggle reports the entry and the new state.
Row {
    id: row

    property var entries: []
    property var parameters: ({})
    property bool reported: false

    signal toggled(var entry, bool on)

    spacing: PageTheme.columnSpacing

    Repeater {
        // A count, not the table: a language change re-evaluates the labels and must not
        // rebuild the switches.
        model: row.entries.length

        TextSwitch {
            objectName: row.entries[index].name
            width: PageTheme.columnWidth
            text: row.entries[index].label
            onSwitchChecked: function (isChecked) { row.toggled(row.entries[index], isChecked); }

            Binding on checkedState {
                when: row.reported
                value: Number(row.parameters[row.entries[index].key])
            }
        }
    }
}
