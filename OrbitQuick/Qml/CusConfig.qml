pragma Singleton
import QtQuick 2.12
import OrbitQuick 1.0

// Colours, font and sizes of every control. The scene uses theme 1 "Black"; the other themes
// are kept so that a later skin only has to change currentTheme.
QtObject {
    id: config

    property string fontFamily: "Microsoft YaHei"
    property real fontSizeLevel1: 16
    property real fontSizeLevel2: 14
    property real fontSizeLevel3: 12
    property int fixedHeight: 30
    property int maximumLength: 64
    property int controlBorderRadius: 2
    property int scrollBarRadius: 2
    property int scrollBarMinLen: 40
    property int scrollBarSize: 10
    property int scrollBarSize_Smaller: 5
    property int tipTextPixel: 12
    // The keyboard focus: a ring of this width (at scale 1) in a colour that stands out at 3:1
    // or more against every background, control and accent colour of the theme.
    property color focusColor: "#FFC233"
    property int focusWidth: 2
    // Off: the theme as designed. On: secondary texts, borders and status texts lighter (4.5:1
    // on the backgrounds), switch tracks, slider tracks and control edges at 3:1 at least.
    property bool highContrast: false
    // Appended to translated texts: changing it makes every such binding evaluate again.
    property string transString: ""
    // The host tells where the images are compiled in; the fallback serves a checkout.
    property string imagePathPrefix: typeof OrbitQuickImagePath !== "undefined" && OrbitQuickImagePath
                                     ? OrbitQuickImagePath : "file:///./../Images/"
    property int currentTheme: -1
    property ListModel themes: ListModel {
        ListElement {
            name: "Red"; themeColor: "#ec4141"; elementColor: "#ec4141"; mainBackgroundColor: "#ffffff"
            subBackgroundColor: "#F6F6F8"; textColor: "#282828"; splitLineColor: "#f38d8d"
            invalidColor: "#c62f2f"; alterColor: "#f0f0f2"; tipBackgroundColor: "#ffffff"; tipBorderColor: "#767676"
            controlColor: "#F6F6F8"; controlBorderColor: "#b0b0b0"; imageColor: "#666666"; imageColor_disabled: "#b0b0b0"
            scrollBarBackgroundColor: "#e0e0e0"; scrollBarBackgroundColor_hovered: "#cfcfcf"
        }
        ListElement {
            name: "Black"; themeColor: "#282A2B"; elementColor: "#5E17CC"; mainBackgroundColor: "#282A2B"
            subBackgroundColor: "#383A3E"; textColor: "#FFFFFF"; splitLineColor: "#707070"
            invalidColor: "#782c2c"; alterColor: "#383838"; tipBackgroundColor: "#ffffff"; tipBorderColor: "#767676"
            controlColor: "#383A3E"; controlBorderColor: "#848484"; imageColor: "#adafb2"; imageColor_disabled: "#989898"
            scrollBarBackgroundColor: "#3f3f3f"; scrollBarBackgroundColor_hovered: "#4a4a4a"
        }
        ListElement {
            name: "Pink"; themeColor: "#faa0c5"; elementColor: "#faa0c5"; mainBackgroundColor: "#ffffff"
            subBackgroundColor: "#F6F6F8"; textColor: "#5c5c5c"; splitLineColor: "#fbb8d0"
            invalidColor: "#c62f2f"; alterColor: "#f0f0f2"; tipBackgroundColor: "#ffffff"; tipBorderColor: "#767676"
            controlColor: "#F6F6F8"; controlBorderColor: "#b0b0b0"; imageColor: "#666666"; imageColor_disabled: "#b0b0b0"
            scrollBarBackgroundColor: "#e0e0e0"; scrollBarBackgroundColor_hovered: "#cfcfcf"
        }
        ListElement {
            name: "Gold"; themeColor: "#fed98f"; elementColor: "#fed98f"; mainBackgroundColor: "#ffffff"
            subBackgroundColor: "#F6F6F8"; textColor: "#5c5c5c"; splitLineColor: "#f0c896"
            invalidColor: "#c62f2f"; alterColor: "#f0f0f2"; tipBackgroundColor: "#ffffff"; tipBorderColor: "#767676"
            controlColor: "#F6F6F8"; controlBorderColor: "#b0b0b0"; imageColor: "#666666"; imageColor_disabled: "#b0b0b0"
            scrollBarBackgroundColor: "#e0e0e0"; scrollBarBackgroundColor_hovered: "#cfcfcf"
        }
        ListElement {
            name: "Green"; themeColor: "#58c979"; elementColor: "#58c979"; mainBackgroundColor: "#ffffff"
            subBackgroundColor: "#F6F6F8"; textColor: "#E5E5E5"; splitLineColor: "#707070"
            invalidColor: "#c62f2f"; alterColor: "#f0f0f2"; tipBackgroundColor: "#ffffff"; tipBorderColor: "#767676"
            controlColor: "#F6F6F8"; controlBorderColor: "#b0b0b0"; imageColor: "#666666"; imageColor_disabled: "#b0b0b0"
            scrollBarBackgroundColor: "#e0e0e0"; scrollBarBackgroundColor_hovered: "#cfcfcf"
        }
        ListElement {
            name: "Gray"; themeColor: "#dadcdc"; elementColor: "#02883b"; mainBackgroundColor: "#e5e6e6"
            subBackgroundColor: "#f4f5f5"; textColor: "#323232"; splitLineColor: "#f4f5f5"
            invalidColor: "#c62f2f"; alterColor: "#eeeeee"; tipBackgroundColor: "#ffffff"; tipBorderColor: "#767676"
            controlColor: "#f4f5f5"; controlBorderColor: "#a0a0a0"; imageColor: "#606060"; imageColor_disabled: "#b0b0b0"
            scrollBarBackgroundColor: "#dcdcdc"; scrollBarBackgroundColor_hovered: "#cccccc"
        }
    }
    // The row of the current theme; before creation completes the "Black" values apply.
    readonly property var theme: currentTheme >= 0 && currentTheme < themes.count ? themes.get(currentTheme) : themes.get(1)

    property color themeColor: theme.themeColor
    property color elementColor: theme.elementColor
    property color mainBackgroundColor: theme.mainBackgroundColor
    property color subBackgroundColor: theme.subBackgroundColor
    property color textColor: theme.textColor
    property color splitLineColor: theme.splitLineColor
    property color invalidColor: theme.invalidColor
    property color alterColor: theme.alterColor
    property color tipBackgroundColor: theme.tipBackgroundColor
    property color tipBorderColor: theme.tipBorderColor
    property color controlColor: theme.controlColor
    property color controlBorderColor: highContrast ? "#ABABAB" : theme.controlBorderColor
    property color imageColor: theme.imageColor
    property color imageColor_disabled: theme.imageColor_disabled
    property color scrollBarBackgroundColor: theme.scrollBarBackgroundColor
    property color scrollBarBackgroundColor_hovered: theme.scrollBarBackgroundColor_hovered

    // Edges of controls that have no border of their own (combo box, number field) in high
    // contrast; none otherwise.
    property color controlEdgeColor: highContrast ? "#9E9E9E" : "transparent"
    property color trackColor: highContrast ? "#9E9E9E" : controlColor
    property color switchTrackColor_on: highContrast ? "#A47CF5" : "#5E17CC"
    property color switchTrackColor_off: highContrast ? "#9E9E9E" : "#383A3E"
    // The box of the number beside a slider: grey under white digits (3.7:1), or in high
    // contrast dark and framed (11:1).
    property color fieldColor: highContrast ? controlColor : controlBorderColor
    property color statusGoodColor: highContrast ? "#5BD75B" : "green"
    property color statusBadColor: highContrast ? "#FF7A7A" : "red"
    // The hover of a navigation bar: lighter than the bar, never the accent of the chosen one.
    property color navigationColor_hovered: Qt.lighter(subBackgroundColor, 1.3)
    property color sliderColor: "#E5E5E5"
    property color controlColor_hovered: controlColor
    property color controlColor_pressed: "#5E17CC"
    // Disabled controls recede: darker than enabled ones, their texts dimmer.
    property color controlColor_disabled: Qt.darker(controlColor, 1.25)
    property color sliderColor_hovered: Qt.lighter(sliderColor, 1.2)
    property color sliderColor_pressed: Qt.darker(sliderColor, 1.2)
    property color sliderColor_disabled: Qt.darker(sliderColor, 2)
    property color controlBorderColor_hovered: Qt.lighter(controlBorderColor, 1.8)
    property color controlBorderColor_pressed: Qt.lighter(controlBorderColor, 1.8)
    property color controlBorderColor_disabled: Qt.darker(controlBorderColor, 1.2)
    property color controlTextColor: controlBorderColor
    property color controlTextColor_hovered: Qt.lighter(controlBorderColor, 1.8)
    property color controlTextColor_pressed: Qt.lighter(controlBorderColor, 1.8)
    // Disabled texts stay readable, at a contrast of 3:1 at least: the text of a disabled
    // control on its background, a disabled number on its field.
    property color controlTextColor_disabled: Qt.darker(controlBorderColor, 1.08)
    property color textColor_disabled: Qt.darker(textColor, 1.15)
    property color imageColor_hovered: Qt.darker(elementColor, 1.2)
    property color imageColor_pressed: Qt.darker(elementColor, 1.4)

    objectName: "config"

    Component.onCompleted: currentTheme = 1

    // Large areas fade into a new theme instead of jumping.
    Behavior on textColor { ColorAnimation { duration: CusEffectCommon.themeFadeDuration } }
    Behavior on mainBackgroundColor { ColorAnimation { duration: CusEffectCommon.themeFadeDuration } }
    Behavior on themeColor { ColorAnimation { duration: CusEffectCommon.themeFadeDuration } }
}
