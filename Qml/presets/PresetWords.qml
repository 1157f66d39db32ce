import QtQuick 2.12

// The words of the device pages for the settings a preset changes, so that a change reads as
// the pages name it: "ECHO 6 → 12". `rows` are PresetController's changes.
QtObject {
    id: words

    // The key of a setting, and the words of its values, as the pages show them.
    readonly property var labels: ({
        "model": qsTr("模式选择"),
        "soundMode": qsTr("音效选择"),
        "volumeMonitor": qsTr("监听音量"),
        "volumeRecording": qsTr("录音音量"),
        "volumeMusicVolume": qsTr("音箱音量"),
        "volumeBluetooth": qsTr("音箱音量"),
        "volumeMic": qsTr("话筒音量"),
        "volumeBroadcast": qsTr("直播音量"),
        "volumeBGM": qsTr("BGM音量"),
        "toneColour": qsTr("话筒音色"),
        "reverbDepth": qsTr("混响音量"),
        "reverbVolume": qsTr("混响强度"),
        "dodgeSpeed": qsTr("闪避速度"),
        "dodgeThreshold": qsTr("闪避门限"),
        "dodgeLevel": qsTr("闪避等级"),
        "btnDodge": qsTr("闪避"),
        "btnBluetooth": qsTr("蓝牙开关"),
        "btnDenoise": qsTr("降噪开关"),
        "btnInPower": qsTr("内放开关"),
        "btnDisVoice": qsTr("消音开关"),
        "disVoiceLevel": qsTr("耳返"),
        "denoiseLevel": qsTr("降噪"),
        "btnMixDry": qsTr("听湿录干"),
        "bgmName": qsTr("BGM音效")
    })
    // The vx01's "model": music, singing with large, medium, small reverberation, chat.
    readonly property var vx01Modes: ({
        "1": qsTr("音乐"),
        "2": qsTr("唱歌") + " · " + qsTr("大"),
        "3": qsTr("唱歌") + " · " + qsTr("中"),
        "4": qsTr("唱歌") + " · " + qsTr("小"),
        "7": qsTr("聊天")
    })
    // The vx02's effects by group (reverberation, voice change, electronic key) and choice.
    readonly property var vx02Modes: [
        [qsTr("直播"), qsTr("喊麦"), qsTr("唱歌"), qsTr("聊天"), qsTr("主持")],
        [qsTr("男生"), qsTr("女生"), qsTr("童声"), qsTr("机器人"), qsTr("电话声"), qsTr("怪兽")],
        ["F", "E", "Eb", "D", "Db", "c", "Gb", "G", "Ab", "A", "Bb", "B"]
    ]

    function label(row) {
        return row.kind === "name" ? labels.bgmName + " " + (row.index + 1) : (labels[row.key] || row.key)
    }

    // The value `value` (with `detail` for a vx02 effect) in the words of the row's kind.
    function value(kind, value, detail) {
        if (kind === "switch")
            return value === 1 ? qsTr("开") : qsTr("关")
        if (kind === "level")
            return value === 0 ? qsTr("关") : String(value)
        if (kind === "vx01Mode")
            return vx01Modes[value] || String(value)
        if (kind === "vx02Mode")
            return (vx02Modes[value - 1] || [])[detail - 1] || value + "/" + detail
        return String(value)
    }

    // "ECHO  6 → 12"
    function text(row) {
        return label(row) + "  " + value(row.kind, row.from, row.fromDetail) + " → "
                + value(row.kind, row.to, row.toDetail)
    }
}
