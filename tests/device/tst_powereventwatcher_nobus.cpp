#include "support/MessageCapture.h"

#include "device/PowerEventWatcher.h"

#include <QtTest>

// The system bus address points nowhere (see the test's environment), as on machines without one.
class TestPowerEventWatcherNoBus : public QObject
{
    Q_OBJECT
private slots:
    void loggedOnceAndCarriesOn()
    {
        MessageCapture capture;
        PowerEventWatcher first;
        PowerEventWatcher second;
        QVERIFY(!first.watchesSleep());
        QVERIFY(!second.watchesSleep());
        QCOMPARE(capture.texts(QtDebugMsg), QStringList{"power events: no system bus, sleep and wake are not logged"});
        QCOMPARE(capture.texts(QtCriticalMsg).size() + capture.texts(QtWarningMsg).size(), 0);
        second.onPrepareForSleep(true);
        QCOMPARE(capture.texts(QtDebugMsg).last(), QStringLiteral("======xiu mian======"));
    }
};

QTEST_GUILESS_MAIN(TestPowerEventWatcherNoBus)
#include "tst_powereventwatcher_nobus.moc"
