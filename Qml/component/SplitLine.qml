import QtQuick 2.12

// The faint line between two sections of a page; pages set its y.
Rectangle {
    color: "#383A3E"
    height: 1
    opacity: 0.5
    width: 475
    x: 25
}
