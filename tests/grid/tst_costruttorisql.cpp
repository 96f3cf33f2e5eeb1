// The grid's SQL text routines: list items, blanks, date literals, table names and update statements.
#include "db/FbDataSet.h"
#include "db/FbTransaction.h"
#include "grid/CostruttoriSQL.h"
#include "tests/support/TestDb.h"

#include <QtTest>

class TestCostruttoriSQL : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;

private slots:
    void initTestCase() {
        Connetti(FDb, FDir.NuovoDatabase("archivio.fdb", DemoData::ScriptArchivio()));
        EseguiSQL(FDb, "CREATE TABLE PROVA (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(10), C DATE)");
    }

    void estraiElemento_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("separatore");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("first") << "CODICE;NOME" << 1 << ";" << "CODICE";
        QTest::newRow("second") << "CODICE;NOME" << 2 << ";" << "NOME";
        QTest::newRow("past the end") << "CODICE;NOME" << 3 << ";" << "";
        QTest::newRow("blank after separator") << "CODICE; NOME" << 2 << ";" << "NOME";
        QTest::newRow("zero") << "CODICE;NOME" << 0 << ";" << "";
        QTest::newRow("256 is 0") << "CODICE;NOME" << 256 << ";" << "";
        QTest::newRow("257 is 1") << "CODICE;NOME" << 257 << ";" << "CODICE";
        QTest::newRow("negative uses low byte") << "CODICE;NOME" << -254 << ";" << "NOME";
        QTest::newRow("blank inside") << "DATA DOC;NUMERO" << 1 << ";" << "DATADOC";
        QTest::newRow("two separators in a row") << "A;;B" << 2 << ";" << "";
        QTest::newRow("after the empty item") << "A;;B" << 3 << ";" << "B";
        QTest::newRow("empty text") << "" << 1 << ";" << "";
        QTest::newRow("no separator") << " SOLO " << 1 << ";" << "SOLO";
        QTest::newRow("two-character separator") << "A--B--C" << 2 << "--" << "-B";
        QTest::newRow("empty separator") << "ABC" << 1 << "" << "";
    }
    void estraiElemento() {
        QFETCH(QString, testo);
        QFETCH(int, n);
        QFETCH(QString, separatore);
        QFETCH(QString, atteso);
        QCOMPARE(EstraiElemento(testo, n, separatore), atteso);
    }

    void estraiElementoReachesItem255() {
        QStringList voci;
        for (int i = 1; i <= 255; ++i) voci << QString("C%1").arg(i);
        QCOMPARE(EstraiElemento(voci.join(';'), 255, ";"), "C255");
    }

    void togliSpazi() {
        QCOMPARE(TogliSpazi(" a b  c "), "abc");
        QCOMPARE(TogliSpazi("a\tb"), "a\tb");  // only U+0020
        QCOMPARE(TogliSpazi(""), "");
    }

    void dataSQL_data() {
        QTest::addColumn<QDate>("data");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("month first") << QDate(2024, 1, 31) << "'01/31/2024'";
        QTest::newRow("leading zeros") << QDate(987, 7, 4) << "'07/04/0987'";
    }
    void dataSQL() {
        QFETCH(QDate, data);
        QFETCH(QString, atteso);
        QCOMPARE(DataSQL(data), atteso);
    }

    void dataSQLIsReadAsMonthDayYear() {
        // 4 March: a day.month.year reading would give 3 April
        QCOMPARE(ValoreSQL(FDb, "SELECT CAST(" + DataSQL(QDate(2024, 3, 4)) + " AS DATE) FROM RDB$DATABASE"),
                 TestoValore(QDate(2024, 3, 4)));
        QCOMPARE(ValoreSQL(FDb, "SELECT EXTRACT(MONTH FROM CAST(" + DataSQL(QDate(2024, 3, 4)) +
                                    " AS DATE)) FROM RDB$DATABASE"),
                 "3");
    }

    void nomeTabellaDaSQL_data() {
        QTest::addColumn<QStringList>("sql");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("quoted") << QStringList{"SELECT", "  *", "FROM", "  \"ZELSCANLOGLIGHT\""} << "ZELSCANLOGLIGHT";
        QTest::newRow("unquoted") << QStringList{"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT"} << "";
        QTest::newRow("lower-case from") << QStringList{"select * from \"T\""} << "";
        QTest::newRow("one quote") << QStringList{"SELECT * FROM \"T"} << "";
        QTest::newRow("quote later in the text") << QStringList{"SELECT * FROM T WHERE A=\"B\""} << "B";
        QTest::newRow("empty") << QStringList{} << "";
    }
    void nomeTabellaDaSQL() {
        QFETCH(QStringList, sql);
        QFETCH(QString, atteso);
        QCOMPARE(NomeTabellaDaSQL(sql), atteso);
    }

    void preparaSQLAggiornamento_data() {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QStringList>("modifica");
        QTest::addColumn<QStringList>("inserimento");
        const QStringList prima{"vecchio"};
        QTest::newRow("update in lower case")
            << "update" << QStringList{"UPDATE \"PROVA\"", "SET", "A=:A,", "B=:B,", "C=:C"} << prima;
        QTest::newRow("INSERT") << "INSERT" << prima
                                << QStringList{"INSERT INTO \"PROVA\"", "(", "A,", "B,", "C", ")", "VALUES", "(", ":A,",
                                               ":B,", ":C", ")"};
        QTest::newRow("other kind") << "DELETE" << prima << prima;
    }
    void preparaSQLAggiornamento() {
        QFETCH(QString, tipo);
        QFETCH(QStringList, modifica);
        QFETCH(QStringList, inserimento);
        TFbTransaction tr(&FDb);
        TFbQuery query;
        query.SetDatabase(&FDb);
        query.SetTransaction(&tr);
        query.SQL = QStringList{"SELECT A, B, C", "FROM PROVA"};
        TFbUpdateSQL aggiornamento;
        aggiornamento.ModifySQL = aggiornamento.InsertSQL = QStringList{"vecchio"};
        PreparaSQLAggiornamento(query, "PROVA", tipo, aggiornamento);
        QCOMPARE(aggiornamento.ModifySQL, modifica);
        QCOMPARE(aggiornamento.InsertSQL, inserimento);
        QVERIFY(!query.Active());
    }

    // The statements post real rows once the caller adds the WHERE clause.
    void preparedStatementsWriteRows() {
        TFbTransaction tr(&FDb);
        TFbQuery query;
        query.SetDatabase(&FDb);
        query.SetTransaction(&tr);
        query.SQL = QStringList{"SELECT * FROM STOPOS1", "WHERE CODICEPROGETTO=534"};
        TFbUpdateSQL aggiornamento;
        PreparaSQLAggiornamento(query, "STOPOS1", "INSERT", aggiornamento);
        PreparaSQLAggiornamento(query, "STOPOS1", "UPDATE", aggiornamento);
        aggiornamento.ModifySQL << "WHERE CODICEPROGETTO=:OLD_CODICEPROGETTO AND CODICESITUAZIONE=:OLD_CODICESITUAZIONE"
                                << "AND CODICEUTENTE=:OLD_CODICEUTENTE";
        query.UpdateObject = &aggiornamento;
        query.Open();
        query.Append();
        query.SetFieldValue("CODICEPROGETTO", 534);
        query.SetFieldValue("CODICESITUAZIONE", 1);
        query.SetFieldValue("CODICEUTENTE", 5);
        query.SetFieldValue("POSX", 10);
        query.Post();
        query.Edit();
        query.SetFieldValue("POSY", 20);
        query.Post();
        tr.Commit();
        QCOMPARE(ValoreSQL(FDb, "SELECT POSX || '/' || POSY FROM STOPOS1 WHERE CODICEUTENTE=5"), "10/20");
    }

    void badQueryRaises() {
        TFbTransaction tr(&FDb);
        TFbQuery query;
        query.SetDatabase(&FDb);
        query.SetTransaction(&tr);
        query.SQL = QStringList{"SELECT * FROM NONESISTE"};
        TFbUpdateSQL aggiornamento;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, PreparaSQLAggiornamento(query, "NONESISTE", "UPDATE", aggiornamento));
        QVERIFY(aggiornamento.ModifySQL.isEmpty());
    }
};

QTEST_MAIN(TestCostruttoriSQL)
#include "tst_costruttorisql.moc"
