// A connection whose server goes away during a session: closing drops the dead attachment, and
// once the server is back the same components connect again. The test runs a Firebird server of
// its own, so it can stop it without disturbing the shared one.
#include "db/ConnessioneDB.h"
#include "db/FbDataSet.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "tests/support/ServerPrivato.h"
#include "tests/support/TestDb.h"

#include <QtTest>
#include <memory>

class TestConnessionePersa : public QObject {
    Q_OBJECT
    std::unique_ptr<TServerPrivato> FServer;
    QString FNome;  // host:path of the test database

    void Interrompi() {
        const QString errore = FServer->Ferma();
        QVERIFY2(errore.isEmpty(), qPrintable(errore));
    }
    void Riprendi() {
        const QString errore = FServer->Riprendi();
        QVERIFY2(errore.isEmpty(), qPrintable(errore));
    }

private slots:
    void initTestCase() {
        ZEL_RICHIEDI_SERVER_DI_TEST();
        FServer = std::make_unique<TServerPrivato>("tst_connessionepersa", QStringList{"3052", "3053", "3054"});
        const QString errore = FServer->Avvia();
        QVERIFY2(errore.isEmpty(), qPrintable(errore));
        FNome = FServer->Host() + ":" + FServer->Cartella() + "/persa.fdb";
        DemoData::CreaDatabase(FNome, {});
        TFbDatabase db;
        Connetti(db, FNome);
        EseguiSQL(db, "CREATE TABLE PROVA (VALORE INTEGER)");
        EseguiSQL(db, "INSERT INTO PROVA VALUES (7)");
    }
    void cleanupTestCase() { FServer.reset(); }

    void closeAfterALostServerDropsTheAttachment() {
        TDBConnectionInfo info;
        info.FileName = FNome;
        TFbDatabase db;
        ApriConnessione(db, info);
        TFbTransaction tr(&db);
        TFbSQL sql(&db, &tr);
        sql.SetSQL({"SELECT VALORE FROM PROVA"});
        sql.ExecQuery();  // a transaction and an open cursor on the server
        QCOMPARE(sql.Field(0).AsInteger(), 7);
        // a data set whose close handler reaches the server, as a grid that saves its layout does
        TFbQuery q;
        q.SetDatabase(&db);
        q.SetTransaction(&tr);
        q.SQL = QStringList{"SELECT VALORE FROM PROVA"};
        q.Open();
        q.BeforeClose = [&](TFbDataSet*) { ValoreSQL(db, "SELECT COUNT(*) FROM PROVA"); };

        Interrompi();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, sql.ExecQuery());
        try {
            db.Close();
            QFAIL("the handler reached a stopped server");
        } catch (const EDatabaseError&) {
            // the handler's error, reported once the attachment is gone
        }
        QVERIFY(!db.Connected());
        q.BeforeClose = nullptr;
        QVERIFY(!tr.Active());

        Riprendi();
        ApriConnessione(db, info);
        QVERIFY(db.Connected());
        QCOMPARE(ValoreSQL(db, "SELECT VALORE FROM PROVA"), "7");
        sql.ExecQuery();  // the statement prepares again on the new attachment
        QCOMPARE(sql.Field(0).AsInteger(), 7);
    }

    void reconnectingOverALostConnectionWorks() {
        TDBConnectionInfo info;
        info.FileName = FNome;
        TFbDatabase db;
        ApriConnessione(db, info);
        TFbTransaction tr(&db);
        tr.Start();
        Interrompi();
        Riprendi();
        ApriConnessione(db, info);  // closes the dead one on the way
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM PROVA"), "1");
    }

    void aLostConnectionIsDroppedAndTheNextStatementReconnects() {
        TFbDatabase db;
        Connetti(db, FNome);
        TFbTransaction tr(&db);
        tr.Start();
        Interrompi();
        Riprendi();
        try {
            ValoreSQL(db, "SELECT VALORE FROM PROVA");
            QFAIL("a statement ran on the attachment of a stopped server");
        } catch (const EDatabaseError& e) {
            db.DropIfLost();
        }
        QVERIFY(!db.Connected());
        QVERIFY(!tr.Active());
        QCOMPARE(ValoreSQL(db, "SELECT VALORE FROM PROVA"), "7");
        db.DropIfLost();  // a live connection stays
        QVERIFY(db.Connected());
    }
};

QTEST_GUILESS_MAIN(TestConnessionePersa)
#include "tst_connessionepersa.moc"
