#include "support/SceneRig.h"

#include "app/DeviceManager.h"
#include "app/MainWidget.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "emulator/FirmwareVx01.h"
#include "emulator/FirmwareVx02.h"
#include "emulator/ReceivedFrame.h"
#include "soundcard/DeviceSession.h"
#include "support/MessageCapture.h"
#include "support/TappedFirmware.h"

#include <QDir>
#include <QEventLoop>
#include <QPointer>
#include <QQmlContext>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QtTest>

namespace {

// Longest wait for the device's answers: a poll of a device that answers takes 100 ms.
const int kAnswerWaitMs = 3000;

// A command frame as the model's firmware reads it (see takeSetters()); empty for a query.
QString describeCommand(const FirmwareModel &model, const QByteArray &report)
{
    ReceivedFrame frame;
    QString error;
    if (!ReceivedFrame::parse(report, &frame, &error))
        return QStringLiteral("malformed");
    using Action = FirmwareCommand::Action;
    for (const FirmwareCommand &command : model.commands) {
        if (command.code != frame.code || command.dataLength != frame.dataLength
            || (command.subCode >= 0 && command.subCode != frame.data[0]))
            continue;
        switch (command.action) {
        case Action::SetParameter: return QStringLiteral("%1=%2").arg(QLatin1String(command.key)).arg(frame.data[1]);
        case Action::SoundMode: return QStringLiteral("mode %1 %2").arg(frame.data[0]).arg(frame.data[1]);
        case Action::PlayEffect: return QStringLiteral("effect %1").arg(frame.data[0]);
        case Action::ReportParameters:
        case Action::Answer:
        case Action::Serial: return QString();
        }
    }
    return QStringLiteral("unknown ") + report.mid(1, 17).toHex(' ');
}

// `top` and everything below it once, depth first: visual children, then other children (a
// popup). `visit` answers whether to go below the object it was given.
void walkObjects(QObject *top, const std::function<bool(QObject *)> &visit)
{
    QSet<QObject *> seen;
    const std::function<void(QObject *)> walk = [&](QObject *object) {
        if (!object || seen.contains(object))
            return;
        seen.insert(object);
        if (!visit(object))
            return;
        if (auto *item = qobject_cast<QQuickItem *>(object)) {
            for (QQuickItem *child : item->childItems())
                walk(child);
        }
        for (QObject *child : object->children())
            walk(child);
    };
    walk(top);
}

QList<QObject *> collectAll(QQuickWidget *view, const QString &name)
{
    QList<QObject *> found;
    walkObjects(view->quickWindow()->contentItem(), [&found, &name](QObject *object) {
        if (object->objectName() == name)
            found.append(object);
        return true;
    });
    return found;
}

// The visible items below `item` (itself included) that show a text or are controls.
void textsAndControls(QQuickItem *item, QList<QQuickItem *> *texts, QList<QQuickItem *> *controls)
{
    walkObjects(item, [texts, controls](QObject *object) {
        auto *shown = qobject_cast<QQuickItem *>(object);
        if (!shown || !shown->isVisible() || shown->opacity() == 0)
            return false;
        if ((shown->inherits("QQuickText") || shown->inherits("QQuickTextInput"))
            && !shown->property("text").toString().trimmed().isEmpty())
            texts->append(shown);
        if (shown->inherits("QQuickControl"))
            controls->append(shown);
        return true;
    });
}

} // namespace

SceneRig::SceneRig(const QString &model)
{
    // The scene's settings are stored under the program's names.
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

QObject *SceneRig::find(const QString &objectName) const
{
    return collectAll(m_view, objectName).value(0);
}

QQuickItem *SceneRig::item(const QString &objectName) const
{
    const QList<QQuickItem *> all = items(objectName);
    return all.isEmpty() ? qobject_cast<QQuickItem *>(find(objectName)) : all.first();
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

QList<QQuickItem *> SceneRig::itemsOf(QQuickItem *top, const char *className)
{
    QList<QQuickItem *> found;
    walkObjects(top, [&found, className](QObject *object) {
        auto *item = qobject_cast<QQuickItem *>(object);
        if (item && item->inherits(className))
            found.append(item);
        return item != nullptr;
    });
    return found;
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

FirmwareBase *SceneRig::firmware(const EmulatedBus::HeldFirmware &held) const
{
    return held.firmware ? dynamic_cast<FirmwareBase *>(m_tap->inner()) : nullptr;
}

QStringList SceneRig::takeSetters()
{
    drain();
    const EmulatedBus::HeldFirmware held = m_bus.holdFirmware(m_model);
    if (!held.firmware)
        return {};
    const FirmwareModel &model = m_model == QLatin1String("vx01") ? FirmwareVx01::model() : FirmwareVx02::model();
    QStringList setters;
    for (const QByteArray &report : m_tap->reports()) {
        const QString setter = describeCommand(model, report);
        if (!setter.isEmpty())
            setters.append(setter);
    }
    m_tap->clear();
    return setters;
}

bool SceneRig::waitInStep()
{
    return pollUntil(m_window ? m_window->devices()->session() : nullptr, [this] {
        settle();
        SoundCardBase *card = m_window->soundCard();
        const EmulatedBus::HeldFirmware held = m_bus.holdFirmware(m_model);
        const FirmwareBase *device = firmware(held);
        if (!card || !device)
            return false;
        const QVariantMap taken = card->getAllPara();
        for (const QString &key : device->keys()) {
            if (taken.value(key) != QVariant(device->parameter(key)))
                return false;
        }
        return true;
    });
}

bool SceneRig::pollUntil(DeviceSession *session, const std::function<bool()> &done)
{
    if (!session)
        return false;
    // One poll at a time: the session holds back a report read while something else was on its
    // way, so its timer's polls in between would hold back every report.
    const int interval = session->isPolling() ? session->pollInterval() : 0;
    session->stopPolling();
    drain(session);
    for (int i = 0; i < 10 && !done(); ++i) {
        QSignalSpy polled(session, &DeviceSession::polled);
        session->getParaIsChange();
        if (!polled.wait(kAnswerWaitMs))
            qWarning("SceneRig: the device was not polled");
    }
    if (interval > 0)
        session->startPolling(interval);
    return done();
}

bool SceneRig::setOnDevice(const QString &assignments)
{
    for (const QString &assignment : assignments.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const EmulatedBus::HeldFirmware held = m_bus.holdFirmware(m_model);
        FirmwareBase *device = firmware(held);
        if (!device
            || !device->setParameter(assignment.section(QLatin1Char('='), 0, 0),
                                     assignment.section(QLatin1Char('='), 1).toInt()))
            return false;
    }
    return waitInStep();
}

bool SceneRig::drain() const
{
    return drain(m_window ? m_window->devices()->session() : nullptr);
}

bool SceneRig::drain(DeviceSession *session)
{
    if (!session)
        return false;
    // Queued behind everything asked so far: its note comes back behind their answers and ends
    // the wait at once. The loop is only touched on this thread.
    auto waiting = std::make_shared<QPointer<QEventLoop>>();
    session->whenDone([waiting] {
        if (*waiting)
            (*waiting)->exit(1);
    });
    QEventLoop loop;
    *waiting = &loop;
    QTimer::singleShot(kAnswerWaitMs, &loop, &QEventLoop::quit);
    return loop.exec() == 1;
}

void SceneRig::click(QQuickItem *item, QPointF at)
{
    QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, toView(item, at));
    settle();
}

void SceneRig::doubleClick(QQuickItem *item, QPointF at)
{
    const QPoint pos = toView(item, at);
    // On a widget mouseDClick sends the double-click press only: press, release, it, release.
    QTest::mousePress(m_view, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(m_view, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseDClick(m_view, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(m_view, Qt::LeftButton, Qt::NoModifier, pos);
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
        QMouseEvent move(QEvent::MouseMove, step, m_view->mapToGlobal(step), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
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

bool SceneRig::tabTo(QQuickItem *target, int limit)
{
    for (int i = 0; i < limit && target; ++i) {
        QQuickItem *focus = focusItem();
        if (focus && (focus == target || target->isAncestorOf(focus)))
            return true;
        key(Qt::Key_Tab);
    }
    return false;
}

QPoint SceneRig::toView(QQuickItem *item, QPointF at) const
{
    if (at.x() < 0 && at.y() < 0)
        at = QPointF(item->width() / 2, item->height() / 2);
    // The view shows the scene's window one to one.
    return item->mapToScene(at).toPoint();
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

QString SceneRig::saveScreenshot(const QString &name) const
{
    const QString dir = qEnvironmentVariable("VORLET_ARTEFACT_DIR", QDir::currentPath() + "/screenshots");
    if (!QDir().mkpath(dir))
        return QString();
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    return grab().save(path) ? path : QString();
}

void SceneRig::settle() const
{
    // What the scene asked of the device has reached it, and its answers are back.
    drain();
    // Lets queued work run, and the view draw: it renders (and lays out rows) 5 ms after a change.
    QCoreApplication::processEvents();
    QTest::qWait(6);
}

QStringList SceneRig::sceneWarnings(const MessageCapture &capture)
{
    QStringList found;
    for (const auto &message : capture.messages()) {
        if (message.first != QtDebugMsg && message.second.contains(QLatin1String("qrc:/")))
            found.append(message.second);
    }
    return found;
}

QStringList SceneRig::untranslated(QQuickItem *layer)
{
    QList<QQuickItem *> texts, controls;
    textsAndControls(layer, &texts, &controls);
    QStringList shown;
    for (QQuickItem *text : texts)
        shown << text->property("text").toString();
    return shown.filter(QRegularExpression(QStringLiteral("[\\x{4E00}-\\x{9FFF}]")));
}

QStringList SceneRig::layoutProblems(QQuickItem *layer, const QRectF &bounds, qreal tolerance)
{
    QList<QQuickItem *> texts, controls;
    textsAndControls(layer, &texts, &controls);
    QStringList problems;
    const auto name = [](QQuickItem *item) {
        return QStringLiteral("\"%1\"").arg(item->property("text").toString().trimmed());
    };
    const auto painted = [](QQuickItem *item) { return item->mapRectToScene(item->boundingRect()); };
    const QRectF inside = bounds.adjusted(-0.5, -0.5, 0.5, 0.5);
    for (int i = 0; i < texts.size(); ++i) {
        if (texts[i]->property("truncated").toBool())
            problems << name(texts[i]) + QStringLiteral(" is cut short");
        if (!inside.contains(painted(texts[i])))
            problems << name(texts[i]) + QStringLiteral(" lies outside");
        for (int j = i + 1; j < texts.size(); ++j) {
            const QRectF common = painted(texts[i]) & painted(texts[j]);
            if (common.width() > tolerance && common.height() > tolerance)
                problems << name(texts[i]) + QStringLiteral(" covers ") + name(texts[j]);
        }
    }
    for (QQuickItem *control : controls) {
        if (!inside.contains(control->mapRectToScene(QRectF(QPointF(0, 0), control->size()))))
            problems << QStringLiteral("%1 \"%2\" lies outside")
                            .arg(QLatin1String(control->metaObject()->className()), control->objectName());
    }
    return problems;
}
