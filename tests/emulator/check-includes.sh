#!/bin/sh
# The emulated devices are the other side of the wire: besides their own folder they may use
# only the HID transport interface of the program, never its protocol code.
cd "$(dirname "$0")/../../emulator" || exit 2
foreign=$(grep -rhoE '#include "[A-Za-z]+/[A-Za-z0-9]+\.h"' . \
    | grep -v '"emulator/' \
    | grep -vE '"device/(HidBackend|HidHandle|HidCollectionInfo|HidEnumeration)\.h"')
if [ -n "$foreign" ]; then
    echo "emulator/ includes program code:"
    echo "$foreign"
    exit 1
fi
echo "emulator/ includes only its own headers and the HID transport interface"
