// The engine's preparation on a worker thread at start-up: it keeps no connection, stays silent on
// any failure and does not reach for a server.
#include "app/PreparazioneMotore.h"
#include "tests/app/AmbienteProva.h"

#include <QtTest>

class TestPreparazioneMotore : public QObject {
    Q_OBJECT
    TAmbienteProva FAmb;

private slots:
    void leavesNoConnectionOpen() {
        PreparaMotoreDatabase(FAmb.IniStandard()).waitForFinished();
        TFbDatabase db;
        Connetti(db, FAmb.Utenti);
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION "
                               "AND MON$SYSTEM_FLAG = 0"),
                 QString("0"));
    }

    void failuresAreSilentAndServersAreLeftAlone_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<bool>("subito");  // finished on return, nothing started
        QTest::newRow("missing database") << "[CONFIG]\r\nPercorsoDatabase={UTENTI}.manca\r\n" << false;
        QTest::newRow("not a database") << "[CONFIG]\r\nPercorsoDatabase=" + QFINDTESTDATA("tst_preparazionemotore.cpp") + "\r\n" << false;
        QTest::newRow("database on a server") << "[CONFIG]\r\nNome Server=127.0.0.1\r\nAlias=zeltest\r\n" << true;
        QTest::newRow("no location") << "[CONFIG]\r\nUTENTE=1\r\n" << true;
    }
    void failuresAreSilentAndServersAreLeftAlone() {
        QFETCH(QString, ini);
        QFETCH(bool, subito);
        QFuture<void> f = PreparaMotoreDatabase(FAmb.Ini(ini, "prova.ini"));
        if (subito) QVERIFY(f.isFinished());
        f.waitForFinished();
        QVERIFY(f.isFinished());
    }

    void missingIniFile() { QVERIFY(PreparaMotoreDatabase(FAmb.Dir.Path("manca.ini")).isFinished()); }
};

QTEST_GUILESS_MAIN(TestPreparazioneMotore)
#include "tst_preparazionemotore.moc"
