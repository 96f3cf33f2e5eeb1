// Named values in TABX: per-user and shared keys, TESTO beside MEMO, batches and lock conflicts.
#include "db/PtqTabX.h"
#include "tests/support/TestDb.h"

#include <QElapsedTimer>
#include <QtTest>

class TestPtqTabX : public QObject {
    Q_OBJECT
    TTestDir FDir;
    QString FPath;
    TFbDatabase FDb;
    TFbDatabase FAltra;  // a second connection, as another program would hold

    QString Conta(const QString& nome) { return ValoreSQL(FAltra, "SELECT COUNT(*) FROM TABX WHERE NOME='" + nome + "'"); }

private slots:
    void initTestCase() {
        FPath = FDir.NuovoArchivioDemo();
        Connetti(FDb, FPath);
        Connetti(FAltra, FPath);
    }

    void userAndSharedValuesAreSeparateKeys_data() {
        QTest::addColumn<int>("scritto");
        QTest::addColumn<int>("letto");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("shared read by shared") << 0 << 0 << "valore";
        QTest::newRow("shared not seen by user 5") << 0 << 5 << "";
        QTest::newRow("user 5 read by user 5") << 5 << 5 << "valore";
        QTest::newRow("user 5 not seen as shared") << 5 << 0 << "";
        QTest::newRow("user 5 not seen by user 6") << 5 << 6 << "";
    }
    void userAndSharedValuesAreSeparateKeys() {
        QFETCH(int, scritto);
        QFETCH(int, letto);
        QFETCH(QString, atteso);
        const QString nome = QString("Chiave%1_%2").arg(scritto).arg(letto);
        TPtqTabX tabx;
        tabx.SetDatabase(&FDb);
        tabx.SetParametroTesto(nome, "valore", scritto);
        QCOMPARE(tabx.GetParametroTesto(nome, letto), atteso);
        QCOMPARE(ValoreSQL(FAltra, "SELECT COUNT(*) FROM TABX WHERE NOME='" + nome + "' AND UTENTE IS NULL"),
                 scritto == 0 ? "1" : "0");
    }

    void testoJoinsAnExistingMemoInTheSameRow() {
        TPtqTabX tabx;
        tabx.SetDatabase(&FDb);
        tabx.SetParametroMemo("Layout", "riga 1\r\nriga 2", 5);
        const QString codice = ValoreSQL(FAltra, "SELECT CODICE FROM TABX WHERE NOME='Layout'");
        tabx.SetParametroTesto("Layout", "breve", 5);
        QCOMPARE(Conta("Layout"), "1");
        QCOMPARE(ValoreSQL(FAltra, "SELECT CODICE FROM TABX WHERE NOME='Layout'"), codice);
        QCOMPARE(tabx.GetParametroMemo("Layout", 5), "riga 1\r\nriga 2");
        QCOMPARE(tabx.GetParametroTesto("Layout", 5), "breve");
        tabx.SetParametroTesto("Layout", "secondo", 5);  // an update keeps the row
        QCOMPARE(Conta("Layout"), "1");
        QCOMPARE(tabx.GetParametroTesto("Layout", 5), "secondo");
    }

    void missingNameAndNullColumnReadEmpty() {
        TPtqTabX tabx;
        tabx.SetDatabase(&FDb);
        QCOMPARE(tabx.GetParametroTesto("NonEsiste", 0), "");
        tabx.SetParametroTesto("SoloTesto", "x", 0);
        QCOMPARE(tabx.GetParametroMemo("SoloTesto", 0), "");
        QCOMPARE(ValoreSQL(FAltra, "SELECT COUNT(*) FROM TABX WHERE NOME='SoloTesto' AND MEMO IS NULL"), "1");
    }

    void quotesAreStoredDoubled() {
        TPtqTabX tabx;
        tabx.SetDatabase(&FDb);
        tabx.SetParametroTesto("Apice", "l'uno", 0);
        tabx.SetParametroMemo("Apice", "d'altro", 0);
        QCOMPARE(ValoreSQL(FAltra, "SELECT TESTO FROM TABX WHERE NOME='Apice'"), "l''uno");
        QCOMPARE(tabx.GetParametroTesto("Apice", 0), "l''uno");
        QCOMPARE(tabx.GetParametroMemo("Apice", 0), "d''altro");
    }

    void batchIsSharedAndCommittedAtTheEnd() {
        TPtqTabX tabx;
        tabx.SetDatabase(&FDb);
        tabx.BeginUpdate();
        tabx.SetParametroTesto("Blocco1", "a", 3);
        tabx.SetParametroMemo("Blocco2", "b", 3);
        QCOMPARE(tabx.GetParametroTesto("Blocco1", 3), "a");  // the batch sees its own writes
        QCOMPARE(Conta("Blocco1"), "0");                     // nobody else does yet
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, tabx.BeginUpdate());
        tabx.EndUpdate();
        QCOMPARE(Conta("Blocco1"), "1");
        QCOMPARE(Conta("Blocco2"), "1");
    }

    void batchOpenAtDestructionIsCommitted() {
        {
            TPtqTabX tabx;
            tabx.SetDatabase(&FDb);
            tabx.BeginUpdate();
            tabx.SetParametroTesto("Distrutto", "salvato", 0);
            QCOMPARE(Conta("Distrutto"), "0");
        }
        QCOMPARE(ValoreSQL(FAltra, "SELECT TESTO FROM TABX WHERE NOME='Distrutto'"), "salvato");
    }

    void ownerDestroysIt() {
        QObject owner;
        QPointer<TPtqTabX> tabx = new TPtqTabX(&owner);
        tabx->SetDatabase(&FDb);
        tabx->BeginUpdate();
        tabx->SetParametroTesto("DaOwner", "x", 0);
        delete &*tabx;
        QVERIFY(tabx.isNull());
        QCOMPARE(Conta("DaOwner"), "1");
    }

    void lockConflictFailsAtOnceAndLeavesTheComponentUsable() {
        TPtqTabX primo;
        primo.SetDatabase(&FDb);
        primo.SetParametroTesto("Conteso", "iniziale", 0);
        TPtqTabX secondo;
        secondo.SetDatabase(&FAltra);

        primo.BeginUpdate();
        primo.SetParametroTesto("Conteso", "primo", 0);
        QElapsedTimer t;
        t.start();
        try {
            secondo.SetParametroTesto("Conteso", "secondo", 0);
            QFAIL("the second writer must fail");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().startsWith("deadlock\n-update conflicts with concurrent update"), qPrintable(e.Message()));
        }
        QVERIFY(t.elapsed() < 2000);
        // The failed write's transaction was ended: the next write starts a new one.
        secondo.SetParametroTesto("NonConteso", "ok", 0);
        QCOMPARE(secondo.GetParametroTesto("NonConteso", 0), "ok");
        primo.EndUpdate();
        QCOMPARE(secondo.GetParametroTesto("Conteso", 0), "primo");
    }

    void tooLongTextFailsAndTheNextWriteWorks() {
        TPtqTabX tabx;
        tabx.SetDatabase(&FDb);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, tabx.SetParametroTesto("Lungo", QString(129, 'x'), 0));
        QCOMPARE(Conta("Lungo"), "0");
        tabx.SetParametroTesto("Lungo", QString(128, 'x'), 0);
        QCOMPARE(tabx.GetParametroTesto("Lungo", 0), QString(128, 'x'));
    }

    void failedBatchCommitKeepsTheBatchOpen() {
        InstallaRifiutoCommit(FDb);
        {
            TPtqTabX tabx;
            tabx.SetDatabase(&FDb);
            tabx.BeginUpdate();
            tabx.SetParametroTesto("BloccoRifiutato", "salvato", 0);
            RifiutaCommit(FDb, true);
            try {
                tabx.EndUpdate();
                QFAIL("the refused commit went through");
            } catch (const EDatabaseError& e) {
                QVERIFY2(e.Message().contains("commit rifiutato"), qPrintable(e.Message()));
            }
            RifiutaCommit(FDb, false);
            // still the batch: it reads its own write, which nobody else sees yet
            QCOMPARE(tabx.GetParametroTesto("BloccoRifiutato", 0), "salvato");
            QCOMPARE(Conta("BloccoRifiutato"), "0");
            tabx.SetParametroTesto("BloccoRifiutato2", "anche", 0);
        }  // destruction commits the open batch
        QCOMPARE(Conta("BloccoRifiutato"), "1");
        QCOMPARE(Conta("BloccoRifiutato2"), "1");
    }
};

QTEST_MAIN(TestPtqTabX)
#include "tst_ptqtabx.moc"
