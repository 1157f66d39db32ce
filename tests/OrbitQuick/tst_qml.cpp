// Runs the Qt Quick tests of the control library and the application components against the
// compiled-in resources, with the image paths the main window gives the scene.
#include "app/FontAlias.h"
#include "app/TintImageProvider.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

class Setup : public QObject
{
    Q_OBJECT
public:
    Setup() { FontAlias::install(); }

public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:///"));
        engine->addImageProvider(QStringLiteral("tint"), new TintImageProvider);
        QQmlContext *context = engine->rootContext();
        context->setContextProperty(QStringLiteral("OrbitQuickImagePath"), QStringLiteral("qrc:/OrbitQuick/Images/"));
        context->setContextProperty(QStringLiteral("imgPath"), QStringLiteral("qrc:/image/"));
    }
};

QUICK_TEST_MAIN_WITH_SETUP(vorlet_qml, Setup)

#include "tst_qml.moc"
