// The column layout memory: its statements, the change test, the save and the restore on a real
// archive, and the layout memory switched off for a user.
#include "db/FbTransaction.h"
#include "grid/AspettoGriglia.h"
#include "grid/CostruttoriSQL.h"
#include "grid/ModelloGriglia.h"
#include "grid/PtqGrid.h"
#include "tests/support/TestDb.h"
#include "tests/support/TestiTagliati.h"

#include <QHeaderView>
#include <QScreen>
#include <QtTest>
#include <algorithm>

namespace {

const QStringList CinqueCampi{"SELECT ID, DATOINPUT, NR_MACCHINA, DATAORA, STATUS FROM ZELSCANLOGLIGHT"};

// The stored rows of a key, one text per row: name, position, width, caption, mark, visible, colour, origin.
QStringList Righe(TFbDatabase& db, int situazione, int utente) {
    TFbTransaction tr(&db);
    tr.Start();
    TFbSQL q(&db, &tr);
    q.SetSQL({QString("SELECT NOMECAMPO, POSIZIONE, LARGHEZZA, NOMECOLONNA, ORDINAMENTO, VISIBILE, COLORECOLONNA, ORIGINE "
                      "FROM STOASP1 WHERE CODICEPROGETTO=534 AND CODICESITUAZIONE=%1 AND CODICEUTENTE=%2 ORDER BY POSIZIONE")
                  .arg(situazione)
                  .arg(utente)});
    QStringList righe;
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
        QStringList valori;
        for (int i = 0; i < 8; ++i) valori << (q.Field(i).IsNull() ? "null" : q.Field(i).AsString());
        righe << valori.join('|');
    }
    tr.Rollback();
    return righe;
}

TColonnaAspetto Colonna(const QString& nome, int larghezza) { return {nome, "T." + nome, larghezza, nome, 0, true}; }

TRigaAspetto Riga(const QString& nome, int posizione, int larghezza, QVariant ordinamento = {}) {
    TRigaAspetto r;
    r.NomeCampo = nome;
    r.Posizione = posizione;
    r.Larghezza = larghezza;
    r.Ordinamento = ordinamento;
    return r;
}

}  // namespace

class TestAspettoGriglia : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TFbTransaction FTr{&FDb};
    int FUtente = 10;

    // A grid on a query of the archive, bound for project 534, situation 1 and a user of its own.
    struct TBanco {
        TFbQuery Query;
        TPtqGrid Grid;
    };
    std::unique_ptr<TBanco> Banco(const QStringList& sql, int utente, int situazione = 1) {
        auto b = std::make_unique<TBanco>();
        b->Query.SetDatabase(&FDb);
        b->Query.SetTransaction(&FTr);
        b->Query.SQL = sql;
        b->Grid.SetCodiceProgetto(534);
        b->Grid.SetSituazione(situazione);
        b->Grid.SetUtente(utente);
        b->Grid.SetOrderBy(false);
        b->Grid.SetSorgenteDati(&b->Query);
        b->Grid.resize(800, 300);
        return b;
    }

private slots:
    // UTF8, so that a column alias may hold a letter outside a to z
    void initTestCase() { Connetti(FDb, FDir.NuovoArchivioDemo("archivio.fdb", "UTF8")); }

    void statements() {
        const TChiaveImpostazioni chiave{"STOASP1", 534, -1, 7};
        const QStringList where{"WHERE (CodiceSituazione=-1)", "AND (CodiceUtente=7)", "AND (CodiceProgetto=534)"};
        QCOMPARE(LineeLetturaAspetto(chiave, true),
                 QStringList{"SELECT * FROM \"STOASP1\""} + where + QStringList{"ORDER BY Posizione"});
        QCOMPARE(LineeLetturaAspetto(chiave, false), QStringList{"SELECT * FROM \"STOASP1\""} + where);
        QCOMPARE(LineeCancellaAspetto(chiave), QStringList{"DELETE FROM \"STOASP1\""} + where);
        QCOMPARE(LineeInserisciAspetto(chiave),
                 (QStringList{"INSERT INTO STOASP1(", "CODICEPROGETTO,", "CODICESITUAZIONE,", "CODICEUTENTE,", "NOMECAMPO,",
                              "LARGHEZZA,", "POSIZIONE,", "NOMECOLONNA,", "ORDINAMENTO,", "VISIBILE,", "COLORECOLONNA,",
                              "ORIGINE", ")", "VALUES(", "534,", "-1,", "7,", ":NOMECAMPO,", ":LARGHEZZA,", ":POSIZIONE,",
                              ":NOMECOLONNA,", ":ORDINAMENTO,", ":VISIBILE,", ":COLORECOLONNA,", ":ORIGINE", ")"}));
    }

    void upperCaseOnlyAtoZ() { QCOMPARE(MaiuscoloAZ("città_ß-ok9é"), "CITTà_ß-OK9é"); }

    void changeTest_data() {
        QTest::addColumn<QVector<TRigaAspetto>>("righe");
        QTest::addColumn<int>("modalita");  // single sort on B ascending (1), or list B+, A- (2)
        QTest::addColumn<bool>("cambiato");
        const QVector<TRigaAspetto> singolo{Riga("A", 0, 50), Riga("B", 1, 60, 1), Riga("C", 2, 70)};
        const QVector<TRigaAspetto> lista{Riga("A", 0, 50, -20), Riga("B", 1, 60, 10), Riga("C", 2, 70)};
        QTest::newRow("same, single") << singolo << 1 << false;
        QTest::newRow("same, list") << lista << 2 << false;
        QTest::newRow("one row fewer") << singolo.mid(0, 2) << 1 << true;
        auto cambia = [](QVector<TRigaAspetto> r, int i, auto f) { f(r[i]); return r; };
        QTest::newRow("other name") << cambia(singolo, 2, [](TRigaAspetto& r) { r.NomeCampo = "D"; }) << 1 << true;
        QTest::newRow("other position") << cambia(singolo, 2, [](TRigaAspetto& r) { r.Posizione = 5; }) << 1 << true;
        QTest::newRow("other width") << cambia(singolo, 0, [](TRigaAspetto& r) { r.Larghezza = 51; }) << 1 << true;
        QTest::newRow("caption, colour, visibility do not count")
            << cambia(singolo, 0, [](TRigaAspetto& r) { r.NomeColonna = "x"; r.Colore = 5; r.Visibile = false; }) << 1
            << false;
        QTest::newRow("single: direction") << cambia(singolo, 1, [](TRigaAspetto& r) { r.Ordinamento = 2; }) << 1 << true;
        QTest::newRow("single: null mark on the sort field") << cambia(singolo, 1, [](TRigaAspetto& r) { r.Ordinamento = {}; })
                                                           << 1 << true;
        QTest::newRow("single: an old mark elsewhere is not seen")
            << cambia(singolo, 2, [](TRigaAspetto& r) { r.Ordinamento = 2; }) << 1 << false;
        QTest::newRow("list: key rank") << cambia(lista, 0, [](TRigaAspetto& r) { r.Ordinamento = -30; }) << 2 << true;
        QTest::newRow("list: direction") << cambia(lista, 1, [](TRigaAspetto& r) { r.Ordinamento = -10; }) << 2 << true;
        QTest::newRow("list: single mark left") << cambia(lista, 1, [](TRigaAspetto& r) { r.Ordinamento = 1; }) << 2 << true;
    }
    void changeTest() {
        QFETCH(QVector<TRigaAspetto>, righe);
        QFETCH(int, modalita);
        QFETCH(bool, cambiato);
        const QVector<TColonnaAspetto> colonne{Colonna("a", 50), Colonna("B", 60), Colonna("C", 70)};
        TOrdinamentoGriglia ordinamento;
        ordinamento.ModalitaFunzionamento = 1;
        ordinamento.FCampoDiOrdinamento = "B";
        ordinamento.FTipoOrdinamento = 1;
        if (modalita == 2) {
            ordinamento.CambiaModalita(true);
            ordinamento.AggiungiVoce("a", "T.A", 0, 2);
        }
        QCOMPARE(AspettoCambiato(righe, colonne, ordinamento), cambiato);
    }

    // Five columns, nothing stored: five rows with positions 0 to 4; a second save writes nothing.
    void fiveColumnsSavedOnceThenUnchanged() {
        const int utente = ++FUtente;
        auto b = Banco(CinqueCampi, utente);
        b->Query.Open();
        for (int i = 0; i < 5; ++i) b->Grid.setColumnWidth(i, 100);
        b->Grid.setColumnWidth(1, 140);
        b->Grid.SalvaAspettoSuStorico();
        QCOMPARE(Righe(FDb, 1, utente),
                 (QStringList{"ID|0|100|ID|null|1|0|ZELSCANLOGLIGHT.ID",
                              "DATOINPUT|1|140|DATOINPUT|null|1|0|ZELSCANLOGLIGHT.DATOINPUT",
                              "NR_MACCHINA|2|100|NR_MACCHINA|null|1|0|ZELSCANLOGLIGHT.NR_MACCHINA",
                              "DATAORA|3|100|DATAORA|null|1|0|ZELSCANLOGLIGHT.DATAORA",
                              "STATUS|4|100|STATUS|null|1|0|ZELSCANLOGLIGHT.STATUS"}));
        // a caption changed behind the grid's back shows whether the next save rewrites the rows
        EseguiSQL(FDb, QString("UPDATE STOASP1 SET NOMECOLONNA='marcata' WHERE CODICEUTENTE=%1").arg(utente));
        const TChiaveImpostazioni chiave = b->Grid.ChiaveAspetto();
        QVERIFY(!SalvaAspetto(&FDb, chiave, b->Grid.Colonne().Colonne(), b->Grid.Ordinamento()));
        QCOMPARE(ValoreSQL(FDb, QString("SELECT COUNT(*) FROM STOASP1 WHERE NOMECOLONNA='marcata' AND CODICEUTENTE=%1").arg(utente)),
                 "5");
        // a width change rewrites every row, not only the changed one
        b->Grid.setColumnWidth(3, 77);
        QVERIFY(SalvaAspetto(&FDb, chiave, b->Grid.Colonne().Colonne(), b->Grid.Ordinamento()));
        QCOMPARE(ValoreSQL(FDb, QString("SELECT COUNT(*) FROM STOASP1 WHERE NOMECOLONNA='marcata' AND CODICEUTENTE=%1").arg(utente)),
                 "0");
        QCOMPARE(Righe(FDb, 1, utente).value(3), "DATAORA|3|77|DATAORA|null|1|0|ZELSCANLOGLIGHT.DATAORA");
        b->Query.Close();
    }

    void unchangedMultiColumnSortWritesNothing() {
        const int utente = ++FUtente;
        auto b = Banco(CinqueCampi, utente);
        b->Query.Open();
        TOrdinamentoGriglia& o = b->Grid.Ordinamento();
        o.ModalitaFunzionamento = 2;
        o.FOrdinamentoA = 0;
        o.AggiungiVoce("DATAORA", "ZELSCANLOGLIGHT.DATAORA", 3, 1);
        o.AggiungiVoce("NR_MACCHINA", "ZELSCANLOGLIGHT.NR_MACCHINA", 2, 2);
        const TChiaveImpostazioni chiave = b->Grid.ChiaveAspetto();
        QVERIFY(SalvaAspetto(&FDb, chiave, b->Grid.Colonne().Colonne(), o));
        QCOMPARE(ValoreSQL(FDb, QString("SELECT LIST(NOMECAMPO || '=' || ORDINAMENTO) FROM STOASP1 WHERE CODICEUTENTE=%1 "
                                        "AND ORDINAMENTO IS NOT NULL").arg(utente)),
                 "NR_MACCHINA=-20,DATAORA=10");
        QVERIFY(!SalvaAspetto(&FDb, chiave, b->Grid.Colonne().Colonne(), o));
        b->Query.Close();
    }

    // Names and captions are cut to the declared lengths, then names and origins upper-cased a to z.
    void textsCutToTheDeclaredLengths() {
        const int utente = ++FUtente;
        auto b = Banco({"SELECT DATOINPUT AS \"città\" FROM ZELSCANLOGLIGHT"}, utente);
        b->Query.Open();
        TColonneGriglia colonne = b->Grid.Colonne();
        colonne.ImpostaColonna(0, 90, QString(40, 'c'), 0, true);
        b->Grid.SalvaAspettoSuStorico();
        QCOMPARE(Righe(FDb, 1, utente),
                 QStringList{"CITTà|0|90|" + QString(31, 'c') + "|null|1|0|ZELSCANLOGLIGHT.DATOINPUT"});
        TLunghezzeAspetto lunghezze;
        LeggiAspetto(&FDb, b->Grid.ChiaveAspetto(), true, &lunghezze);
        QCOMPARE(lunghezze.NomeCampo, 31);
        QCOMPARE(lunghezze.Origine, 64);
        QCOMPARE(lunghezze.NomeColonna, 31);
        b->Query.Close();
    }

    // The restore moves fields, sets widths, captions, colours and visibility; a row for a
    // field the query no longer has is skipped and the others still apply.
    void restoreAppliesWhatFits() {
        const int utente = ++FUtente;
        const QString inserisci = "INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO, LARGHEZZA, "
                                  "POSIZIONE, NOMECOLONNA, ORDINAMENTO, VISIBILE, COLORECOLONNA, ORIGINE) VALUES (534, 1, %1, %2)";
        for (const char* valori : {"'STATUS', 55, 0, 'Stato', NULL, 1, 255, 'ZELSCANLOGLIGHT.STATUS'",
                                      "'SPARITO', 66, 1, 'Sparito', NULL, 1, 0, 'ZELSCANLOGLIGHT.SPARITO'",
                                      "'ID', 44, 1, 'Numero', NULL, 1, 0, 'ZELSCANLOGLIGHT.ID'",
                                      "'DATAORA', 120, 2, 'Quando', NULL, 0, 0, 'ZELSCANLOGLIGHT.DATAORA'",
                                      "'NR_MACCHINA', 33, 9, 'Fuori', NULL, 1, 0, 'ZELSCANLOGLIGHT.NR_MACCHINA'"})
            EseguiSQL(FDb, inserisci.arg(utente).arg(valori));
        auto b = Banco(CinqueCampi, utente);
        b->Query.Open();
        TColonneGriglia colonne = b->Grid.Colonne();
        QCOMPARE(colonne.NomiCampi(), (QStringList{"STATUS", "ID", "DATAORA", "DATOINPUT", "NR_MACCHINA"}));
        const QVector<TColonnaAspetto> c = colonne.Colonne();
        QCOMPARE(c[0].Larghezza, 55);
        QCOMPARE(c[0].NomeColonna, "Stato");
        QCOMPARE(c[0].Colore, 255);
        QCOMPARE(c[1].Larghezza, 44);
        QCOMPARE(c[1].NomeColonna, "Numero");
        QCOMPARE(c[1].Colore, 0);
        QVERIFY(!c[2].Visibile);
        QCOMPARE(c[2].Larghezza, 120);  // a hidden column keeps its width
        QCOMPARE(c[3].NomeColonna, "DATOINPUT");
        QCOMPARE(c[4].NomeColonna, "NR_MACCHINA");  // position 9 is beyond the last column

        // What a user sees: the caption in the title, the stored colour on the cells, the grid's own
        // colour where 0 is stored.
        QAbstractItemModel* m = b->Grid.model();
        const int stato = colonne.Campo(0), id = colonne.Campo(1);
        QCOMPARE(m->headerData(stato, Qt::Horizontal).toString(), "Stato");
        QCOMPARE(m->index(0, stato).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
        QVERIFY(!m->index(0, id).data(Qt::BackgroundRole).isValid());
        QVERIFY(b->Grid.isColumnHidden(colonne.Campo(2)));
        b->Query.Close();
    }

    // Every layout of five columns comes back whatever order the database returns its rows in.
    void restoredOrderWhateverTheReadOrder() {
        const QStringList campi{"A", "B", "C", "D", "E"};
        QStringList disposizione = campi;
        int casi = 0;
        do {
            QVector<TRigaAspetto> righe;
            for (int p = 0; p < disposizione.size(); ++p) righe << Riga(disposizione[p], p, 50);
            std::sort(righe.begin(), righe.end(), [](const TRigaAspetto& a, const TRigaAspetto& b) { return a.NomeCampo < b.NomeCampo; });
            do {
                QCOMPARE(OrdineColonne(campi, righe), disposizione);
                ++casi;
            } while (std::next_permutation(righe.begin(), righe.end(), [](const TRigaAspetto& a, const TRigaAspetto& b) {
                return a.NomeCampo < b.NomeCampo;
            }));
        } while (std::next_permutation(disposizione.begin(), disposizione.end()));
        QCOMPARE(casi, 120 * 120);
    }

    void restoredOrderOfIncompleteRows_data() {
        QTest::addColumn<QStringList>("righe");  // "name@position"
        QTest::addColumn<QStringList>("ordine");
        QTest::newRow("a new field fills the place left free") << QStringList{"C@0", "A@1", "D@3"}
                                                               << QStringList{"C", "A", "B", "D"};
        QTest::newRow("a gone field places nothing") << QStringList{"X@0", "D@1", "C@2"} << QStringList{"A", "D", "C", "B"};
        QTest::newRow("beyond the last column") << QStringList{"A@9", "D@0"} << QStringList{"D", "A", "B", "C"};
        QTest::newRow("names in another case") << QStringList{"d@0", "c@1", "b@2", "a@3"} << QStringList{"D", "C", "B", "A"};
        QTest::newRow("two rows on one place: the first read wins") << QStringList{"B@0", "C@0"}
                                                                    << QStringList{"B", "A", "C", "D"};
    }
    void restoredOrderOfIncompleteRows() {
        QFETCH(QStringList, righe);
        QFETCH(QStringList, ordine);
        QVector<TRigaAspetto> lette;
        for (const QString& r : righe) lette << Riga(r.section('@', 0, 0), r.section('@', 1).toInt(), 50);
        QCOMPARE(OrdineColonne({"A", "B", "C", "D"}, lette), ordine);
    }

    // Complete rows stored out of position order, in an order the database gives back as it is:
    // each column goes to its place with its own caption, and the next save finds nothing to write.
    void rowsStoredOutOfPositionOrder() {
        const int utente = ++FUtente;
        const QStringList inserite{"ID@0", "DATAORA@2", "NR_MACCHINA@1", "STATUS@3", "DATOINPUT@4"};
        for (const QString& r : inserite)
            EseguiSQL(FDb, QString("INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO, LARGHEZZA, "
                                   "POSIZIONE, NOMECOLONNA, VISIBILE, COLORECOLONNA, ORIGINE) VALUES (534, 1, %1, '%2', %3, %4, "
                                   "'Titolo %2', 1, 0, 'ZELSCANLOGLIGHT.%2')")
                               .arg(utente)
                               .arg(r.section('@', 0, 0))
                               .arg(60 + r.section('@', 1).toInt())
                               .arg(r.section('@', 1).toInt()));
        auto b = Banco(CinqueCampi, utente);
        QStringList lette;
        for (const TRigaAspetto& r : LeggiAspetto(&FDb, b->Grid.ChiaveAspetto(), false)) lette << r.NomeCampo;
        QCOMPARE(lette, (QStringList{"ID", "DATAORA", "NR_MACCHINA", "STATUS", "DATOINPUT"}));  // as stored
        b->Query.Open();
        TColonneGriglia colonne = b->Grid.Colonne();
        QCOMPARE(colonne.NomiCampi(), (QStringList{"ID", "NR_MACCHINA", "DATAORA", "STATUS", "DATOINPUT"}));
        for (int p = 0; p < 5; ++p) {
            QCOMPARE(colonne.Colonna(p).NomeColonna, "Titolo " + colonne.NomeCampo(p));
            QCOMPARE(colonne.Colonna(p).Larghezza, 60 + p);
        }
        QVERIFY(!SalvaAspetto(&FDb, b->Grid.ChiaveAspetto(), colonne.Colonne(), b->Grid.Ordinamento()));
        b->Query.Close();
    }

    // A row for a field the query no longer has, at a place no other row covers: the field that
    // takes that place keeps its own title, width and visibility, and the next save forgets the row.
    void staleRowAtAPlaceNoOtherRowCovers() {
        const int utente = ++FUtente;
        const QString inserisci = "INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO, LARGHEZZA, "
                                  "POSIZIONE, NOMECOLONNA, ORDINAMENTO, VISIBILE, COLORECOLONNA, ORIGINE) VALUES (534, 1, %1, %2)";
        for (const char* valori : {"'ID', 50, 0, 'Numero', NULL, 1, 0, 'ZELSCANLOGLIGHT.ID'",
                                   "'DATOINPUT', 51, 1, 'Serie', NULL, 1, 0, 'ZELSCANLOGLIGHT.DATOINPUT'",
                                   "'TOLTA', 33, 2, 'Tolta', NULL, 0, 255, 'ZELSCANLOGLIGHT.TOLTA'",
                                   "'NR_MACCHINA', 53, 3, 'Macchina', NULL, 1, 0, 'ZELSCANLOGLIGHT.NR_MACCHINA'",
                                   "'DATAORA', 54, 4, 'Quando', NULL, 1, 0, 'ZELSCANLOGLIGHT.DATAORA'"})
            EseguiSQL(FDb, inserisci.arg(utente).arg(valori));
        auto b = Banco(CinqueCampi, utente);
        b->Query.Open();
        TColonneGriglia colonne = b->Grid.Colonne();
        QCOMPARE(colonne.NomiCampi(), (QStringList{"ID", "DATOINPUT", "STATUS", "NR_MACCHINA", "DATAORA"}));
        const TColonnaAspetto status = colonne.Colonna(2);
        QCOMPARE(status.NomeColonna, "STATUS");
        QVERIFY(status.Visibile);
        QCOMPARE(status.Colore, 0);
        QVERIFY(status.Larghezza != 33);
        QCOMPARE(colonne.Colonna(3).NomeColonna, "Macchina");
        b->Grid.SalvaAspettoSuStorico();
        QCOMPARE(ValoreSQL(FDb, QString("SELECT LIST(NOMECAMPO || ':' || NOMECOLONNA, ' ') FROM (SELECT NOMECAMPO, NOMECOLONNA "
                                        "FROM STOASP1 WHERE CODICEUTENTE=%1 ORDER BY POSIZIONE)").arg(utente)),
                 "ID:Numero DATOINPUT:Serie STATUS:STATUS NR_MACCHINA:Macchina DATAORA:Quando");
        b->Query.Close();
    }

    // Layout memory off: the first opening copies the situation 1 rows to situation -1; later
    // saves change only those; a new start with situation 1 shows the situation 1 layout again.
    void layoutMemoryDisabled() {
        const int utente = ++FUtente;
        EseguiSQL(FDb, QString("INSERT INTO TABX (CODICE, NOME, TESTO, UTENTE) VALUES (GEN_ID(CODICETABXCOUNTER, 1), "
                               "'DisabilitaMemPosGriglie', '1', %1)").arg(utente));
        {
            auto b = Banco(CinqueCampi, utente);
            QVERIFY(b->Grid.DisabilitaMemPosGriglie);
            // the positive rows as a user left them in an earlier session with memory on
            EseguiSQL(FDb, QString("INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO, LARGHEZZA, "
                                   "POSIZIONE, NOMECOLONNA, VISIBILE, COLORECOLONNA, ORIGINE) VALUES (534, 1, %1, 'STATUS', 58, 0, "
                                   "'Stato', 1, 0, 'ZELSCANLOGLIGHT.STATUS')").arg(utente));
            b->Query.Open();
            QCOMPARE(b->Grid.Situazione(), 1);
            QCOMPARE(b->Grid.ChiaveAspetto().Situazione, -1);
            QCOMPARE(Righe(FDb, -1, utente).value(0), "STATUS|0|58|Stato|null|1|0|ZELSCANLOGLIGHT.STATUS");
            QCOMPARE(Righe(FDb, -1, utente).size(), 5);
            b->Grid.setColumnWidth(b->Grid.Colonne().Campo(0), 99);
            b->Grid.SalvaAspettoSuStorico();
            b->Query.Close();
            QCOMPARE(Righe(FDb, -1, utente).value(0), "STATUS|0|99|Stato|null|1|0|ZELSCANLOGLIGHT.STATUS");
            QCOMPARE(Righe(FDb, 1, utente), QStringList{"STATUS|0|58|Stato|null|1|0|ZELSCANLOGLIGHT.STATUS"});
            b->Query.Open();  // the situation is negated once per setting
            QCOMPARE(b->Grid.ChiaveAspetto().Situazione, -1);
            QCOMPARE(b->Grid.Colonne().Colonna(0).Larghezza, 99);
            b->Query.Close();
        }
        auto b = Banco(CinqueCampi, utente);
        b->Query.Open();
        QCOMPARE(b->Grid.Colonne().Colonna(0).Larghezza, 58);
        b->Query.Close();
    }

    // With no stored layout every column starts as wide as its title and its values need: each
    // value of the rows shown whole, a date and time of any month too, except a long text, whose
    // column stops well short of the screen's width. The save stores those widths; a stored width
    // applies as it is, also one narrower than the values need.
    void baseWidths() {
        EseguiSQL(FDb, "CREATE TABLE LARGHEZZE (ID INTEGER, BREVE VARCHAR(2), IMPORTO NUMERIC(15,2), PICCOLO SMALLINT, "
                       "GIORNO DATE, QUANDO TIMESTAMP, ORA TIME, SI BOOLEAN, LUNGO VARCHAR(255), NOTA BLOB SUB_TYPE 1)");
        for (int mese = 1; mese <= 12; ++mese)
            EseguiSQL(FDb, QString("INSERT INTO LARGHEZZE VALUES (-2147483648, 'ab', -9999999999999.99, -32768, '2025-%1-28', "
                                   "'2025-%1-28 23:59:59', '23:59:59', FALSE, '%2', 'nota')")
                               .arg(mese)
                               .arg(QString(255, 'W')));
        const int utente = ++FUtente;
        TFbTransaction tr(&FDb);  // one that sees the new table's rows
        auto b = Banco({"SELECT * FROM LARGHEZZE"}, utente);
        b->Query.SetTransaction(&tr);
        b->Query.Open();
        while (b->Grid.model()->canFetchMore({})) b->Grid.model()->fetchMore({});
        QCOMPARE(b->Grid.model()->rowCount(), 12);
        const QStringList tagliati = TitoliTagliati(*b->Grid.horizontalHeader());
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join('\n')));
        const QAbstractItemView& vista = b->Grid;  // where the values' measure is public
        const int lungo = b->Query.FieldIndex("LUNGO");
        const int nota = b->Query.FieldIndex("NOTA");
        QStringList larghezze;
        for (int campo = 0; campo < b->Query.FieldCount(); ++campo) {
            const int larghezza = b->Grid.columnWidth(campo);
            larghezze << QString::number(larghezza);
            if (campo == lungo || campo == nota) continue;
            QVERIFY2(vista.sizeHintForColumn(campo) <= larghezza,
                     qPrintable(QString("%1: %2 pixels, its values need %3")
                                    .arg(b->Query.FieldDefs()[campo].Name).arg(larghezza).arg(vista.sizeHintForColumn(campo))));
        }
        QVERIFY(b->Grid.columnWidth(lungo) < vista.sizeHintForColumn(lungo));
        for (int campo : {lungo, nota}) QVERIFY(b->Grid.columnWidth(campo) <= b->Grid.screen()->availableGeometry().width() / 2);
        b->Grid.SalvaAspettoSuStorico();
        b->Query.Close();
        QCOMPARE(ValoreSQL(FDb, QString("SELECT LIST(CAST(LARGHEZZA AS INTEGER), ' ') FROM (SELECT LARGHEZZA FROM STOASP1 "
                                        "WHERE CODICEUTENTE=%1 ORDER BY POSIZIONE)").arg(utente)),
                 larghezze.join(' '));

        EseguiSQL(FDb, QString("UPDATE STOASP1 SET LARGHEZZA=30 WHERE CODICEUTENTE=%1 AND NOMECAMPO='QUANDO'").arg(utente));
        b->Query.Open();
        QCOMPARE(b->Grid.columnWidth(b->Query.FieldIndex("QUANDO")), 30);
        b->Query.Close();
        tr.Commit();
    }

    void closedSourceAppendsTheSearchCondition() {
        auto b = Banco(CinqueCampi, ++FUtente);
        b->Grid.RecuperaAspettodaStorico();
        QCOMPARE(b->Query.SQL, CinqueCampi + QStringList{""});  // no search: an empty line
    }
};

QTEST_MAIN(TestAspettoGriglia)
#include "tst_aspettogriglia.moc"
