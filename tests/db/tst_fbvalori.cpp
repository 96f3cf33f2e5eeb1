// Values as the data layer reads and writes them: character sets, untyped text and exact decimals.
#include "db/FbDataSet.h"
#include "db/FbDataSetModel.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "tests/support/TestDb.h"

#include <QtTest>

class TestFbValori : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FTipi;  // UTF8 database of the types table
    int FTabelle = 0;

    // The values of the first row of a statement without parameters, read in a transaction of its own.
    static TFbRow PrimaRiga(TFbDatabase& db, const QString& sql) {
        TFbTransaction tr(&db);
        TFbSQL s(&db, &tr);
        s.SetParamCheck(false);
        s.SetSQL({sql});
        s.ExecQuery();
        TFbRow row;
        for (int i = 0; !s.Eof() && i < s.FieldDefs().size(); ++i) row << s.Field(i).AsVariant();
        tr.Rollback();
        return row;
    }

private slots:
    void initTestCase() { Connetti(FTipi, FDir.NuovoDatabase("tipi.fdb", {}, "UTF8")); }

    void everyTypeAndCharsetWithNull_data() {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("letterale");
        QTest::addColumn<QVariant>("atteso");
        const auto riga = [](const char* tag, const QString& tipo, const QString& letterale, const QVariant& atteso) {
            QTest::newRow(tag) << tipo << letterale << atteso;
        };
        riga("SMALLINT", "SMALLINT", "-7", QVariant(-7));
        riga("INTEGER", "INTEGER", "2147483647", QVariant(2147483647));
        riga("BIGINT", "BIGINT", "9007199254740993", QVariant(Q_INT64_C(9007199254740993)));
        riga("NUMERIC(18,4)", "NUMERIC(18,4)", "12345678901234.5678", QVariant("12345678901234.5678"));
        riga("NUMERIC(4,1)", "NUMERIC(4,1)", "-0.5", QVariant("-0.5"));
        riga("FLOAT", "FLOAT", "1.5", QVariant(1.5));
        riga("DOUBLE", "DOUBLE PRECISION", "2.25", QVariant(2.25));
        riga("BOOLEAN", "BOOLEAN", "TRUE", QVariant(true));
        riga("DATE", "DATE", "'2024-01-31'", QVariant(QDate(2024, 1, 31)));
        riga("TIME", "TIME", "'23:59:58.123'", QVariant(QTime(23, 59, 58, 123)));
        riga("TIMESTAMP", "TIMESTAMP", "'2024-01-02 03:04:05.678'",
             QVariant(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5, 678))));
        riga("CHAR UTF8 padded", "CHAR(4)", "'ab'", QVariant("ab  "));
        riga("CHAR UTF8 full", "CHAR(2)", "'èè'", QVariant("èè"));
        riga("CHAR WIN1250", "CHAR(3) CHARACTER SET WIN1250", "_UTF8 'Łó'", QVariant("Łó "));
        riga("VARCHAR UTF8", "VARCHAR(20)", "'Perché sì ß'", QVariant("Perché sì ß"));
        riga("VARCHAR empty", "VARCHAR(20)", "''", QVariant(""));
        riga("VARCHAR DOS850", "VARCHAR(20) CHARACTER SET DOS850", "_UTF8 'Città ½'", QVariant("Città ½"));
        riga("VARCHAR ISO8859_1", "VARCHAR(20) CHARACTER SET ISO8859_1", "_UTF8 'Ærø'", QVariant("Ærø"));
        riga("VARCHAR WIN1252", "VARCHAR(20) CHARACTER SET WIN1252", "_UTF8 '€ Città'", QVariant("€ Città"));
        riga("VARCHAR NONE", "VARCHAR(20) CHARACTER SET NONE", "'Città'", QVariant("Città"));
        riga("VARCHAR OCTETS", "VARCHAR(5) CHARACTER SET OCTETS", "x'00FF41'", QVariant(QByteArray("\x00\xff\x41", 3)));
        riga("CHAR OCTETS", "CHAR(3) CHARACTER SET OCTETS", "x'0102'", QVariant(QByteArray("\x01\x02\x00", 3)));
        riga("BLOB text", "BLOB SUB_TYPE 1", "'testo è'", QVariant("testo è"));
        riga("BLOB text WIN1250", "BLOB SUB_TYPE 1 CHARACTER SET WIN1250", "_UTF8 'Łódź'", QVariant("Łódź"));
        riga("BLOB binary", "BLOB SUB_TYPE 0", "x'00FF'", QVariant(QByteArray("\x00\xff", 2)));
    }

    // One value and a NULL of each type, read by the cursor, by a data set after every row has been
    // fetched, and through the item model: the same values and texts every way.
    void everyTypeAndCharsetWithNull() {
        QFETCH(QString, tipo);
        QFETCH(QString, letterale);
        QFETCH(QVariant, atteso);
        const QString tabella = QString("T%1").arg(++FTabelle);
        EseguiSQL(FTipi, "CREATE TABLE " + tabella + " (ID INTEGER, V " + tipo + ")");
        EseguiSQL(FTipi, "INSERT INTO " + tabella + " (ID, V) VALUES (1, " + letterale + ")");
        EseguiSQL(FTipi, "INSERT INTO " + tabella + " (ID, V) VALUES (2, NULL)");
        const QString testo = TestoValore(atteso);
        const QStringList sql{"SELECT ID, V FROM " + tabella, "ORDER BY ID"};
        TFbTransaction tr(&FTipi);

        TFbSQL cursore(&FTipi, &tr);
        cursore.SetSQL(sql);
        cursore.ExecQuery();
        QCOMPARE(cursore.Field(1).AsVariant(), atteso);
        QCOMPARE(cursore.Field(1).AsString(), testo);
        QVERIFY(!cursore.Field(1).IsNull());
        QVERIFY(cursore.Next());
        QVERIFY(cursore.Field(1).IsNull());
        QVERIFY(!cursore.Field(1).AsVariant().isValid());
        QCOMPARE(cursore.Field(1).AsString(), QString());
        QVERIFY(!cursore.Next());

        TFbQuery dataSet;
        dataSet.SetDatabase(&FTipi);
        dataSet.SetTransaction(&tr);
        dataSet.SQL = sql;
        TFbDataSetModel modello;
        modello.SetDataSet(&dataSet);
        dataSet.Open();
        dataSet.Last();
        dataSet.First();
        QCOMPARE(dataSet.FieldByName("V").AsVariant(), atteso);
        QCOMPARE(dataSet.FieldByName("V").AsString(), testo);
        dataSet.Next();
        QVERIFY(dataSet.FieldByName("V").IsNull());
        QCOMPARE(dataSet.FieldByName("V").AsString(), QString());
        QCOMPARE(modello.rowCount(), 2);
        const bool blob = dataSet.FieldDefs()[1].Type == TFbFieldType::Blob;
        QCOMPARE(modello.data(modello.index(0, 1), Qt::EditRole), atteso);
        QCOMPARE(modello.data(modello.index(0, 1)).toString(), blob ? QString("(BLOB)") : testo);
        QVERIFY(!modello.data(modello.index(1, 1), Qt::EditRole).isValid());
        QCOMPARE(modello.data(modello.index(1, 1)).toString(), blob ? QString("(BLOB)") : QString());
        // an edited row keeps the other values as read
        dataSet.First();
        dataSet.Edit();
        QCOMPARE(dataSet.FieldByName("V").AsVariant(), atteso);
        dataSet.Cancel();
        tr.Rollback();
    }

    void untypedTextReadsAsSent_data() {
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("UTF8 literal") << "UTF8" << "SELECT 'è' FROM RDB$DATABASE" << "è";
        QTest::newRow("UTF8 cast") << "UTF8" << "SELECT CAST('Perché sì' AS VARCHAR(20)) FROM RDB$DATABASE"
                                   << "Perché sì";
        QTest::newRow("UTF8 concatenation") << "UTF8" << "SELECT 'Città' || ' € ß' FROM RDB$DATABASE" << "Città € ß";
        QTest::newRow("WIN1250 literal") << "WIN1250" << "SELECT 'Łódź čeština' FROM RDB$DATABASE" << "Łódź čeština";
        QTest::newRow("WIN1252 literal") << "WIN1252" << "SELECT 'Città €' FROM RDB$DATABASE" << "Città €";
        QTest::newRow("NONE literal") << "NONE" << "SELECT 'Città €' FROM RDB$DATABASE" << "Città €";
    }

    void untypedTextReadsAsSent() {
        QFETCH(QString, charset);
        QFETCH(QString, sql);
        QFETCH(QString, atteso);
        TFbDatabase db;
        Connetti(db, FDir.NuovoDatabase("untyped_" + charset + ".fdb", {}, charset));
        const TFbRow row = PrimaRiga(db, sql);
        QCOMPARE(row.value(0).toString(), atteso);
    }

    void namedCharsetsRoundTrip_data() {
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("testo");
        QTest::newRow("WIN1250") << "WIN1250" << "Łódź, Žluťoučký kůň";
        QTest::newRow("ISO8859_2") << "ISO8859_2" << "Zażółć gęślą jaźń";
        QTest::newRow("DOS850") << "DOS850" << "Città ÄÖÜ ß ½";
        QTest::newRow("WIN1251") << "WIN1251" << "Съешь же ещё";
        QTest::newRow("KOI8R") << "KOI8R" << "Съешь же ещё";
    }

    // Parameters, literals, text blobs and CHAR padding in a column of each character set, and in a
    // database whose default character set it is.
    void namedCharsetsRoundTrip() {
        QFETCH(QString, charset);
        QFETCH(QString, testo);
        TFbDatabase db;
        Connetti(db, FDir.NuovoDatabase("named_" + charset + ".fdb", {}, charset));
        EseguiSQL(db, "CREATE TABLE W (V VARCHAR(40), C CHAR(30), M BLOB SUB_TYPE 1, U VARCHAR(40) CHARACTER SET UTF8)");
        TFbTransaction tr(&db);
        tr.Start();
        TFbSQL ins(&db, &tr);
        ins.SetSQL({"INSERT INTO W (V, C, M, U) VALUES (:T, :T, :T, :T)"});
        ins.SetParam("T", testo);
        ins.ExecQuery();
        tr.Commit();
        const TFbRow row = PrimaRiga(db, "SELECT V, C, M, U, OCTET_LENGTH(V) FROM W");
        QCOMPARE(row.value(0).toString(), testo);
        QCOMPARE(row.value(1).toString(), testo.leftJustified(30));
        QCOMPARE(row.value(2).toString(), testo);
        QCOMPARE(row.value(3).toString(), testo);
        QCOMPARE(row.value(4).toInt(), int(testo.size()));  // one byte a character: stored in its own set
        // a literal in the statement text travels in the database's character set
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM W WHERE V = '" + testo + "'"), QString("1"));
    }

    void charsetWithoutConverterIsAClearError_data() {
        QTest::addColumn<QString>("charset");
        QTest::newRow("CYRL") << "CYRL";
        QTest::newRow("NEXT") << "NEXT";
    }

    void charsetWithoutConverterIsAClearError() {
        QFETCH(QString, charset);
        TFbDatabase db;
        Connetti(db, FDir.NuovoDatabase("noconv_" + charset + ".fdb", {}));
        EseguiSQL(db, "CREATE TABLE X (ID INTEGER, DESCR VARCHAR(10) CHARACTER SET " + charset + ")");
        EseguiSQL(db, "INSERT INTO X (ID, DESCR) VALUES (1, 'abc')");
        TFbTransaction tr(&db);
        TFbSQL sel(&db, &tr);
        sel.SetSQL({"SELECT ID, DESCR FROM X"});
        try {
            sel.ExecQuery();
            QFAIL("a column without a converter was read");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(), "Campo DESCR:\nSet di caratteri " + charset + " non supportato: nessun convertitore di testo");
        }
        TFbSQL ins(&db, &tr);
        ins.SetSQL({"UPDATE X SET DESCR = :D"});
        ins.SetParam("D", "xyz");
        try {
            ins.ExecQuery();
            QFAIL("a parameter without a converter was sent");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(), "Set di caratteri " + charset + " non supportato: nessun convertitore di testo");
        }
        // the other columns stay readable
        QCOMPARE(ValoreSQL(db, "SELECT ID FROM X"), QString("1"));
    }

    void exactDecimals_data() {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<qint64>("intero");
        QTest::newRow("NUMERIC(18,4) large") << "NUMERIC(18,4)" << "12345678901234.5678" << Q_INT64_C(12345678901234);
        QTest::newRow("NUMERIC(18,4) smallest") << "NUMERIC(18,4)" << "-922337203685477.5808"
                                                << Q_INT64_C(-922337203685477);
        QTest::newRow("DECIMAL(18,2) cents") << "DECIMAL(18,2)" << "0.10" << Q_INT64_C(0);
        QTest::newRow("NUMERIC(9,3) negative") << "NUMERIC(9,3)" << "-0.050" << Q_INT64_C(0);
        QTest::newRow("NUMERIC(9,3) integer") << "NUMERIC(9,3)" << "-123456.789" << Q_INT64_C(-123456);
        QTest::newRow("NUMERIC(4,2) smallint") << "NUMERIC(4,2)" << "-327.68" << Q_INT64_C(-327);
        QTest::newRow("NUMERIC(4,2) trailing zero") << "NUMERIC(4,2)" << "12.30" << Q_INT64_C(12);
    }

    // Written as decimal text, read back as the same text; the stored scaled integer is exact.
    void exactDecimals() {
        QFETCH(QString, tipo);
        QFETCH(QString, testo);
        QFETCH(qint64, intero);
        TFbDatabase db;
        Connetti(db, FDir.NuovoDatabase("decimali_" + QString(QTest::currentDataTag()).replace(' ', '_').remove('(')
                                                                  .remove(')').remove(',') + ".fdb", {}));
        EseguiSQL(db, "CREATE TABLE N (ID INTEGER, V " + tipo + ")");
        EseguiSQL(db, "INSERT INTO N (ID, V) VALUES (1, " + testo + ")");
        TFbTransaction tr(&db);
        tr.Start();
        TFbSQL sel(&db, &tr);
        sel.SetSQL({"SELECT V FROM N WHERE ID = 1"});
        sel.ExecQuery();
        QCOMPARE(sel.Field(0).AsVariant(), QVariant(testo));
        QCOMPARE(sel.Field(0).AsString(), testo);
        QCOMPARE(sel.Field(0).AsInt64(), intero);
        QCOMPARE(sel.Field(0).AsDouble(), testo.toDouble());
        const QVariant letto = sel.Field(0).AsVariant();
        sel.Close();
        // the value read goes back as a parameter without losing a digit
        TFbSQL ins(&db, &tr);
        ins.SetSQL({"INSERT INTO N (ID, V) VALUES (2, :V)"});
        ins.SetParam("V", letto);
        ins.ExecQuery();
        tr.Commit();
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM N A JOIN N B ON A.V = B.V AND B.ID = 2 WHERE A.ID = 1"),
                 QString("1"));
        QCOMPARE(ValoreSQL(db, "SELECT V FROM N WHERE ID = 2"), testo);
    }

};

QTEST_GUILESS_MAIN(TestFbValori)
#include "tst_fbvalori.moc"
