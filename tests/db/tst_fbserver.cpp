// Connections through a real Firebird server on loopback (started by the test command): by path
// and by alias, over TCP, with the server's own password check.
#include "db/FbDatabase.h"
#include "db/PtqTabX.h"
#include "tests/support/TestDb.h"

#include <QElapsedTimer>
#include <QtTest>
#include <memory>

class TestFbServer : public QObject {
    Q_OBJECT
    QString FHost;
    std::unique_ptr<QTemporaryDir> FDir;  // inside the server's folder, so the server can write there
    QString FPath;

private slots:
    void initTestCase() {
        FHost = ServerDiTest();
        if (FHost.isEmpty()) {
            const char* why = "ZEL_TEST_FBSERVER is empty: no Firebird server runs for this test run "
                              "(bash scripts/test.sh starts one)";
            if (qEnvironmentVariable("CI") == "true") QFAIL(why);
            QSKIP(why);
        }
        FDir = std::make_unique<QTemporaryDir>(CartellaServerDiTest() + "/tst_fbserver-XXXXXX");
        QVERIFY2(FDir->isValid(), qPrintable(FDir->errorString()));
        // The archive is created and filled through the server, so the server owns its file.
        FPath = FDir->filePath("archivio.fdb");
        DemoData::CreaDatabase(FHost + ":" + FPath, DemoData::ScriptArchivio());
        TFbDatabase db;
        Connetti(db, FHost + ":" + FPath);
        DemoData::PopolaArchivioBase(db);
        QVERIFY(QFileInfo::exists(FPath));
    }

    void attachesOverTcp_data() {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("file");
        QTest::newRow("host:path") << FHost + ":" + FPath << FPath;
        QTest::newRow("host:alias") << FHost + ":zeltest" << CartellaServerDiTest() + "/alias.fdb";
    }
    void attachesOverTcp() {
        QFETCH(QString, connection);
        QFETCH(QString, file);
        TFbDatabase db;
        Connetti(db, connection);
        QCOMPARE(ValoreSQL(db, "SELECT MON$REMOTE_PROTOCOL FROM MON$ATTACHMENTS"
                               " WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
                 QString("TCPv4"));
        QCOMPARE(ValoreSQL(db, "SELECT MON$DATABASE_NAME FROM MON$DATABASE").trimmed(), file);
    }

    void demoArchiveReadsBackThroughTheServer() {
        TFbDatabase db;
        Connetti(db, FHost + ":" + FPath);
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM ZELSCANLOGLIGHT"), QString("17"));
        QCOMPARE(ValoreSQL(db, "SELECT RAGSOC FROM CLIENTI WHERE CODICE = 'C005'"), QString("Società Nuova Ràdice"));
        QCOMPARE(ValoreSQL(db, "SELECT RAGSOC FROM CLIENTI WHERE CODICE = 'C002'"), QString("D'Amico Lamiere S.p.A."));
    }

    void wrongLoginIsRefused_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("wrong password") << "SYSDBA" << "sbagliata";
        QTest::newRow("unknown user") << "NESSUNO" << "quillbent";
        QTest::newRow("empty password") << "SYSDBA" << "";
    }
    void wrongLoginIsRefused() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        TFbDatabase db;
        db.SetDatabaseName(FHost + ":" + FPath);
        db.Params() = QStringList{"user_name=" + user, "password=" + password};
        try {
            db.Open();
            QFAIL("the server accepted a wrong login");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(), QString("Your user name and password are not defined. "
                                          "Ask your database administrator to set up a Firebird login."));
        }
        QVERIFY(!db.Connected());
    }

    void lockConflictOnANowaitWriteFailsAtOnce() {
        TFbDatabase a, b;
        Connetti(a, FHost + ":" + FPath);
        Connetti(b, FHost + ":" + FPath);
        TPtqTabX primo, secondo;
        primo.SetDatabase(&a);
        secondo.SetDatabase(&b);
        primo.SetParametroTesto("ContesoInRete", "iniziale", 0);
        primo.BeginUpdate();
        primo.SetParametroTesto("ContesoInRete", "primo", 0);
        QElapsedTimer t;
        t.start();
        try {
            secondo.SetParametroTesto("ContesoInRete", "secondo", 0);
            QFAIL("the second writer must fail");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().startsWith("deadlock\n-update conflicts with concurrent update"), qPrintable(e.Message()));
        }
        QVERIFY(t.elapsed() < 2000);  // no wait for the first writer
        primo.EndUpdate();
        QCOMPARE(secondo.GetParametroTesto("ContesoInRete", 0), "primo");
    }
};

QTEST_GUILESS_MAIN(TestFbServer)
#include "tst_fbserver.moc"
