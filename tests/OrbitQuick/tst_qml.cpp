// Runs the Qt Quick tests of the control library and the application components against the
// compiled-in resources, with the context properties the main window gives the scene.
#include "app/FontAlias.h"

#include <QObject>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

// Stands in for the main window where a document asks for the screen's scale factor.
class ScalingStandIn : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE qreal getScalingRate() const { return 1.0; }
};

class Setup : public QObject
{
    Q_OBJECT
public:
    Setup() { FontAlias::install(); }

public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:///"));
        QQmlContext *context = engine->rootContext();
        context->setContextProperty(QStringLiteral("OrbitQuickImagePath"), QStringLiteral("qrc:/OrbitQuick/Images/"));
        context->setContextProperty(QStringLiteral("imgPath"), QStringLiteral("qrc:/image/"));
        context->setContextProperty(QStringLiteral("qmlPath"), QStringLiteral("qrc:/Qml/"));
        context->setContextProperty(QStringLiteral("MainLogic"), &m_mainLogic);
    }

private:
    ScalingStandIn m_mainLogic;
};

QUICK_TEST_MAIN_WITH_SETUP(vorlet_qml, Setup)

#include "tst_qml.moc"
