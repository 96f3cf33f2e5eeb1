// The grid's settings tables: only the missing ones are created, and they take the rows the grid writes.
#include "db/FbScript.h"
#include "db/FbTransaction.h"
#include "db/PtqTabX.h"
#include "grid/TabelleGriglia.h"
#include "tests/support/TestDb.h"

#include <QFile>
#include <QtTest>

namespace {

QString ContaTabelleUtente(TFbDatabase& db) {
    return ValoreSQL(db, "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG=0 AND RDB$VIEW_BLR IS NULL");
}

bool Esiste(TFbDatabase& db, const QString& tabella) {
    return ValoreSQL(db, "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='" + tabella + "'") == "1";
}

}  // namespace

class TestTabelleGriglia : public QObject {
    Q_OBJECT
    TTestDir FDir;
    int FNumero = 0;

private slots:
    void onlyMissingTablesAreCreated_data() {
        QTest::addColumn<QStringList>("mancanti");
        QTest::newRow("none missing") << QStringList{};
        QTest::newRow("TABX missing") << QStringList{"TABX"};
        QTest::newRow("STOASP1 and SETGRID missing") << QStringList{"STOASP1", "SETGRID"};
        QTest::newRow("three missing") << QStringList{"STOASP1", "STOPOS1", "TABX"};
        QTest::newRow("all missing") << QStringList{"STOASP1", "STOPOS1", "SETGRID", "TABX"};
    }
    void onlyMissingTablesAreCreated() {
        QFETCH(QStringList, mancanti);
        TFbDatabase db;
        Connetti(db, FDir.NuovoDatabase(QString("archivio%1.fdb").arg(++FNumero), DemoData::ScriptArchivio()));
        for (const QString& t : mancanti) EseguiSQL(db, "DROP TABLE " + t);
        // A row in every table still present must come through untouched.
        const QStringList righe{"INSERT INTO STOASP1 (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,NOMECAMPO) VALUES (1,1,1,'A')",
                                "INSERT INTO STOPOS1 (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,POSX) VALUES (1,1,1,7)",
                                "INSERT INTO SETGRID (CODICEPROGETTO,CODICEUTENTE,COLORECAMPOORD) VALUES (1,1,255)",
                                "INSERT INTO TABX (CODICE,NOME,TESTO) VALUES (1,'N','T')"};
        const QStringList tabelle{"STOASP1", "STOPOS1", "SETGRID", "TABX"};
        for (int i = 0; i < tabelle.size(); ++i) {
            if (!mancanti.contains(tabelle[i])) EseguiSQL(db, righe[i]);
        }
        const int prima = ContaTabelleUtente(db).toInt();

        CheckTabPtqGrid(&db);

        QCOMPARE(ContaTabelleUtente(db).toInt(), prima + mancanti.size());
        for (const QString& t : tabelle) {
            QVERIFY2(Esiste(db, t), qPrintable(t));
            QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM " + t), mancanti.contains(t) ? "0" : "1");
        }
    }

    void secondRunChangesNothing() {
        TFbDatabase db;
        Connetti(db, FDir.NuovoDatabase("vuoto.fdb", {}));
        CheckTabPtqGrid(&db);
        const QString tabelle = ContaTabelleUtente(db);
        QCOMPARE(tabelle, "4");
        CheckTabPtqGrid(&db);
        QCOMPARE(ContaTabelleUtente(db), tabelle);
    }

    void createdTablesTakeTheGridsRows() {
        // The archive schema brings the generator TABX needs; the grid tables come from the grid.
        TFbDatabase db;
        Connetti(db, FDir.NuovoDatabase("nuovo.fdb", {"archive_schema"}));
        QVERIFY(!Esiste(db, "TABX"));
        CheckTabPtqGrid(&db);
        EseguiSQL(db, "INSERT INTO STOASP1 VALUES (534,-1,5,'DATAINVIO',120,0,'Data invio',-20,1,-16777202,'ZELSCANLOGLIGHT.DATAINVIO')");
        EseguiSQL(db, "INSERT INTO STOPOS1 (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,POSX,POSY,INFO1,INFO3,INFO4) "
                      "VALUES (534,1,5,-20,300,2,1,0)");
        EseguiSQL(db, "INSERT INTO SETGRID VALUES (534,5,-16777215,65535,1,0,255)");
        TPtqTabX tabx;
        tabx.SetDatabase(&db);
        tabx.SetParametroTesto("DisabilitaMemPosGriglie", "1", 5);
        tabx.SetParametroMemo("Note", QString(5000, 'x'), 0);
        QCOMPARE(ValoreSQL(db, "SELECT ORDINAMENTO FROM STOASP1"), "-20");
        QCOMPARE(ValoreSQL(db, "SELECT COLORECOLONNA FROM STOASP1"), "-16777202");
        QCOMPARE(ValoreSQL(db, "SELECT COLORERECORDSELEZ FROM SETGRID"), "-16777215");
        QCOMPARE(tabx.GetParametroTesto("DisabilitaMemPosGriglie", 5), "1");
        QCOMPARE(tabx.GetParametroMemo("Note", 0).size(), 5000);
    }

    void failingCheckRaisesAndCommitsNothing() {
        TFbDatabase db;
        Connetti(db, FDir.NuovoDatabase("bloccato.fdb", {}));
        // Another table already owns the name of TABX's primary key.
        EseguiSQL(db, "CREATE TABLE ALTRA (X INTEGER NOT NULL, CONSTRAINT TABX_CHIAVEPRIMARIA PRIMARY KEY (X))");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, CheckTabPtqGrid(&db));
        QVERIFY(!Esiste(db, "STOASP1"));  // created before the failure, never committed
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, CheckTabPtqGrid(nullptr));
    }

    // The demo and test databases get the same tables from sql/grid_tables.sql.
    void scriptMatchesTheGridsStatements() {
        QFile file(ZEL_GRID_TABLES_SQL);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList script = SplitScript(QString::fromUtf8(file.readAll()));
        QCOMPARE(script.size(), TabelleGriglia().size());
        for (int i = 0; i < script.size(); ++i) {
            QString atteso = TabelleGriglia()[i].Creazione.join('\n');
            if (atteso.endsWith(';')) atteso.chop(1);
            QCOMPARE(script[i], atteso);
        }
    }
};

QTEST_MAIN(TestTabelleGriglia)
#include "tst_tabellegriglia.moc"
