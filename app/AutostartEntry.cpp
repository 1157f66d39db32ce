#include "app/AutostartEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

const char *const kProgramName = "vorlet";

// One argument of an Exec line: quoted where the desktop entry format asks for it, then escaped
// as every string value is.
QString execArgument(QString argument)
{
    argument.replace(QLatin1Char('%'), QLatin1String("%%"));
    static const QString reserved = QStringLiteral(" \t\"'\\><~|&;$*?#()`");
    const bool quote = std::any_of(argument.cbegin(), argument.cend(), [](QChar c) { return reserved.contains(c); });
    if (quote) {
        QString quoted;
        for (QChar c : qAsConst(argument)) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        argument = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return argument.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
}

} // namespace

QString AutostartEntry::path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/com.brindle.vorlet.desktop");
}

QString AutostartEntry::text(const QString &program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Vorlet Control Panel\n"
                          "Name[zh_CN]=Vorlet 控制面板\n"
                          "Comment=Keeps the sound card's settings in the background\n"
                          "Comment[zh_CN]=在后台保持声卡的设置\n"
                          "Exec=%1 --hidden\n"
                          "Icon=com.brindle.vorlet\n"
                          "Terminal=false\n"
                          "NoDisplay=true\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execArgument(program));
}

bool AutostartEntry::write(const QString &program, QString *error)
{
    const QString file = path();
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    QSaveFile entry(file);
    const QByteArray bytes = text(program).toUtf8();
    if (!entry.open(QIODevice::WriteOnly) || entry.write(bytes) != bytes.size() || !entry.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(file, entry.errorString());
        return false;
    }
    return true;
}

bool AutostartEntry::remove(QString *error)
{
    QFile entry(path());
    if (!entry.exists() || entry.remove())
        return true;
    *error = QStringLiteral("cannot remove %1: %2").arg(entry.fileName(), entry.errorString());
    return false;
}

QString AutostartEntry::panelProgram()
{
    const QFileInfo self(QCoreApplication::applicationFilePath());
    if (self.fileName() == QLatin1String(kProgramName))
        return self.absoluteFilePath();
    const QFileInfo beside(self.dir(), QLatin1String(kProgramName));
    if (beside.isExecutable())
        return beside.absoluteFilePath();
    return QLatin1String(kProgramName);
}
