// Ending transactions: transaction statements sent as SQL, ROLLBACK lines in scripts, and the
// data sets' close handlers that run when a transaction ends.
#include "db/FbDataSet.h"
#include "db/FbScript.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "tests/support/TestDb.h"

#include <QPointer>
#include <QtTest>
#include <memory>

namespace {

const QString Rifiuto = "COMMIT, ROLLBACK e SET TRANSACTION non sono ammessi come comandi SQL: "
                        "la transazione si conclude con Commit o Rollback del suo componente";

}  // namespace

class TestFbTransaction : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TFbDatabase FAltra;  // a second connection, to see what is committed

    QString Conta(const QString& valore) {
        return ValoreSQL(FAltra, "SELECT COUNT(*) FROM PROVA WHERE VALORE='" + valore + "'");
    }
    void Inserisci(TFbTransaction& tr, const QString& valore) {
        TFbSQL sql(&FDb, &tr);
        sql.SetSQL({"INSERT INTO PROVA (VALORE) VALUES (:VALORE)"});
        sql.SetParam("VALORE", valore);
        sql.ExecQuery();
    }
    // A data set on `tr` that stays open until the transaction ends.
    std::unique_ptr<TFbQuery> Aperta(TFbTransaction& tr) {
        auto q = std::make_unique<TFbQuery>();
        q->SetDatabase(&FDb);
        q->SetTransaction(&tr);
        q->SQL = QStringList{"SELECT VALORE FROM PROVA"};
        q->Open();
        return q;
    }

private slots:
    void initTestCase() {
        const QString path = FDir.NuovoDatabase("prova.fdb", {});
        Connetti(FDb, path);
        EseguiSQL(FDb, "CREATE TABLE PROVA (VALORE VARCHAR(40))");
        Connetti(FAltra, path);
    }

    // A row another connection holds is waited for only as long as lock_timeout says; once the
    // holder commits, a read-committed writer goes on with the row as committed.
    void lockTimeoutEndsTheWait() {
        EseguiSQL(FDb, "INSERT INTO PROVA (VALORE) VALUES ('bloccata')");
        TFbTransaction detentore(&FAltra);
        detentore.Start();
        TFbSQL blocco(&FAltra, &detentore);
        blocco.SetSQL({"UPDATE PROVA SET VALORE='tenuta' WHERE VALORE='bloccata'"});
        blocco.ExecQuery();

        TFbTransaction scrittura(&FDb);
        scrittura.Params() = QStringList{"read_committed", "rec_version", "wait", "lock_timeout=2"};
        scrittura.Start();
        TFbSQL cancella(&FDb, &scrittura);
        cancella.SetSQL({"DELETE FROM PROVA WHERE VALORE='bloccata'"});
        QElapsedTimer tempo;
        tempo.start();
        try {
            cancella.ExecQuery();
            QFAIL("the delete did not wait for the locked row");
        } catch (const EDatabaseError& e) {
            // a lock wait that runs out is told as a conflict
            QVERIFY2(e.Message().contains("update conflicts with concurrent update"), qPrintable(e.Message()));
        }
        QVERIFY2(tempo.elapsed() >= 900, qPrintable(QString::number(tempo.elapsed())));  // whole seconds, counted by the engine
        QVERIFY2(tempo.elapsed() < 10000, "the wait outlasted its time-out");
        scrittura.Rollback();
        detentore.Commit();

        scrittura.Start();
        cancella.SetSQL({"DELETE FROM PROVA WHERE VALORE='tenuta'"});
        cancella.ExecQuery();
        QCOMPARE(cancella.RowsAffected(), 1);
        scrittura.Commit();
    }

    void transactionStatementsAreRefused_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("commit") << "COMMIT";
        QTest::newRow("commit work") << "commit work";
        QTest::newRow("rollback") << "ROLLBACK";
        QTest::newRow("set transaction") << "SET TRANSACTION READ ONLY";
    }
    void transactionStatementsAreRefused() {
        QFETCH(QString, sql);
        TFbTransaction tr(&FDb);
        tr.Start();
        const QString valore = "prima di " + sql;
        Inserisci(tr, valore);
        TFbSQL s(&FDb, &tr);
        s.SetParamCheck(false);
        s.SetSQL({sql});
        try {
            s.ExecQuery();
            QFAIL("a transaction statement went through");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(), Rifiuto);
        }
        // the transaction is the one it was: still open, and its commit keeps the row
        QVERIFY(tr.Active());
        QCOMPARE(Conta(valore), "0");
        tr.Commit();
        QCOMPARE(Conta(valore), "1");
    }

    void scriptRollbackLineEndsItsTransaction() {
        RunScript(FDb, "INSERT INTO PROVA VALUES ('annullato');\nROLLBACK;\n"
                       "INSERT INTO PROVA VALUES ('confermato');\nCOMMIT WORK;\n"
                       "INSERT INTO PROVA VALUES ('di nuovo annullato');\nrollback work;\n"
                       "INSERT INTO PROVA VALUES ('alla fine');\n");
        QCOMPARE(Conta("annullato"), "0");
        QCOMPARE(Conta("confermato"), "1");
        QCOMPARE(Conta("di nuovo annullato"), "0");
        QCOMPARE(Conta("alla fine"), "1");
    }

    void scriptSetTransactionIsRefused() {
        try {
            RunScript(FDb, "INSERT INTO PROVA VALUES ('script rifiutato');\nSET TRANSACTION;\n");
            QFAIL("SET TRANSACTION ran in a script");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(), Rifiuto);
        }
        QCOMPARE(Conta("script rifiutato"), "0");
    }

    void handlerErrorIsReportedAfterTheCommit() {
        TFbTransaction tr(&FDb);
        tr.Start();
        Inserisci(tr, "gestore in errore");
        auto q = Aperta(tr);
        q->AfterClose = [](TFbDataSet*) { throw Exception("errore del gestore"); };
        try {
            tr.Commit();
            QFAIL("the handler's error was lost");
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), QString("errore del gestore"));
        }
        QVERIFY(!tr.Active());
        QVERIFY(!q->Active());
        QCOMPARE(Conta("gestore in errore"), "1");
    }

    void handlerErrorIsReportedAfterTheRollback() {
        TFbTransaction tr(&FDb);
        tr.Start();
        Inserisci(tr, "annullato con errore");
        auto q = Aperta(tr);
        q->BeforeClose = [](TFbDataSet*) { throw Exception("errore prima della chiusura"); };
        QVERIFY_THROWS_EXCEPTION(Exception, tr.Rollback());
        QVERIFY(!tr.Active());
        QCOMPARE(Conta("annullato con errore"), "0");
        q->BeforeClose = nullptr;
        tr.Start();  // the transaction is usable again
        Inserisci(tr, "dopo il gestore");
        tr.Commit();
        QCOMPARE(Conta("dopo il gestore"), "1");
    }

    void handlerEndingTheSameTransactionIsRefused_data() {
        QTest::addColumn<bool>("commit");
        QTest::newRow("commit from the handler of a commit") << true;
        QTest::newRow("rollback from the handler of a commit") << false;
    }
    void handlerEndingTheSameTransactionIsRefused() {
        QFETCH(bool, commit);
        TFbTransaction tr(&FDb);
        tr.Start();
        const QString valore = commit ? "rientro commit" : "rientro rollback";
        Inserisci(tr, valore);
        auto q = Aperta(tr);
        int chiamate = 0;
        q->AfterClose = [&](TFbDataSet*) {
            ++chiamate;
            if (tr.Active()) commit ? tr.Commit() : tr.Rollback();
        };
        try {
            tr.Commit();
            QFAIL("the handler ended the transaction that was ending");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(), QString("Transazione già in chiusura"));
        }
        QCOMPARE(chiamate, 1);
        QVERIFY(!tr.Active());
        QCOMPARE(Conta(valore), "1");
    }

    void handlerFreeingOtherDataSetsOnTheWay() {
        TFbTransaction tr(&FDb);
        tr.Start();
        Inserisci(tr, "insieme liberato");
        // Whichever data set closes first frees all the others.
        QList<QPointer<TFbQuery>> insiemi;
        for (int i = 0; i < 8; ++i) insiemi << Aperta(tr).release();
        int chiusi = 0;
        for (const QPointer<TFbQuery>& q : insiemi) {
            q->AfterClose = [&insiemi, &chiusi, self = q.data()](TFbDataSet*) {
                ++chiusi;
                for (const QPointer<TFbQuery>& altro : insiemi)
                    if (altro && altro != self) delete altro.data();
            };
        }
        tr.Commit();
        QCOMPARE(chiusi, 1);
        int rimasti = 0;
        for (const QPointer<TFbQuery>& q : insiemi)
            if (q) {
                ++rimasti;
                QVERIFY(!q->Active());
                delete q.data();
            }
        QCOMPARE(rimasti, 1);
        QCOMPARE(Conta("insieme liberato"), "1");
    }
};

QTEST_GUILESS_MAIN(TestFbTransaction)
#include "tst_fbtransaction.moc"
