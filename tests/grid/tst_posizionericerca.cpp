// The search dialog's remembered place and options: the row read, written only when something
// changed, per situation, and applied to a real dialog.
#include "controls/RadioGroup.h"
#include "db/FbDataSet.h"
#include "db/FbTransaction.h"
#include "grid/PosizioneRicerca.h"
#include "grid/RPtqGrid.h"
#include "tests/support/TestDb.h"

#include <QCheckBox>
#include <QScreen>
#include <QtTest>

class TestPosizioneRicerca : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;

    TLuogoPosizione Luogo(int situazione = 1) { return {&FDb, "STOPOS1", 534, situazione, 5}; }
    // The stored row as "POSX POSY INFO3 INFO4 INFO1", empty when there is none.
    QString Riga(int situazione = 1) {
        return ValoreSQL(FDb, "SELECT POSX || ' ' || POSY || ' ' || INFO3 || ' ' || INFO4 || ' ' || CAST(INFO1 AS INTEGER)"
                              " FROM STOPOS1 WHERE CODICEPROGETTO=534 AND CODICEUTENTE=5 AND CODICESITUAZIONE=" +
                              QString::number(situazione));
    }

private slots:
    void initTestCase() { Connetti(FDb, FDir.NuovoDatabase("impostazioni.fdb", DemoData::ScriptArchivio())); }
    void init() { EseguiSQL(FDb, "DELETE FROM STOPOS1"); }

    void statements() {
        QCOMPARE(SQLPosizioneRicerca(Luogo()), (QStringList{"SELECT * FROM \"STOPOS1\"", "WHERE (CodiceSituazione=1)",
                                                            "AND (CodiceUtente=5)", "AND (CodiceProgetto=534)"}));
        TFbTransaction tr(&FDb);
        tr.Start();
        TFbQuery q;
        q.SetDatabase(&FDb);
        q.SetTransaction(&tr);
        q.SQL = SQLPosizioneRicerca(Luogo());
        TFbUpdateSQL agg;
        PreparaAggiornamentoPosizione(q, Luogo(), agg);
        QCOMPARE(agg.ModifySQL,
                 (QStringList{"UPDATE \"STOPOS1\"", "SET", "CODICEPROGETTO=:CODICEPROGETTO,",
                              "CODICESITUAZIONE=:CODICESITUAZIONE,", "CODICEUTENTE=:CODICEUTENTE,", "POSX=:POSX,",
                              "POSY=:POSY,", "DIMX=:DIMX,", "DIMY=:DIMY,", "INFO1=:INFO1,", "INFO2=:INFO2,",
                              "INFO3=:INFO3,", "INFO4=:INFO4,", "INFO5=:INFO5,", "INFO6=:INFO6",
                              "WHERE (CodiceSituazione=1)", "AND (CodiceUtente=5)", "AND (CodiceProgetto=534)"}));
        QCOMPARE(agg.InsertSQL.first(), "INSERT INTO \"STOPOS1\"");
        QCOMPARE(agg.InsertSQL.last(), ")");
        tr.Rollback();
    }

    void firstCloseInsertsThenOnlyChangesWrite() {
        TPosizioneRicerca letta;
        QVERIFY(!LeggiPosizioneRicerca(Luogo(), letta));
        const TPosizioneRicerca p{120, 80, 1, true, 2};
        QVERIFY(ScriviPosizioneRicerca(Luogo(), p));
        QCOMPARE(Riga(), "120 80 1 1 2");
        QVERIFY(LeggiPosizioneRicerca(Luogo(), letta));
        QCOMPARE(letta, p);
        // nothing changed: nothing written
        QVERIFY(!ScriviPosizioneRicerca(Luogo(), p));
        // "Upper" alone
        TPosizioneRicerca senzaUpper = p;
        senzaUpper.Upper = false;
        QVERIFY(ScriviPosizioneRicerca(Luogo(), senzaUpper));
        QCOMPARE(Riga(), "120 80 1 0 2");
        QVERIFY(ScriviPosizioneRicerca(Luogo(), p));
        QCOMPARE(Riga(), "120 80 1 1 2");
        QCOMPARE(ValoreSQL(FDb, "SELECT COUNT(*) FROM STOPOS1"), "1");
    }

    void columnsNotOursAreKept() {
        EseguiSQL(FDb, "INSERT INTO STOPOS1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, POSX, DIMX, INFO2, INFO5)"
                       " VALUES (534, 1, 5, 10, 300, 2.5, 'altro')");
        TPosizioneRicerca letta{1, 1, 1, true, 1};
        QVERIFY(LeggiPosizioneRicerca(Luogo(), letta));
        QCOMPARE(letta, (TPosizioneRicerca{10, 0, 0, false, 0}));  // nulls read as 0
        QVERIFY(ScriviPosizioneRicerca(Luogo(), {10, 20, 2, true, 1}));
        QCOMPARE(Riga(), "10 20 2 1 1");
        QCOMPARE(ValoreSQL(FDb, "SELECT DIMX || ' ' || INFO2 || ' ' || INFO5 || ' ' || COALESCE(DIMY, 'null') FROM STOPOS1"),
                 "300 2.5000000 altro null");
    }

    void negativeSituationLeavesThePositiveRowAlone() {
        QVERIFY(ScriviPosizioneRicerca(Luogo(1), {100, 100, 0, true, 1}));
        QVERIFY(ScriviPosizioneRicerca(Luogo(-1), {300, 200, 1, false, 0}));
        QVERIFY(ScriviPosizioneRicerca(Luogo(-1), {310, 210, 1, false, 0}));
        QCOMPARE(Riga(1), "100 100 0 1 1");
        QCOMPARE(Riga(-1), "310 210 1 0 0");
    }

    void dialogCentredWithoutRow() {
        TRPtqGridForm dialogo;
        CaricaPosizioneRicerca(dialogo, Luogo());
        QCOMPARE(dialogo.frameGeometry().center(), dialogo.screen()->availableGeometry().center());
        QCOMPARE(dialogo.EditTipoRicerca->ItemIndex(), 0);
        QVERIFY(dialogo.EditUpper->isChecked());
        QCOMPARE(dialogo.EditOrdinamento->ItemIndex(), 1);
    }

    void dialogAtItsRowAndSavedBack() {
        QVERIFY(ScriviPosizioneRicerca(Luogo(), {40, 60, 2, false, 0}));
        TRPtqGridForm dialogo;
        CaricaPosizioneRicerca(dialogo, Luogo());
        QCOMPARE(dialogo.pos(), QPoint(40, 60));
        QCOMPARE(dialogo.EditTipoRicerca->ItemIndex(), 2);
        QVERIFY(!dialogo.EditUpper->isChecked());
        QCOMPARE(dialogo.EditOrdinamento->ItemIndex(), 0);
        dialogo.move(50, 70);
        dialogo.EditOrdinamento->SetItemIndex(2);
        SalvaPosizioneRicerca(dialogo, Luogo());
        QCOMPARE(Riga(), "50 70 2 0 2");
    }

    void missingTableRaises() {
        TLuogoPosizione luogo = Luogo();
        luogo.Tabella = "NONCE";
        TPosizioneRicerca p;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, LeggiPosizioneRicerca(luogo, p));
    }
};

QTEST_MAIN(TestPosizioneRicerca)
#include "tst_posizionericerca.moc"
