// The data layer's request counters against operations whose cost is known: statements prepared,
// statements executed, fetch calls and transactions started.
#include "db/ContatoriDB.h"
#include "db/FbDataSet.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "tests/support/TestDb.h"

#include <QtTest>
#include <functional>

using TOperazione = std::function<void(TFbDatabase&)>;
Q_DECLARE_METATYPE(TOperazione)
Q_DECLARE_METATYPE(TContatoriDB)

namespace {

const QStringList TreRighe{"SELECT VALORE FROM PROVA ORDER BY ID"};

// Every row of the query, then the cursor's end.
void LeggiTutto(TFbQuery& q) {
    q.Open();
    while (q.FetchMore(100) > 0) {
    }
}

QList<QPair<ContatoriDB::TRichiesta, QString>> Osservate;
void Registra(ContatoriDB::TRichiesta richiesta, const QString& sql) { Osservate.append({richiesta, sql}); }

}  // namespace

class TestContatoriDB : public QObject {
    Q_OBJECT
    TTestDir FDir;
    QString FPath;
    TFbDatabase FDb;

private slots:
    void initTestCase() {
        FPath = FDir.NuovoDatabase("prova.fdb", {});
        Connetti(FDb, FPath);
        EseguiSQL(FDb, "CREATE TABLE PROVA (ID INTEGER, VALORE VARCHAR(40))");
        EseguiSQL(FDb, "INSERT INTO PROVA VALUES (1, 'uno')");
        EseguiSQL(FDb, "INSERT INTO PROVA VALUES (2, 'due')");
        EseguiSQL(FDb, "INSERT INTO PROVA VALUES (3, 'tre')");
    }

    void countsWhatAnOperationAsks_data() {
        QTest::addColumn<TOperazione>("operazione");
        QTest::addColumn<TContatoriDB>("costo");
        QTest::newRow("a transaction started and rolled back")
            << TOperazione([](TFbDatabase& db) {
                   TFbTransaction tr(&db);
                   tr.Start();
                   tr.Rollback();
               })
            << TContatoriDB{0, 0, 0, 1};
        QTest::newRow("three rows read to the end: one fetch per row and one for the end")
            << TOperazione([](TFbDatabase& db) {
                   TFbTransaction tr(&db);
                   tr.Start();
                   TFbSQL q(&db, &tr);
                   q.SetSQL(TreRighe);
                   for (q.ExecQuery(); !q.Eof(); q.Next()) {
                   }
               })
            << TContatoriDB{1, 1, 4, 1};
        QTest::newRow("an insert prepared once and executed twice")
            << TOperazione([](TFbDatabase& db) {
                   TFbTransaction tr(&db);
                   tr.Start();
                   TFbSQL q(&db, &tr);
                   q.SetSQL({"INSERT INTO PROVA (ID, VALORE) VALUES (:ID, 'nuovo')"});
                   q.Prepare();
                   for (int id : {10, 11}) {
                       q.SetParam("ID", id);
                       q.ExecQuery();
                   }
                   tr.Rollback();
               })
            << TContatoriDB{1, 2, 0, 1};
        QTest::newRow("a statement on a transaction not yet started starts it")
            << TOperazione([](TFbDatabase& db) {
                   TFbTransaction tr(&db);
                   TFbSQL q(&db, &tr);
                   q.SetSQL({"SELECT COUNT(*) FROM PROVA"});
                   q.ExecQuery();
               })
            << TContatoriDB{1, 1, 1, 1};
        QTest::newRow("a statement only prepared, to learn its fields")
            << TOperazione([](TFbDatabase& db) {
                   TFbTransaction tr(&db);
                   TFbSQL q(&db, &tr);
                   q.SetSQL(TreRighe);
                   q.FieldDefs();
               })
            << TContatoriDB{1, 0, 0, 1};
        QTest::newRow("a data set opened twice: prepared at each opening, first row fetched")
            << TOperazione([](TFbDatabase& db) {
                   TFbTransaction tr(&db);
                   TFbQuery q;
                   q.SetDatabase(&db);
                   q.SetTransaction(&tr);
                   q.SQL = TreRighe;
                   q.Open();
                   q.Reopen();
               })
            << TContatoriDB{2, 2, 2, 1};
        QTest::newRow("a data set prepared once and read to the end twice")
            << TOperazione([](TFbDatabase& db) {
                   TFbTransaction tr(&db);
                   TFbQuery q;
                   q.SetDatabase(&db);
                   q.SetTransaction(&tr);
                   q.Prepare(TreRighe);
                   LeggiTutto(q);
                   q.Close();
                   LeggiTutto(q);
               })
            << TContatoriDB{1, 2, 8, 1};
        QTest::newRow("a statement the database refuses still asked once")
            << TOperazione([](TFbDatabase& db) {
                   TFbTransaction tr(&db);
                   TFbSQL q(&db, &tr);
                   q.SetSQL({"SELECT NESSUNA FROM PROVA"});
                   QVERIFY_THROWS_EXCEPTION(EDatabaseError, q.ExecQuery());
               })
            << TContatoriDB{1, 0, 0, 1};
        QTest::newRow("attaching reads the default character set in a transaction of its own")
            << TOperazione([this](TFbDatabase&) {
                   TFbDatabase altra;
                   Connetti(altra, FPath);
               })
            << TContatoriDB{1, 1, 1, 1};
    }
    void countsWhatAnOperationAsks() {
        QFETCH(TOperazione, operazione);
        QFETCH(TContatoriDB, costo);
        const ContatoriDB::TMisura misura;
        operazione(FDb);
        QCOMPARE(misura.Costo().Testo(), costo.Testo());
    }

    void resetStartsFromZero() {
        ValoreSQL(FDb, "SELECT COUNT(*) FROM PROVA");
        QVERIFY(ContatoriDB::Lettura().Transazioni > 0);
        ContatoriDB::Azzera();
        QCOMPARE(ContatoriDB::Lettura().Testo(), TContatoriDB().Testo());
        ValoreSQL(FDb, "SELECT COUNT(*) FROM PROVA");
        QCOMPARE(ContatoriDB::Lettura().Testo(), (TContatoriDB{1, 1, 1, 1}.Testo()));
    }

    void sumAndDifference() {
        const TContatoriDB a{5, 7, 20, 3}, b{1, 2, 4, 1};
        QCOMPARE((a - b).Testo(), QString("4 prepared, 5 executed, 16 fetches, 2 transactions"));
        QVERIFY(a - b + b == a);
    }

    void observerSeesEveryStatementText() {
        Osservate.clear();
        ContatoriDB::SetOsservatore(&Registra);
        {
            TFbTransaction tr(&FDb);
            TFbQuery q;
            q.SetDatabase(&FDb);
            q.SetTransaction(&tr);
            q.Prepare(TreRighe);
            q.Open();
            q.Close();
            q.Open();
        }
        ContatoriDB::SetOsservatore(nullptr);
        ValoreSQL(FDb, "SELECT 1 FROM RDB$DATABASE");  // no longer observed
        using R = ContatoriDB::TRichiesta;
        const QString testo = TreRighe.join('\n');
        QCOMPARE(Osservate, (QList<QPair<R, QString>>{
                                {R::Preparazione, testo}, {R::Esecuzione, testo}, {R::Esecuzione, testo}}));
    }
};

QTEST_GUILESS_MAIN(TestContatoriDB)
#include "tst_contatoridb.moc"
