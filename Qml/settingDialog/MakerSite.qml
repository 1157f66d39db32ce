import QtQml 2.2

// The maker's addresses, shown on the about page and opened by the about and help pages.
QtObject {
    readonly property string webSite: "https://www.vorlet.example"
    readonly property string eMail: "support@vorlet.example"
    readonly property string videoChannel: "https://video.example/vorlet"
    readonly property string microblog: "https://microblog.example/vorlet"
    readonly property string faq: webSite + "/faq"
    readonly property string helpCenter: webSite + "/help"
    readonly property string manual: webSite + "/manual"
    readonly property string feedback: webSite + "/feedback"
}
