// Connections, transactions, statements and values against real embedded databases.
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "tests/support/TestDb.h"

#include <QtTest>
#include <thread>

class TestFbDatabase : public QObject {
    Q_OBJECT
    TTestDir FDir;
    QString FPath;

private slots:
    void initTestCase() {
        FPath = FDir.NuovoDatabase("tipi.fdb", {});
        TFbDatabase db;
        Connetti(db, FPath);
        EseguiSQL(db, "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, S SMALLINT, I INTEGER, B BIGINT, F FLOAT,"
                      " D DOUBLE PRECISION, N NUMERIC(10,2), C CHAR(4), V VARCHAR(64), DT DATE, TM TIME,"
                      " TS TIMESTAMP, TX BLOB SUB_TYPE 1, BB BLOB SUB_TYPE 0)");
    }

    void openCloseAndReopenOnNewName() {
        const QString other = FDir.NuovoDatabase("altro.fdb", {});
        TFbDatabase db;
        Connetti(db, FPath);
        QVERIFY(db.Connected());
        db.SetDatabaseName(other);  // closes
        QVERIFY(!db.Connected());
        db.Open();
        QVERIFY(db.Connected());
        QCOMPARE(ValoreSQL(db, "SELECT MON$DATABASE_NAME FROM MON$DATABASE").trimmed(), other);
        db.Close();
        QVERIFY(!db.Connected());
    }

    // a connection made on a worker thread serves the taker's own transactions afterwards
    void takeOverAConnectionMadeOnAnotherThread() {
        TFbDatabase aperta;
        std::thread([&] { Connetti(aperta, FPath); }).join();
        const QString nome = aperta.DatabaseName();
        const int charset = aperta.DefaultCharset();
        TFbDatabase db;
        TFbTransaction tr(&db);
        db.TakeOver(aperta);
        QVERIFY(!aperta.Connected());
        QVERIFY(db.Connected());
        QCOMPARE(db.DatabaseName(), nome);
        QCOMPARE(db.DefaultCharset(), charset);
        tr.Start();
        TFbSQL sql(&db, &tr);
        sql.SetSQL({"SELECT COUNT(*) AS N FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"});
        sql.ExecQuery();
        QCOMPARE(sql.FieldByName("N").AsInteger(), 1);
        tr.Commit();
        db.Close();
        QVERIFY(!db.Connected());
        aperta.Open();  // the one left closed attaches anew with its name and parameters
        QVERIFY(aperta.Connected());
    }

    void aConnectionWithTransactionsIsNotTakenOver() {
        TFbDatabase aperta;
        Connetti(aperta, FPath);
        TFbTransaction tr(&aperta);
        TFbDatabase db;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.TakeOver(aperta));
        QVERIFY(aperta.Connected());
        QVERIFY(!db.Connected());
    }

    void missingFileGivesTheClientsMessage() {
        TFbDatabase db;
        try {
            Connetti(db, FDir.Path("nessuno.fdb"));
            QFAIL("attached to a missing file");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().contains("I/O error during \"open\" operation for file"), qPrintable(e.Message()));
            QVERIFY(e.Message().contains("No such file or directory"));
        }
        QVERIFY(!db.Connected());
    }

    void everyTypeRoundTripsWithNull() {
        TFbDatabase db;
        Connetti(db, FPath);
        TFbTransaction tr(&db);
        tr.Start();
        TFbSQL ins(&db, &tr);
        ins.SetSQL({"INSERT INTO T (ID, S, I, B, F, D, N, C, V, DT, TM, TS, TX, BB)",
                    "VALUES (:ID, :S, :I, :B, :F, :D, :N, :C, :V, :DT, :TM, :TS, :TX, :BB)"});
        const QDateTime ts(QDate(2024, 1, 2), QTime(3, 4, 5, 678));
        const QVariantList values{1, -7, 123456, Q_INT64_C(9007199254740993), 1.5, 2.25, 12.34, "ab",
                                  "Perché sì: ÄÖÜ ß", QDate(2024, 1, 31), QTime(23, 59, 58), ts,
                                  QString("testo lungo ").repeated(5000), QByteArray("\x00\x01\xff", 3)};
        const QStringList names = ins.ParamNames();
        QCOMPARE(names.size(), values.size());
        for (int i = 0; i < names.size(); ++i) ins.SetParam(names[i], values[i]);
        ins.ExecQuery();
        QCOMPARE(ins.RowsAffected(), 1);
        for (const QString& n : names) ins.SetParam(n, QVariant());
        ins.SetParam("ID", 2);
        ins.ExecQuery();
        tr.Commit();

        tr.Start();
        TFbSQL sel(&db, &tr);
        sel.SetSQL({"SELECT * FROM T WHERE ID=:ID"});
        sel.SetParam("ID", 1);
        sel.ExecQuery();
        QVERIFY(!sel.Eof());
        QCOMPARE(sel.FieldByName("S").AsVariant(), QVariant(-7));
        QCOMPARE(sel.FieldByName("I").AsInteger(), 123456);
        QCOMPARE(sel.FieldByName("B").AsInt64(), Q_INT64_C(9007199254740993));
        QCOMPARE(sel.FieldByName("F").AsDouble(), 1.5);
        QCOMPARE(sel.FieldByName("D").AsDouble(), 2.25);
        QCOMPARE(sel.FieldByName("N").AsDouble(), 12.34);
        QCOMPARE(sel.FieldByName("C").AsVariant().toString(), QString("ab  "));
        QCOMPARE(sel.FieldByName("V").AsVariant().toString(), QString("Perché sì: ÄÖÜ ß"));
        QCOMPARE(sel.FieldByName("DT").AsDate(), QDate(2024, 1, 31));
        QCOMPARE(sel.FieldByName("TM").AsVariant().toTime(), QTime(23, 59, 58));
        QCOMPARE(sel.FieldByName("TS").AsDateTime(), ts);
        QCOMPARE(sel.FieldByName("TX").AsVariant().toString(), QString("testo lungo ").repeated(5000));
        QCOMPARE(sel.FieldByName("BB").AsBytes(), QByteArray("\x00\x01\xff", 3));
        QVERIFY(!sel.Next());
        sel.SetParam("ID", 2);
        sel.ExecQuery();
        for (int i = 1; i < sel.FieldDefs().size(); ++i) {
            QVERIFY2(sel.Field(i).IsNull(), qPrintable(sel.FieldDefs()[i].Name));
            QCOMPARE(sel.Field(i).AsString(), QString());
        }
        tr.Rollback();
    }

    void fieldDescriptions() {
        TFbDatabase db;
        Connetti(db, FPath);
        TFbTransaction tr(&db);
        TFbSQL sel(&db, &tr);
        sel.SetSQL({"SELECT T.ID, T.V AS ALIAS_V, T.N, T.TX, T.ID*2 AS DOPPIO, UPPER(T.V) FROM T"});
        const TFbFieldDefs& d = sel.FieldDefs();
        QCOMPARE(d.size(), 6);
        QCOMPARE(d[0].Name, QString("ID"));
        QCOMPARE(d[0].Origin, QString("T.ID"));
        QCOMPARE(d[0].Type, TFbFieldType::Integer);
        QCOMPARE(d[1].Name, QString("ALIAS_V"));
        QCOMPARE(d[1].Origin, QString("T.V"));
        QCOMPARE(d[1].Type, TFbFieldType::String);
        QCOMPARE(d[1].Size, 64);  // characters, not bytes
        QCOMPARE(d[2].Type, TFbFieldType::Numeric);
        QCOMPARE(d[2].Scale, -2);
        QCOMPARE(d[3].Type, TFbFieldType::Memo);
        QCOMPARE(d[4].Name, QString("DOPPIO"));
        QCOMPARE(d[4].Origin, QString());  // computed
        QCOMPARE(d[5].Origin, QString());
    }

    void originQuotesIdentifiersThatNeedIt() {
        TFbDatabase db;
        Connetti(db, FPath);
        EseguiSQL(db, "CREATE TABLE \"Tab Mista\" (\"Campo x\" INTEGER, NORMALE INTEGER)");
        TFbTransaction tr(&db);
        TFbSQL sel(&db, &tr);
        sel.SetSQL({"SELECT * FROM \"Tab Mista\""});
        QCOMPARE(sel.FieldDefs()[0].Origin, QString("\"Tab Mista\".\"Campo x\""));
        QCOMPARE(sel.FieldDefs()[1].Origin, QString("\"Tab Mista\".NORMALE"));
    }

    void repeatedNamedParameterBindsEveryPlace() {
        TFbDatabase db;
        Connetti(db, FPath);
        TFbTransaction tr(&db);
        TFbSQL sel(&db, &tr);
        sel.SetSQL({"SELECT CAST(:X AS VARCHAR(5)) || ':X' || CAST(:X AS VARCHAR(5)) FROM RDB$DATABASE"});
        sel.SetParam("x", "ab");
        sel.ExecQuery();
        QCOMPARE(sel.Field(0).AsString(), QString("ab:Xab"));
    }

    void paramCheckOffSendsTheTextUnchanged() {
        TFbDatabase db;
        Connetti(db, FPath);
        TFbTransaction tr(&db);
        TFbSQL blk(&db, &tr);
        blk.SetParamCheck(false);
        blk.SetSQL({"EXECUTE BLOCK RETURNS (R VARCHAR(20)) AS", "  DECLARE VARIABLE V VARCHAR(10) = 'ok';", "BEGIN",
                    "  R = :V || '!';", "  SUSPEND;", "END"});
        blk.ExecQuery();
        QCOMPARE(blk.Field(0).AsString(), QString("ok!"));
    }

    void serverConvertsMismatchedParameterTypes() {
        TFbDatabase db;
        Connetti(db, FPath);
        TFbTransaction tr(&db);
        TFbSQL sel(&db, &tr);
        sel.SetSQL({"SELECT COUNT(*) FROM T WHERE ID = :ID"});
        sel.SetParam("ID", "abc");
        try {
            sel.ExecQuery();
            QFAIL("a text that is not a number was accepted");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().contains("conversion error from string \"abc\""), qPrintable(e.Message()));
        }
    }

    void nowaitWriterFailsAtOnceOnALockedRow() {
        TFbDatabase db;
        Connetti(db, FPath);
        EseguiSQL(db, "UPDATE OR INSERT INTO T (ID, I) VALUES (10, 0) MATCHING (ID)");
        TFbTransaction first(&db), second(&db);
        first.Params() = QStringList{"concurrency", "nowait"};
        second.Params() = QStringList{"concurrency", "nowait"};
        first.Start();
        second.Start();
        QVERIFY(first.Active() && second.Active());
        TFbSQL a(&db, &first), b(&db, &second);
        a.SetSQL({"UPDATE T SET I = 1 WHERE ID = 10"});
        b.SetSQL({"UPDATE T SET I = 2 WHERE ID = 10"});
        a.ExecQuery();
        QElapsedTimer t;
        t.start();
        try {
            b.ExecQuery();
            QFAIL("the second writer was not refused");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().contains("deadlock"), qPrintable(e.Message()));
            QVERIFY(e.Message().contains("update conflicts with concurrent update"));
        }
        QVERIFY(t.elapsed() < 2000);
        first.Commit();
        second.Rollback();
        QCOMPARE(ValoreSQL(db, "SELECT I FROM T WHERE ID = 10"), QString("1"));
    }

    void commitRetainingKeepsTheTransaction() {
        TFbDatabase db;
        Connetti(db, FPath);
        TFbTransaction tr(&db);
        tr.Start();
        TFbSQL s(&db, &tr);
        s.SetSQL({"INSERT INTO T (ID) VALUES (:ID)"});
        s.SetParam("ID", 20);
        s.ExecQuery();
        tr.CommitRetaining();
        QVERIFY(tr.Active());
        s.SetParam("ID", 21);
        s.ExecQuery();
        tr.Rollback();
        QVERIFY(!tr.Active());
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM T WHERE ID IN (20, 21)"), QString("1"));
    }

    void endingTheTransactionClosesItsCursors() {
        TFbDatabase db;
        Connetti(db, FPath);
        TFbTransaction tr(&db);
        TFbSQL s(&db, &tr);
        s.SetSQL({"SELECT ID FROM T"});
        s.ExecQuery();
        QVERIFY(s.Open());
        tr.Commit();
        QVERIFY(!s.Open());
        QVERIFY(s.Eof());
    }

    void win1252DatabaseKeepsAccentedText() {
        const QString path = FDir.NuovoDatabase("win.fdb", {}, "WIN1252");
        TFbDatabase db;
        Connetti(db, path);
        QCOMPARE(db.DefaultCharset(), 53);
        EseguiSQL(db, "CREATE TABLE W (V VARCHAR(20), M BLOB SUB_TYPE 1)");
        TFbTransaction tr(&db);
        tr.Start();
        TFbSQL ins(&db, &tr);
        ins.SetSQL({"INSERT INTO W (V, M) VALUES (:V, :V)"});
        ins.SetParam("V", "Città € Perché");
        ins.ExecQuery();
        tr.Commit();
        QCOMPARE(ValoreSQL(db, "SELECT V FROM W"), QString("Città € Perché"));
        QCOMPARE(ValoreSQL(db, "SELECT M FROM W"), QString("Città € Perché"));
        // a literal in the statement text travels in the database's character set too
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM W WHERE V = 'Città € Perché'"), QString("1"));
        QCOMPARE(ValoreSQL(db, "SELECT OCTET_LENGTH(V) FROM W"), QString("14"));
        TFbSQL sel(&db, &tr);
        sel.SetSQL({"SELECT V FROM W"});
        QCOMPARE(sel.FieldDefs()[0].Size, 20);
    }
};

QTEST_GUILESS_MAIN(TestFbDatabase)
#include "tst_fbdatabase.moc"
