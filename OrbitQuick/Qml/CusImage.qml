import QtQuick 2.12

// Takes the size of its picture unless the user gives it one.
Image {
    smooth: true
}
