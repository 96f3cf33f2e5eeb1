// Query and table data sets, row editing and the item model, over the demo archive.
#include "db/FbDataSet.h"
#include "db/FbDataSetModel.h"
#include "db/FbDatabase.h"
#include "db/FbTable.h"
#include "db/FbTransaction.h"
#include "tests/support/TestDb.h"

#include <QAbstractItemModelTester>
#include <QtTest>

class TestFbDataSet : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TFbTransaction FTr{&FDb};

private slots:
    void initTestCase() {
        const QString path = FDir.NuovoArchivioDemo();
        Connetti(FDb, path);
        DemoData::AggiungiLogMassivo(FDb, 5000);
    }

    void queryFetchesOnDemandAndNavigates() {
        TFbQuery q;
        q.SetDatabase(&FDb);
        q.SetTransaction(&FTr);
        q.SQL = QStringList{"SELECT ID, DATOINPUT FROM ZELSCANLOGLIGHT", "ORDER BY ID"};
        q.Open();
        QVERIFY(q.Active());
        QCOMPARE(q.FetchedCount(), 1);  // never all at open
        QCOMPARE(q.FieldByName("ID").AsInteger(), 1);
        q.Next();
        q.Next();
        QCOMPARE(q.FieldByName("ID").AsInteger(), 3);
        QCOMPARE(q.FetchedCount(), 3);
        q.Prior();
        QCOMPARE(q.FieldByName("ID").AsInteger(), 2);
        q.Last();
        QVERIFY(q.Eof());
        QVERIFY(q.AllFetched());
        QCOMPARE(q.FieldByName("ID").AsInteger(), q.FetchedCount());
        q.Next();
        QVERIFY(q.Eof());
        q.First();
        QCOMPARE(q.FieldByName("ID").AsInteger(), 1);
        q.Close();
        QVERIFY(!q.Active());
    }

    void emptyResult() {
        TFbQuery q;
        q.SetDatabase(&FDb);
        q.SetTransaction(&FTr);
        q.SQL = QStringList{"SELECT * FROM CLIENTI WHERE CODICE = 'NESSUNO'"};
        q.Open();
        QVERIFY(q.IsEmpty());
        QVERIFY(q.Eof());
        QCOMPARE(q.RecNo(), -1);
        QVERIFY(q.FieldByName("RAGSOC").IsNull());
    }

    // A prepared query runs with the parameters of each open, across transactions; a changed text
    // is prepared anew.
    void preparedQueryRunsWithEachOpensParameters() {
        TFbQuery q;
        q.SetDatabase(&FDb);
        q.SetTransaction(&FTr);
        q.SQL = QStringList{"SELECT COUNT(*) AS N FROM ZELSCANLOGLIGHT WHERE DATOINPUT = :SERDOC"};
        q.Prepare();
        QVERIFY(!q.Active());
        const QList<QPair<QString, int>> attesi{{"A123", 7}, {"B'7", 1}, {"ZZZ", 0}, {"A123", 7}};
        for (const auto& [serie, n] : attesi) {
            q.Close();
            q.SetParam("SERDOC", serie);
            q.Open();
            QCOMPARE(q.FieldByName("N").AsInteger(), n);
            FTr.Commit();  // the next open runs in a new transaction
            QVERIFY(!q.Active());
        }
        q.SQL = QStringList{"SELECT CODICE FROM CLIENTI WHERE CODICE = :SERDOC"};
        q.SetParam("SERDOC", "C12");
        q.Open();
        QCOMPARE(q.FieldByName("CODICE").AsString(), QString("C12"));
        q.Close();
    }

    void chainedEventsRunInOrder() {
        TFbQuery q;
        q.SetDatabase(&FDb);
        q.SetTransaction(&FTr);
        q.SQL = QStringList{"SELECT * FROM CLIENTI"};
        QStringList calls;
        q.BeforeOpen = [&](TFbDataSet*) { calls << "owner-before-open"; };
        auto previous = q.BeforeOpen;
        q.BeforeOpen = [&, previous](TFbDataSet* ds) {
            if (previous) previous(ds);
            calls << "grid-before-open";
        };
        q.AfterOpen = [&](TFbDataSet* ds) { calls << (ds->Active() ? "after-open" : "after-open-inactive"); };
        q.BeforeClose = [&](TFbDataSet* ds) { calls << (ds->Active() ? "before-close" : "before-close-inactive"); };
        q.Open();
        q.Close();
        QCOMPARE(calls, (QStringList{"owner-before-open", "grid-before-open", "after-open", "before-close"}));
        calls.clear();
        q.Open();
        FTr.Commit();  // ending the transaction closes the query with its events
        QCOMPARE(calls, (QStringList{"owner-before-open", "grid-before-open", "after-open", "before-close"}));
        QVERIFY(!q.Active());
    }

    void updateObjectPostsEditsAndNewRows() {
        TFbQuery q;
        q.SetDatabase(&FDb);
        q.SetTransaction(&FTr);
        q.SQL = QStringList{"SELECT CODICE, DESCRIZIONE FROM RET_MACCHINARI WHERE CODICE = 2"};
        TFbUpdateSQL upd;
        upd.ModifySQL = QStringList{"UPDATE RET_MACCHINARI SET", "CODICE=:CODICE,", "DESCRIZIONE=:DESCRIZIONE",
                                    "WHERE CODICE=:OLD_CODICE"};
        upd.InsertSQL = QStringList{"INSERT INTO RET_MACCHINARI (CODICE, DESCRIZIONE)", "VALUES (:CODICE, :DESCRIZIONE)"};
        q.UpdateObject = &upd;
        q.Open();
        q.Edit();
        q.SetFieldValue("DESCRIZIONE", "Piegatrice nuova");
        q.Post();
        QCOMPARE(q.FieldByName("DESCRIZIONE").AsString(), QString("Piegatrice nuova"));
        q.Append();
        q.SetFieldValue("CODICE", 50);
        q.SetFieldValue("DESCRIZIONE", "Saldatrice");
        q.Post();
        QCOMPARE(q.FetchedCount(), 2);
        FTr.Commit();
        QCOMPARE(ValoreSQL(FDb, "SELECT DESCRIZIONE FROM RET_MACCHINARI WHERE CODICE = 2"), QString("Piegatrice nuova"));
        QCOMPARE(ValoreSQL(FDb, "SELECT DESCRIZIONE FROM RET_MACCHINARI WHERE CODICE = 50"), QString("Saldatrice"));
    }

    void tableOrderFilterAndIndexes() {
        TFbTable t;
        t.SetDatabase(&FDb);
        t.SetTransaction(&FTr);
        t.TableName = "ORDC";
        t.IndexFieldNames = "CODICECLIENTE;SERDOC";
        t.Open();
        QCOMPARE(t.FieldByName("SERDOC").AsString(), QString("A123"));
        t.Close();
        t.OnFilterRecord = [](const TFbDataSet& ds, const TFbRow& row) {
            return row[ds.FieldIndex("CODICECLIENTE")].toString() == "C002";
        };
        t.Filtered = true;
        t.Open();
        t.Last();
        QCOMPARE(t.FetchedCount(), 2);
        t.Close();
        t.Filtered = false;
        t.Open();
        t.Last();
        QCOMPARE(t.FetchedCount(), 9);

        const QVector<TFbIndexDef> defs = t.IndexDefs();
        QStringList seen;
        for (const TFbIndexDef& d : defs) seen << d.Fields.join(';') + (d.Primary ? "*" : "");
        seen.sort();
        QCOMPARE(seen, (QStringList{"CODICECLIENTE", "SERDOC*"}));
        QVERIFY(t.MasterSource == nullptr);
    }

    void tableAppendAndEmpty() {
        TFbDatabase db;
        Connetti(db, FDir.NuovoDatabase("appoggio.fdb", {}));
        EseguiSQL(db, "CREATE TABLE APPOGGIO (A INTEGER, B VARCHAR(10))");
        TFbTransaction tr(&db);
        TFbTable t;
        t.SetDatabase(&db);
        t.SetTransaction(&tr);
        t.TableName = "APPOGGIO";
        tr.Start();
        t.Open();
        for (int i = 0; i < 3; ++i) {
            t.Append();
            t.SetFieldValue(0, i);
            t.SetFieldValue(1, QString("r%1").arg(i));
            t.Post();
        }
        tr.CommitRetaining();
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM APPOGGIO"), QString("3"));
        t.Close();
        t.EmptyTable();
        tr.Commit();
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM APPOGGIO"), QString("0"));
    }

    void modelFetchesAsTheViewScrolls() {
        TFbQuery q;
        q.SetDatabase(&FDb);
        q.SetTransaction(&FTr);
        q.SQL = QStringList{"SELECT ID, DATOINPUT, DATAORA FROM ZELSCANLOGLIGHT ORDER BY ID"};
        TFbDataSetModel model;
        model.BatchSize = 100;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.SetDataSet(&q);
        QCOMPARE(model.rowCount(), 0);
        q.Open();
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("DATOINPUT"));
        QVERIFY(model.canFetchMore({}));
        QCOMPARE(model.rowCount(), 1);  // the row fetched at open
        model.fetchMore({});
        QCOMPARE(model.rowCount(), 101);
        QCOMPARE(model.data(model.index(0, 0)).toString(), QString("1"));
        model.fetchMore({});
        QCOMPARE(model.rowCount(), 201);
        q.Last();  // navigation fetches the rest; the model shows it
        QCOMPARE(model.rowCount(), q.FetchedCount());
        QVERIFY(!model.canFetchMore({}));
        q.Close();
        QCOMPARE(model.rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestFbDataSet)
#include "tst_fbdataset.moc"
