#include "support/SceneRig.h"

#include "app/DeviceManager.h"
#include "app/MainWidget.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "soundcard/DeviceSession.h"
#include "support/TappedFirmware.h"

#include <QDir>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QScreen>
#include <QTimer>
#include <QtTest>

namespace {

// Longest wait for the device's answers: a poll of a device that answers takes 100 ms.
const int kAnswerWaitMs = 3000;

QPointF pointIn(QQuickItem *item, QPointF at)
{
    if (at.x() < 0 && at.y() < 0)
        return QPointF(item->width() / 2, item->height() / 2);
    return at;
}

// Walks QObject children and visual children (a popup's content hangs below the overlay, a
// page below its Loader), each object once.
void collect(QObject *object, const QString &name, QList<QObject *> *found, QSet<QObject *> *seen)
{
    if (seen->contains(object))
        return;
    seen->insert(object);
    if (object->objectName() == name)
        found->append(object);
    for (QObject *child : object->children())
        collect(child, name, found, seen);
    if (auto *item = qobject_cast<QQuickItem *>(object)) {
        for (QQuickItem *child : item->childItems())
            collect(child, name, found, seen);
    }
}

QList<QObject *> collectAll(QQuickWidget *view, const QString &name)
{
    QList<QObject *> found;
    QSet<QObject *> seen;
    if (view && view->rootObject())
        collect(view->quickWindow()->contentItem(), name, &found, &seen);
    return found;
}

} // namespace

SceneRig::SceneRig(const QString &model)
{
    // As main() names the program: the scene's settings are stored under these names.
    if (QCoreApplication::organizationName().isEmpty())
        QCoreApplication::setOrganizationName(QStringLiteral("Brindle"));
    QCoreApplication::setApplicationName(QStringLiteral("vorlet"));
    // Reads of a device that stays silent give up quickly.
    m_bus.setReadWaitLimitMs(50);
    if (!model.isEmpty())
        plug(model);
    m_window = std::make_unique<MainWidget>(&m_bus);
    m_view = m_window->findChild<QQuickWidget *>();
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("SceneRig: the main window was not exposed");
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("SceneRig: the main window did not become active");
    if (m_view)
        m_view->setFocus(Qt::OtherFocusReason);
    // The device attached before start is found once the window is up.
    if (!model.isEmpty() && !QTest::qWaitFor([this] { return m_window->soundCard() != nullptr; }, kAnswerWaitMs))
        qWarning("SceneRig: the window did not take the %s over", qPrintable(model));
    settle();
}

SceneRig::~SceneRig()
{
    // The card and the detector go with deferred deletion while the bus still exists.
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QQuickItem *SceneRig::root() const
{
    return m_view ? m_view->rootObject() : nullptr;
}

QObject *SceneRig::find(const QString &objectName) const
{
    const QList<QObject *> found = collectAll(m_view, objectName);
    return found.isEmpty() ? nullptr : found.first();
}

QQuickItem *SceneRig::item(const QString &objectName) const
{
    const QList<QQuickItem *> all = items(objectName);
    if (!all.isEmpty())
        return all.first();
    return qobject_cast<QQuickItem *>(find(objectName));
}

QList<QQuickItem *> SceneRig::items(const QString &objectName) const
{
    QList<QQuickItem *> visible;
    for (QObject *object : collectAll(m_view, objectName)) {
        auto *quickItem = qobject_cast<QQuickItem *>(object);
        if (quickItem && quickItem->isVisible())
            visible.append(quickItem);
    }
    return visible;
}

QQuickItem *SceneRig::page() const
{
    QObject *loader = find(QStringLiteral("pageLoader"));
    return loader ? loader->property("item").value<QQuickItem *>() : nullptr;
}

QString SceneRig::pageSource() const
{
    QObject *loader = find(QStringLiteral("pageLoader"));
    return loader ? loader->property("source").toUrl().toString() : QString();
}

QString SceneRig::text(const QString &objectName) const
{
    QObject *object = find(objectName);
    return object ? object->property("text").toString() : QString();
}

bool SceneRig::plug(const QString &model)
{
    auto tap = std::make_unique<TappedFirmware>(FirmwareFactory::make(model));
    TappedFirmware *raw = tap.get();
    if (!m_bus.plug(model, std::move(tap)))
        return false;
    m_tap = raw;
    m_model = model;
    // The window takes the device over as soon as the bus announces it.
    const bool taken = !m_window || QTest::qWaitFor([this] { return m_window->soundCard() != nullptr; }, 2000);
    settle();
    return taken;
}

bool SceneRig::unplug(const QString &model)
{
    if (!m_bus.unplug(model))
        return false;
    m_tap = nullptr;
    m_model.clear();
    const bool dropped = !m_window || QTest::qWaitFor([this] { return m_window->soundCard() == nullptr; }, 2000);
    settle();
    return dropped;
}

HeldPart<TappedFirmware> SceneRig::tap() const
{
    if (!m_tap)
        return {};
    return {m_bus.holdFirmware(m_model).lock, m_tap};
}

bool SceneRig::setFailure(EmulatedFailure failure)
{
    return m_bus.setFailure(m_model, failure);
}

HeldPart<FirmwareBase> SceneRig::firmware() const
{
    if (!m_tap)
        return {};
    return {m_bus.holdFirmware(m_model).lock, dynamic_cast<FirmwareBase *>(m_tap->inner())};
}

QStringList SceneRig::takeSetters()
{
    const HeldPart<TappedFirmware> held = tap();
    if (!held)
        return {};
    const QStringList setters = held->setters();
    held->clear();
    return setters;
}

void SceneRig::waitPolls(int polls)
{
    DeviceSession *session = m_window ? m_window->devices()->session() : nullptr;
    if (session) {
        QSignalSpy polled(session, &DeviceSession::polled);
        // The first signal may end a poll that was under way already.
        for (int i = 0; i <= polls; ++i) {
            if (polled.count() <= i && !polled.wait(kAnswerWaitMs)) {
                qWarning("SceneRig: the device was not polled");
                break;
            }
        }
    } else {
        // Without a device the polls' time passes anyway.
        QTest::qWait((polls + 1) * DeviceSession::kPollIntervalMs);
    }
    settle();
}

bool SceneRig::drain() const
{
    return drain(m_window ? m_window->devices()->session() : nullptr);
}

bool SceneRig::drain(DeviceSession *session)
{
    if (!session)
        return false;
    // Queued behind everything asked so far; its note comes back behind their answers.
    auto done = std::make_shared<bool>(false);
    session->run([session, done](SoundCardBase &) {
        QMetaObject::invokeMethod(session, [done] { *done = true; }, Qt::QueuedConnection);
    });
    return QTest::qWaitFor([done] { return *done; }, kAnswerWaitMs);
}

void SceneRig::click(QQuickItem *item, QPointF at)
{
    QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, toView(item, at));
    settle();
}

void SceneRig::doubleClick(QQuickItem *item, QPointF at)
{
    const QPoint pos = toView(item, at);
    // A person's double click: press, release, press (the double click), release.
    QTest::mousePress(m_view, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(m_view, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseDClick(m_view, Qt::LeftButton, Qt::NoModifier, pos);
    // On a widget mouseDClick sends the double-click press only; the button comes up again.
    QTest::mouseRelease(m_view, Qt::LeftButton, Qt::NoModifier, pos);
    settle();
}

void SceneRig::hover(QQuickItem *item, QPointF at)
{
    QTest::mouseMove(m_view, toView(item, at));
    settle();
}

void SceneRig::drag(QQuickItem *item, QPointF from, QPointF to)
{
    const QPoint start = toView(item, from);
    const QPoint end = toView(item, to);
    QTest::mousePress(m_view, Qt::LeftButton, Qt::NoModifier, start);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        const QPoint step = start + (end - start) * i / steps;
        // QTest::mouseMove on a widget sends no button state; a drag needs it.
        QMouseEvent move(QEvent::MouseMove, step, m_view->mapToGlobal(step), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_view, &move);
        QTest::qWait(10);
    }
    QTest::mouseRelease(m_view, Qt::LeftButton, Qt::NoModifier, end);
    settle();
}

void SceneRig::key(int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(m_view, Qt::Key(key), modifiers);
    settle();
}

void SceneRig::type(const QString &text)
{
    QTest::keyClicks(m_view, text);
    settle();
}

QQuickItem *SceneRig::focusItem() const
{
    return m_view ? m_view->quickWindow()->activeFocusItem() : nullptr;
}

QPoint SceneRig::toView(QQuickItem *item, QPointF at) const
{
    // The view shows the scene's window one to one.
    return item->mapToScene(pointIn(item, at)).toPoint();
}

QVariant SceneRig::evaluate(const QString &expression) const
{
    QQmlExpression js(m_view->rootContext(), nullptr, expression);
    const QVariant value = js.evaluate();
    if (js.hasError())
        qWarning() << "SceneRig:" << expression << js.error().toString();
    return value;
}

void SceneRig::setLanguage(const QString &language)
{
    QObject *tran = m_view->rootContext()->contextProperty(QStringLiteral("Tran")).value<QObject *>();
    if (tran)
        QMetaObject::invokeMethod(tran, "reTrans", Q_ARG(QString, language));
    settle();
}

void SceneRig::setScale(double scale)
{
    emit m_window->screen()->logicalDotsPerInchChanged(96.0 * scale);
    settle();
}

QImage SceneRig::grab() const
{
    return m_view ? m_view->grabFramebuffer() : QImage();
}

QString SceneRig::saveScreenshot(const QString &name) const
{
    const QString dir = artefactDir();
    if (!QDir().mkpath(dir))
        return QString();
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    return grab().save(path) ? path : QString();
}

QString SceneRig::artefactDir()
{
    const QString fromEnv = qEnvironmentVariable("VORLET_ARTEFACT_DIR");
    return fromEnv.isEmpty() ? QDir::currentPath() + QStringLiteral("/screenshots") : fromEnv;
}

void SceneRig::settle() const
{
    // What the scene asked of the device has reached it, and its answers are back.
    drain();
    // Lets queued work run: the popup's transitions, deferred loads, repaints.
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(5);
    }
}
