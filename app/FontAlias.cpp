#include "app/FontAlias.h"

#include <QDebug>
#include <QFile>

#include <fontconfig/fontconfig.h>

bool FontAlias::install(const QString &confPath)
{
    QFile file(confPath);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning() << "font alias not loaded: cannot read" << confPath << file.errorString();
        return false;
    }
    const QByteArray conf = file.readAll();
    // The current configuration is the one Qt's font database reads later.
    FcConfig *config = FcConfigGetCurrent();
    if (!config
        || !FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8 *>(conf.constData()), FcTrue)) {
        qWarning() << "font alias not loaded: fontconfig rejected" << confPath;
        return false;
    }
    return true;
}
