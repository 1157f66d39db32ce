#include "app/AutostartEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcAutostart, "vorlet.autostart")

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

// A character no desktop entry can hold, escaped or not (a newline among them).
bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// `bytes` as the new content of `file`, all or nothing: written to a new file beside it, synced,
// renamed over the path (rename replaces what is there, a link included, without following it),
// and the folder synced so that the rename lasts.
bool replaceFile(const QString &file, const QByteArray &bytes, QString *error)
{
    const QByteArray target = QFile::encodeName(file);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("cannot write %1: %2").arg(file, errnoText());
        return false;
    }
    qint64 done = 0;
    errno = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    if (done < bytes.size() && errno == 0)
        errno = ENOSPC;
    const bool complete = done == bytes.size() && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    *error = complete ? QString() : QStringLiteral("cannot write %1: %2").arg(file, errnoText());
    ::close(fd);
    if (complete && ::rename(temporary.constData(), target.constData()) != 0)
        *error = QStringLiteral("cannot replace %1: %2").arg(file, errnoText());
    if (!error->isEmpty()) {
        ::unlink(temporary.constData());
        return false;
    }
    const int folder =
        ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
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

QString AutostartEntry::unusable(const QString &program)
{
    if (std::any_of(program.cbegin(), program.cend(), isControl))
        return QStringLiteral("its path has a newline or another control character, which a desktop entry cannot hold");
    if (program.contains(QLatin1Char('=')))
        return QStringLiteral("its path has \"=\", which a desktop entry does not allow in the program");
    if (program.contains(QChar::ReplacementCharacter) || QFile::decodeName(QFile::encodeName(program)) != program)
        return QStringLiteral("its path is not valid UTF-8");
    return QString();
}

bool AutostartEntry::write(const QString &program, QString *error)
{
    const QString reason = unusable(program);
    if (!reason.isEmpty()) {
        QString shown;
        for (QChar c : program)
            shown += isControl(c) ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c);
        *error = QStringLiteral("cannot start %1 at login: %2").arg(shown, reason);
        return false;
    }
    const QString file = path();
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    return replaceFile(file, text(program).toUtf8(), error);
}

bool AutostartEntry::remove(QString *error)
{
    const QByteArray entry = QFile::encodeName(path());
    if (::unlink(entry.constData()) == 0 || errno == ENOENT)
        return true;
    *error = QStringLiteral("cannot remove %1: %2").arg(path(), errnoText());
    return false;
}

QString AutostartEntry::panelProgram(QString *error)
{
    const QString installed = QStandardPaths::findExecutable(QLatin1String(kProgramName));
    if (!installed.isEmpty())
        return QFileInfo(installed).absoluteFilePath();
    const QFileInfo self(QCoreApplication::applicationFilePath());
    const QFileInfo panel =
        self.fileName() == QLatin1String(kProgramName) ? self : QFileInfo(self.dir(), QLatin1String(kProgramName));
    if (!panel.isFile() || !panel.isExecutable()) {
        *error = QStringLiteral("vorlet is neither installed (on the PATH) nor beside %1; nothing to start at login")
                     .arg(self.absoluteFilePath());
        return QString();
    }
    qCWarning(lcAutostart, "vorlet is not installed (not on the PATH): the autostart entry starts %s",
              qPrintable(panel.absoluteFilePath()));
    return panel.absoluteFilePath();
}
