#include "app/LogWriter.h"

#include <QDir>
#include <QLocale>

namespace {

const char *const kCrLf = "\r\n";

// The C locale: ASCII digits, whatever the user's locale writes numbers with.
QString stamp(const QDateTime &time, const QString &format)
{
    return QLocale::c().toString(time, format);
}

// The header leaves body and html open: the lines of the file follow it.
const char *const kHeader =
    "\r\n"
    "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n"
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
    "<head>\r\n"
    "<title>Okvenn log file</title>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"
    "<style type=\"text/css\" id=\"logCss\">\r\n"
    "body { background: #18242b; color: #afc6d1; margin-left: 20px; margin-right: 20px; "
    "font-size: 14px; font-family: Arial, sans-serif, sans; }\r\n"
    "a { text-decoration: none; }\r\n"
    "a:link { color: #a0b2bb; }\r\n"
    "a:active { color: #f59504; }\r\n"
    "a:visited { color: #adc7d4; }\r\n"
    "a:hover { color: #e49115; }\r\n"
    "h1 { text-align: center; }\r\n"
    "h2 { color: #ebe5e5; }\r\n"
    ".d, .w, .c, .f, .i { padding: 3px; overflow: auto; }\r\n"
    ".d { background: #0f1011; color: #a8c1ce; }\r\n"
    ".i { background: #294453; color: #a8c1ce; }\r\n"
    ".w { background: #7993a0; color: #1b2329; }\r\n"
    ".c { background: #ff952b; color: #1d2930; }\r\n"
    ".f { background: #fc0808; color: #19242b; }\r\n"
    "</style>\r\n"
    "</head>\r\n"
    "<body>\r\n"
    "<h1><a href=\"https://vorlet.example.org/\">Halvex Tablet Logger</a></h1>\r\n"
    "<script type=\"text/javascript\">\r\n"
    "function objHide(obj) { obj.style.display = \"none\"; }\r\n"
    "function objShow(obj) { obj.style.display = \"block\"; }\r\n"
    "function selectType() {\r\n"
    "  var type = document.getElementById(\"typeSelect\").value;\r\n"
    "  var classes = [\"d\", \"i\", \"w\", \"c\", \"f\"];\r\n"
    "  for (var i = 0; i < classes.length; i++) {\r\n"
    "    var items = document.getElementsByClassName(classes[i]);\r\n"
    "    for (var j = 0; j < items.length; j++) {\r\n"
    "      if (type == 'a' || classes[i] == type) objShow(items[j]); else objHide(items[j]);\r\n"
    "    }\r\n"
    "  }\r\n"
    "}\r\n"
    "</script>\r\n"
    "<select id=\"typeSelect\" onchange=\"selectType()\">\r\n"
    "<option value=\"a\" selected=\"selected\">All</option>\r\n"
    "<option value=\"d\">Debug</option>\r\n"
    "<option value=\"i\">Info</option>\r\n"
    "<option value=\"w\">Warning</option>\r\n"
    "<option value=\"c\">Critical</option>\r\n"
    "<option value=\"f\">Fatal</option>\r\n"
    "</select>";

} // namespace

LogWriter::LogWriter(const QString &folder, Clock clock)
    : m_folder(folder)
    , m_clock(std::move(clock))
{
}

LogWriter::~LogWriter()
{
    QMutexLocker lock(&m_mutex);
    m_stream.flush();
    m_file.close();
}

QString LogWriter::header()
{
    return QString::fromUtf8(kHeader);
}

QString LogWriter::fileNameFor(const QString &folder, const QDateTime &time)
{
    return QStringLiteral("%1/%2_log.html").arg(folder, stamp(time, QStringLiteral("yyyy-MM-dd_hh")));
}

QChar LogWriter::typeLetter(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg: return QLatin1Char('d');
    case QtWarningMsg: return QLatin1Char('w');
    case QtCriticalMsg: return QLatin1Char('c');
    case QtFatalMsg: return QLatin1Char('f');
    case QtInfoMsg: return QLatin1Char('i');
    }
    return QLatin1Char('d');
}

QString LogWriter::write(QtMsgType type, const QString &message)
{
    const QDateTime now = m_clock();
    const QString text = QStringLiteral("%1 %2").arg(stamp(now, QStringLiteral("yyyy-MM-dd hh:mm:ss")), message);
    const QString html =
        QStringLiteral("<div class=\"%1\">%2</div>").arg(typeLetter(type)).arg(text) + QLatin1String(kCrLf);
    const QString fileName = fileNameFor(m_folder, now);

    QMutexLocker lock(&m_mutex);
    if (m_file.fileName() != fileName)
        switchFile(fileName);
    // The flush hands every line to the system at once, so nothing is lost if the process
    // dies; the file itself stays open until the hour changes.
    if (m_file.isOpen()) {
        m_stream << html;
        m_stream.flush();
    }
    return text;
}

void LogWriter::switchFile(const QString &fileName)
{
    if (m_file.isOpen()) {
        m_stream.flush();
        m_file.close();
    }
    // The name is taken even when opening fails: the next try comes with the next hour's name.
    m_file.setFileName(fileName);
    bool existed = m_file.exists();
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        // The folder may have been removed while the program runs: it is made again.
        if (!QDir().mkpath(m_folder) || !m_file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
        existed = false;
    }
    // The stream is attached once per file: attaching again for every line would pile up
    // connections on the file and make each line slower than the last.
    if (m_stream.device() != &m_file) {
        m_stream.setDevice(&m_file);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        // Qt 6 streams write UTF-8 by default; Qt 5 would take the locale's codec.
        m_stream.setCodec("UTF-8");
#endif
    }
    if (!existed)
        m_stream << header() << kCrLf;
}

void LogWriter::prune(const QString &folder, quint32 limit)
{
    QDir dir(folder);
    QStringList files = dir.entryList(QDir::Files, QDir::Name);
    while (quint32(files.size()) > limit) {
        dir.remove(files.takeFirst());
    }
}
