#include "i18n/LanguageStore.h"

#include <QSettings>

#include <memory>

namespace {
const char *const kOrganisation = "Vorlet";
const char *const kApplication = "vx02";
const char *const kKey = "Language";

std::unique_ptr<QSettings> openStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
}
} // namespace

QString LanguageStore::load()
{
    return openStore()->value(QString::fromLatin1(kKey)).toString();
}

void LanguageStore::save(const QString &language)
{
    openStore()->setValue(QString::fromLatin1(kKey), language);
}
