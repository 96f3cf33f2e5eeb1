// The F5 search on real queries and tables: the dialog as the grid sets it up, the statement
// after each search line by line, the rows it returns, the timer, Enter and Escape, the date
// range, the all-fields search, the large-table refusal, table sources and F6.
#include "controls/Acceleratori.h"
#include "controls/EditData.h"
#include "controls/RadioGroup.h"
#include "db/FbTable.h"
#include "db/FbTransaction.h"
#include "grid/PtqGrid.h"
#include "grid/RPtqGrid.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/TestDb.h"
#include "tests/support/TestiTagliati.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>
#include <functional>

namespace {

constexpr int UtenteSenzaTimer = 5;
constexpr int UtenteConTimer = 6;

// Runs `passi` on the search dialog as soon as it shows, then closes it if it is still open.
// `aperto` tells whether a dialog showed at all.
void ConDialogo(std::function<void(TRPtqGridForm&)> passi, bool* aperto = nullptr) {
    if (aperto) *aperto = false;
    QTimer::singleShot(0, [passi, aperto] {
        auto* d = qobject_cast<TRPtqGridForm*>(QApplication::activeModalWidget());
        if (!d) return;
        if (aperto) *aperto = true;
        passi(*d);
        if (d->isVisible()) d->reject();
    });
}

// The control of the dialog that has the focus, by its field's name (an option by its group's).
QString Fuoco(const TRPtqGridForm& d) {
    QWidget* fuoco = d.focusWidget();
    if (fuoco && qobject_cast<TRadioGroup*>(fuoco->parentWidget())) fuoco = fuoco->parentWidget();
    const QList<std::pair<QWidget*, const char*>> campi{
        {d.EditStringa, "EditStringa"},         {d.EditData1, "EditData1"},       {d.EditData2, "EditData2"},
        {d.EditTipoRicerca, "EditTipoRicerca"}, {d.EditUpper, "EditUpper"},       {d.EditOrdinamento, "EditOrdinamento"},
        {d.EditGenerica, "EditGenerica"},       {d.ButtonEsegui, "ButtonEsegui"}, {d.ButtonAggRete, "ButtonAggRete"}};
    for (const auto& [campo, nome] : campi) {
        if (campo == fuoco) return nome;
    }
    return fuoco ? fuoco->metaObject()->className() : "(none)";
}

QStringList Valori(TFbDataSet& d, const QString& campo) {
    if (!d.Active()) return {"(closed)"};
    QStringList v;
    for (d.First(); !d.Eof(); d.Next()) v << d.FieldByName(campo).AsString();
    return v;
}

}  // namespace

class TestRicercaF5 : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TFbTransaction FTr{&FDb};
    int FInizi = 0, FFini = 0;
    TRecordingBoxes FBoxes;  // no real box ever blocks a test
    bool FAttesi = false;    // the test expects boxes

    // The grid bound to an open query on `sql`, with the cursor on column `colonna`.
    void Prepara(TPtqGrid& grid, TFbQuery& q, const QStringList& sql, const QString& colonna,
                 int utente = UtenteSenzaTimer) {
        q.SetDatabase(&FDb);
        q.SetTransaction(&FTr);
        q.SQL = sql;
        grid.SQLIniziale() = sql;
        grid.SetCodiceProgetto(534);
        grid.SetSituazione(1);
        grid.SetUtente(utente);
        grid.SetTabellaPiccola(true);
        grid.SetSorgenteDati(&q);
        grid.SetOnInizioRicerca([this](TPtqGrid*) { ++FInizi; });
        grid.SetOnFineRicerca([this](TPtqGrid*) { ++FFini; });
        q.Open();
        grid.setCurrentIndex(grid.model()->index(0, q.FieldIndex(colonna)));
    }

private slots:
    void initTestCase() {
        Connetti(FDb, FDir.NuovoDatabase("archivio.fdb", DemoData::ScriptArchivio()));
        EseguiSQL(FDb, "CREATE TABLE PROVA (ID INTEGER NOT NULL PRIMARY KEY, CODICE VARCHAR(20), NOTE VARCHAR(40),"
                       " DATA DATE, DATAORA TIMESTAMP, FOTO BLOB SUB_TYPE 0)");
        const QStringList righe{"1, 'A12', 'prima', '2024-03-04', '2024-03-04 10:00'",
                                "2, 'A120', 'seconda', '2024-03-05', '2024-03-05 18:30'",
                                "3, 'B7', 'x'' OR ''1''=''1', '2024-03-06', '2024-03-06 00:00'",
                                "4, 'a13', 'quarta', '2024-04-03', '2024-04-03 12:00'"};
        for (const QString& r : righe) EseguiSQL(FDb, "INSERT INTO PROVA (ID, CODICE, NOTE, DATA, DATAORA) VALUES (" + r + ")");
        for (const char* r : {"'C1', 'Rossi Mario'", "'C2', 'Bianchi'", "'C3', 'ROSSINI SPA'", "'C4', 'D''Arco'"})
            EseguiSQL(FDb, QString("INSERT INTO CLIENTI (CODICE, RAGSOC) VALUES (") + r + ")");
        EseguiSQL(FDb, "INSERT INTO SETGRID VALUES (534, 5, 0, 0, 0, 0, 0)");
        EseguiSQL(FDb, "INSERT INTO SETGRID VALUES (534, 6, 0, 0, 1, 0, 0)");
    }
    void init() {
        EseguiSQL(FDb, "DELETE FROM STOPOS1");
        EseguiSQL(FDb, "DELETE FROM STOASP1");  // each test starts from the base layout
        FInizi = FFini = 0;
        FBoxes.Boxes.clear();
    }
    void cleanup() { QVERIFY2(FBoxes.Boxes.isEmpty() || QTest::currentTestFailed() || FAttesi, qPrintable(FBoxes.Ultimo())); FAttesi = false; }

    void itemsEnabled() {
        TPtqGrid grid;
        QVERIFY(grid.Voce("Ricerca su campo Corrente")->isEnabled());
        QVERIFY(grid.Voce("Annulla ricerca")->isEnabled());
        grid.SetAbilitaRicercheF5(false);
        QVERIFY(!grid.Voce("Ricerca su campo Corrente")->isEnabled());
        QVERIFY(!grid.EseguiComando("Ricerca su campo Corrente"));
        // no source: F5 does nothing
        grid.SetAbilitaRicercheF5(true);
        QVERIFY(grid.EseguiComando("Ricerca su campo Corrente"));
        QVERIFY(!grid.RicercaInCorso());
    }

    // The example: "rossi", "LIKE %%", Upper, ascending, on CLIENTI.RAGSOC; Enter closes and the
    // condition stays.
    void partExample() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT *", "FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC");
        QString titolo, etichetta;
        QSize dimensione;
        bool generica = false, esegui = true, inCorso = false, upper = false;
        int tipo = -1, ordinamento = -1, riaperture = 0;
        QStringList sqlDurante;
        connect(&q, &TFbDataSet::Opened, this, [&] { ++riaperture; });
        ConDialogo([&](TRPtqGridForm& d) {
            titolo = d.windowTitle();
            dimensione = d.size();
            etichetta = SenzaAcceleratore(d.Label1->text());
            generica = d.EditGenerica->isEnabled();
            esegui = d.ButtonEsegui->isEnabled();
            upper = d.EditUpper->isChecked();
            tipo = d.EditTipoRicerca->ItemIndex();
            ordinamento = d.EditOrdinamento->ItemIndex();
            inCorso = grid.RicercaInCorso();
            d.EditTipoRicerca->SetItemIndex(1);
            QTest::keyClicks(d.EditStringa, "rossi");
            sqlDurante = q.SQL;
            QTest::keyClick(d.EditStringa, Qt::Key_Return);
        });
        QVERIFY(grid.EseguiComando("Ricerca su campo Corrente"));
        QCOMPARE(titolo, "Ricerca su RAGSOC");
        // the starting size; the platform's fonts may need more
        QVERIFY2(dimensione.width() >= 262 && dimensione.height() >= 183, qPrintable(QString("%1x%2").arg(dimensione.width()).arg(dimensione.height())));
        QCOMPARE(etichetta, "Stringa di ricerca");
        QVERIFY(generica && !esegui && upper && inCorso);
        QCOMPARE(tipo, 0);
        QCOMPARE(ordinamento, 1);
        const QStringList atteso = base + QStringList{"WHERE(UPPER(CLIENTI.RAGSOC) LIKE '%ROSSI%')",
                                                      "ORDER BY UPPER(CLIENTI.RAGSOC)"};
        QCOMPARE(sqlDurante, atteso);
        QCOMPARE(q.SQL, atteso);  // Enter ran the search once more and closed the dialog
        QCOMPARE(riaperture, 6);  // every keystroke, and Enter
        QCOMPARE(Valori(q, "CODICE"), (QStringList{"C1", "C3"}));  // ROSSI MARIO before ROSSINI SPA
        QVERIFY(!grid.RicercaInCorso());
        QCOMPARE(FInizi, 1);
        QCOMPARE(FFini, 2);  // once by Enter, once when the dialog closed
        q.Close();
    }

    // The condition in force comes back at every reopening, also after a title double-click.
    void conditionStaysAfterSort() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT *", "FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC");
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "ros");
            QTest::keyClick(d.EditStringa, Qt::Key_Return);
        });
        grid.AttivaRicerche();
        grid.OrdinaPerColonna(q.FieldIndex("CODICE"));
        QCOMPARE(q.SQL, (base + QStringList{"WHERE(UPPER(CLIENTI.RAGSOC) >= 'ROS')", "ORDER BY CLIENTI.CODICE"}));
        QCOMPARE(Valori(q, "CODICE"), (QStringList{"C1", "C3"}));
        grid.OrdinaPerColonna(q.FieldIndex("CODICE"));
        QCOMPARE(q.SQL, (base + QStringList{"WHERE(UPPER(CLIENTI.RAGSOC) >= 'ROS')", "ORDER BY CLIENTI.CODICE DESC"}));
        // F6 drops it for good
        grid.AnnullaRicerca();
        QCOMPARE(q.SQL, (base + QStringList{"ORDER BY CLIENTI.CODICE DESC"}));
        grid.OrdinaPerColonna(q.FieldIndex("CODICE"));
        QVERIFY(!q.SQL.join('\n').contains("WHERE"));
        QCOMPARE(Valori(q, "CODICE"), (QStringList{"C1", "C2", "C3", "C4"}));
        q.Close();
    }

    void emptyTextShowsEverything() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC");
        QStringList conTesto;
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "ro");
            conTesto = q.SQL;
            QTest::keyClick(d.EditStringa, Qt::Key_Backspace);
            QTest::keyClick(d.EditStringa, Qt::Key_Backspace);
        });
        grid.AttivaRicerche();
        QCOMPARE(conTesto.size(), 3);
        QCOMPARE(q.SQL, base);
        QCOMPARE(Valori(q, "CODICE").size(), 4);
        q.Close();
    }

    void baseWithWhere() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT *", "FROM CLIENTI", "Where CODICE > 'C1'"};
        Prepara(grid, q, base, "RAGSOC");
        ConDialogo([&](TRPtqGridForm& d) {
            d.EditTipoRicerca->SetItemIndex(2);
            d.EditOrdinamento->SetItemIndex(2);
            QTest::keyClicks(d.EditStringa, "ro");
        });
        grid.AttivaRicerche();
        QCOMPARE(q.SQL, (base + QStringList{"AND(UPPER(CLIENTI.RAGSOC) LIKE 'RO%')", "ORDER BY UPPER(CLIENTI.RAGSOC) DESC"}));
        QCOMPARE(Valori(q, "CODICE"), QStringList{"C3"});
        q.Close();
    }

    // A numeric column offers two search types; a stored type 2 becomes 0.
    void numericColumn() {
        EseguiSQL(FDb, "INSERT INTO STOPOS1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, POSX, POSY, INFO1, INFO3, INFO4)"
                       " VALUES (534, 1, 5, 30, 40, 1, 2, 1)");
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM PROVA"};
        Prepara(grid, q, base, "ID");
        QStringList voci, sqlMaggiore;
        int tipo = -1;
        QPoint posizione;
        ConDialogo([&](TRPtqGridForm& d) {
            voci = d.EditTipoRicerca->Items();
            tipo = d.EditTipoRicerca->ItemIndex();
            posizione = d.pos();
            QTest::keyClicks(d.EditStringa, "3");
            sqlMaggiore = q.SQL;
            d.EditTipoRicerca->SetItemIndex(1);
            d.EditOrdinamento->SetItemIndex(2);
            d.ButtonAggRete->click();
        });
        grid.AttivaRicerche();
        QCOMPARE(voci, (QStringList{">=", "LIKE %%"}));
        QCOMPARE(tipo, 0);
        QCOMPARE(posizione, QPoint(30, 40));
        QCOMPARE(sqlMaggiore, (base + QStringList{"WHERE(PROVA.ID >= '3')", "ORDER BY PROVA.ID"}));
        QCOMPARE(q.SQL, (base + QStringList{"WHERE(PROVA.ID LIKE '%3%')", "ORDER BY PROVA.ID DESC"}));
        QCOMPARE(Valori(q, "ID"), QStringList{"3"});
        q.Close();
    }

    void dateRange_data() {
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QString>("data1");
        QTest::addColumn<QString>("data2");
        QTest::addColumn<QString>("condizione");  // empty: no search ran
        QTest::addColumn<QStringList>("id");
        QTest::newRow("date, one date") << "DATA" << "05032024" << "" << "WHERE(PROVA.DATA >= '03/05/2024')"
                                        << QStringList{"2", "3", "4"};
        QTest::newRow("date, two dates") << "DATA" << "04032024" << "05032024"
                                         << "WHERE(PROVA.DATA >= '03/04/2024')AND(PROVA.DATA <= '03/05/2024')"
                                         << QStringList{"1", "2"};
        QTest::newRow("timestamp, one date") << "DATAORA" << "06032024" << "" << "WHERE(PROVA.DATAORA >= '03/06/2024')"
                                             << QStringList{"3", "4"};
        QTest::newRow("timestamp, two dates: the whole last day")
            << "DATAORA" << "04032024" << "05032024"
            << "WHERE(PROVA.DATAORA >= '03/04/2024')AND(PROVA.DATAORA < '03/06/2024')" << QStringList{"1", "2"};
        QTest::newRow("date, incomplete first date") << "DATA" << "040320" << "05032024" << "" << QStringList{};
        QTest::newRow("timestamp, incomplete first date") << "DATAORA" << "0403202" << "" << "" << QStringList{};
    }
    void dateRange() {
        QFETCH(QString, colonna);
        QFETCH(QString, data1);
        QFETCH(QString, data2);
        QFETCH(QString, condizione);
        QFETCH(QStringList, id);
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM PROVA"};
        Prepara(grid, q, base, colonna);
        bool stringa = true, tipo = true, data2Visibile = false, label2 = false, fuoco = false;
        QString etichetta;
        QRect luogo1, luogoStringa;
        ConDialogo([&](TRPtqGridForm& d) {
            stringa = d.EditStringa->isVisible();
            tipo = d.EditTipoRicerca->isVisible();
            data2Visibile = d.EditData2->isVisible();
            label2 = d.Label2->isVisible() && d.Label2->text() == "e (facoltativo):";
            etichetta = d.Label1->text();
            luogo1 = d.EditData1->geometry();
            luogoStringa = d.EditStringa->geometry();
            fuoco = d.focusWidget() == d.EditData1;
            d.EditTipoRicerca->SetItemIndex(1);
            QTest::keyClicks(d.EditData1, data1);
            QTest::keyClicks(d.EditData2, data2);
            QTest::keyClick(d.EditData1, Qt::Key_Enter);
        });
        grid.AttivaRicerche();
        QVERIFY(!stringa);
        QVERIFY(!tipo);
        QVERIFY(data2Visibile);
        QVERIFY(label2);
        QVERIFY(fuoco);
        QCOMPARE(etichetta, "Inserisci una data compresa tra:");
        QCOMPARE(luogo1.topLeft(), luogoStringa.topLeft());
        QCOMPARE(luogo1.width(), luogoStringa.width());
        if (condizione.isEmpty()) {
            QCOMPARE(q.SQL, base);
            QVERIFY(q.Active());
        } else {
            QCOMPARE(q.SQL, (base + QStringList{condizione, "ORDER BY PROVA." + colonna}));
            QCOMPARE(Valori(q, "ID"), id);
            // the search type of a date search is stored as 0
            QCOMPARE(ValoreSQL(FDb, "SELECT INFO3 FROM STOPOS1"), "0");
        }
        q.Close();
    }

    void secondDateThatIsNoDate() {
        TRecordingBoxes& boxes = FBoxes;
        FAttesi = true;
        TPtqGrid grid;
        TFbQuery q;
        Prepara(grid, q, {"SELECT * FROM PROVA"}, "DATA");
        bool aperto = false;
        ConDialogo([&](TRPtqGridForm& d) {
            d.EditData1->setText("04/03/2024");
            d.EditData2->setText("05/03/2");
            QTest::keyClick(d.EditData1, Qt::Key_Return);
            aperto = d.isVisible();
        });
        grid.AttivaRicerche();
        QVERIFY(aperto);  // the error keeps the dialog open
        QCOMPARE(boxes.Ultimo(), "Errore: '05/03/2' is not a valid date");
        QVERIFY(q.Active());
        QCOMPARE(q.SQL, QStringList{"SELECT * FROM PROVA"});
        q.Close();
    }

    void genericaWithFirstFieldWithoutOrigin() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT 'x' AS COSTANTE, CODICE, RAGSOC", "FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC");
        QString titoloGenerica, titoloDopo;
        bool bloccati = false, sbloccati = false;
        QStringList dopoDigitazione;
        ConDialogo([&](TRPtqGridForm& d) {
            d.EditGenerica->click();
            titoloGenerica = d.windowTitle();
            bloccati = !d.EditTipoRicerca->isEnabled() && !d.EditUpper->isEnabled() && !d.ButtonAggRete->isEnabled() &&
                       !d.EditOrdinamento->isEnabled() && d.ButtonEsegui->isEnabled();
            QTest::keyClicks(d.EditStringa, "rossi");
            dopoDigitazione = q.SQL;  // typing no longer searches
            d.ButtonEsegui->click();
            d.EditGenerica->click();
            titoloDopo = d.windowTitle();
            sbloccati = d.EditTipoRicerca->isEnabled() && d.EditUpper->isEnabled() && d.ButtonAggRete->isEnabled() &&
                        d.EditOrdinamento->isEnabled() && !d.ButtonEsegui->isEnabled();
        });
        grid.AttivaRicerche();
        QCOMPARE(titoloGenerica, "Ricerca su TUTTI i campi");
        QCOMPARE(titoloDopo, "Ricerca su RAGSOC");
        QVERIFY(bloccati);
        QVERIFY(sbloccati);
        QCOMPARE(dopoDigitazione, base);
        QCOMPARE(q.SQL, (base + QStringList{"WHERE(", "(CLIENTI.CODICE CONTAINING 'ROSSI')",
                                           "OR(CLIENTI.RAGSOC CONTAINING 'ROSSI')", ")"}));
        QCOMPARE(Valori(q, "CODICE"), (QStringList{"C1", "C3"}));
        QCOMPARE(FFini, 1);
        q.Close();
    }

    void refusalOnLargeTable_data() {
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<bool>("rifiuto");
        QTest::newRow("NOTE") << "NOTE" << true;
        QTest::newRow("DATA") << "DATA" << false;
    }
    void refusalOnLargeTable() {
        QFETCH(QString, colonna);
        QFETCH(bool, rifiuto);
        TRecordingBoxes& boxes = FBoxes;
        FAttesi = true;
        TPtqGrid grid;
        TFbQuery q;
        Prepara(grid, q, {"SELECT * FROM PROVA"}, colonna);
        grid.SetTabellaPiccola(false);
        grid.SetCampiIndicizzati("codice;data");
        bool aperto = false;
        ConDialogo([](TRPtqGridForm&) {}, &aperto);
        grid.AttivaRicerche();
        QCOMPARE(aperto, !rifiuto);
        QCOMPARE(boxes.Ultimo(), rifiuto ? QString::fromUtf8("Avviso: Attenzione: Non è possibile eseguire la "
                                                             "ricerca su un campo non indicizzato di una tabella di "
                                                             "grandi dimensioni")
                                         : QString());
        QCOMPARE(FInizi, 1);
        QCOMPARE(FFini, 1);
        QVERIFY(!grid.RicercaInCorso());
        QTest::qWait(20);  // the dialog helper's queued call has run
        q.Close();
    }

    // A table source filters its records; after the dialog closes the filter goes on with the
    // stored text.
    void tableSourceBeginsWithUpper() {
        TPtqGrid grid;
        TFbTable t;
        t.SetDatabase(&FDb);
        t.SetTransaction(&FTr);
        t.TableName = "CLIENTI";
        grid.SetCodiceProgetto(534);
        grid.SetSituazione(1);
        grid.SetUtente(UtenteSenzaTimer);
        grid.SetSorgenteDati(&t);
        t.Open();
        grid.setCurrentIndex(grid.model()->index(0, t.FieldIndex("RAGSOC")));
        bool generica = true;
        QStringList durante;
        ConDialogo([&](TRPtqGridForm& d) {
            generica = d.EditGenerica->isEnabled();
            d.EditTipoRicerca->SetItemIndex(2);
            d.EditUpper->setChecked(true);
            QTest::keyClicks(d.EditStringa, "ros");
            durante = Valori(t, "CODICE");
        });
        grid.AttivaRicerche();
        QVERIFY(!generica);
        QCOMPARE(durante, (QStringList{"C3", "C1"}));  // in RAGSOC order
        QCOMPARE(t.IndexFieldNames, "RAGSOC");
        t.Close();
        t.Open();
        QCOMPARE(Valori(t, "CODICE"), (QStringList{"C3", "C1"}));
        grid.AnnullaRicerca();
        QCOMPARE(Valori(t, "CODICE").size(), 4);
        t.Close();
    }

    void timer_data() {
        QTest::addColumn<int>("utente");
        QTest::addColumn<int>("riapertureSubito");
        QTest::addColumn<int>("riapertureDopo");
        QTest::newRow("timer off") << UtenteSenzaTimer << 3 << 3;
        QTest::newRow("timer on") << UtenteConTimer << 0 << 1;
    }
    void timer() {
        QFETCH(int, utente);
        QFETCH(int, riapertureSubito);
        QFETCH(int, riapertureDopo);
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC", utente);
        QCOMPARE(grid.AbilitaTimer(), utente == UtenteConTimer);
        int riaperture = 0, subito = -1;
        connect(&q, &TFbDataSet::Opened, this, [&] { ++riaperture; });
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "ros");
            subito = riaperture;
            QTest::qWait(1300);
        });
        grid.AttivaRicerche();
        QCOMPARE(subito, riapertureSubito);
        QCOMPARE(riaperture, riapertureDopo);
        QCOMPARE(q.SQL.value(1), "WHERE(UPPER(CLIENTI.RAGSOC) >= 'ROS')");
        q.Close();
    }

    void closingStopsAPendingTick() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC", UtenteConTimer);
        ConDialogo([&](TRPtqGridForm& d) { QTest::keyClicks(d.EditStringa, "ros"); });
        grid.AttivaRicerche();
        QTest::qWait(1300);
        QCOMPARE(q.SQL, base);
        q.Close();
    }

    void escapeRestoresTheBaseText() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC");
        QStringList durante;
        bool aperto = true;
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "ros");
            durante = q.SQL;
            QTest::keyClick(d.EditStringa, Qt::Key_Escape);
            aperto = d.isVisible();
        });
        grid.AttivaRicerche();
        QCOMPARE(durante.size(), 3);
        QVERIFY(!aperto);
        QCOMPARE(q.SQL, base);
        QCOMPARE(Valori(q, "CODICE").size(), 4);
        QCOMPARE(FFini, 1);
        q.Close();
    }

    // Escape closes the dialog and brings the base text back from whichever control has the
    // focus, also in Generica mode.
    void escapeFromEveryControl_data() {
        QTest::addColumn<QString>("controllo");
        QTest::newRow("search text") << "testo";
        QTest::newRow("Upper box") << "upper";
        QTest::newRow("search type option") << "tipo";
        QTest::newRow("sort option") << "ordinamento";
        QTest::newRow("Generica") << "generica";
        QTest::newRow("Generica, search text") << "generica testo";
    }
    void escapeFromEveryControl() {
        QFETCH(QString, controllo);
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC");
        QStringList durante;
        bool aperto = true;
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "ros");
            durante = q.SQL;
            if (controllo.startsWith("generica")) d.EditGenerica->click();
            QWidget* fuoco = d.EditStringa;
            if (controllo == "upper") fuoco = d.EditUpper;
            else if (controllo == "tipo") fuoco = d.EditTipoRicerca->findChildren<QRadioButton*>().value(1);
            else if (controllo == "ordinamento") fuoco = d.EditOrdinamento->findChildren<QRadioButton*>().value(0);
            else if (controllo == "generica") fuoco = d.EditGenerica;
            QVERIFY(fuoco);
            fuoco->setFocus();
            QTest::keyClick(fuoco, Qt::Key_Escape);
            aperto = d.isVisible();
        });
        grid.AttivaRicerche();
        QCOMPARE(durante.size(), 3);
        QVERIFY(!aperto);
        QCOMPARE(q.SQL, base);
        QCOMPARE(Valori(q, "CODICE").size(), 4);
        q.Close();
    }

    // A column search still waiting for its tick does not run once Generica is ticked.
    void genericaStopsAPendingTick() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC", UtenteConTimer);
        QStringList dopo;
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "ros");
            d.EditGenerica->click();
            QTest::qWait(1300);
            dopo = q.SQL;
        });
        grid.AttivaRicerche();
        QCOMPARE(dopo, base);
        q.Close();
    }

    // A condition the database refuses is told once and not kept: the rows of the last good one
    // stay, and a later reopening uses that one.
    void refusedConditionIsNotKept() {
        FAttesi = true;
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM PROVA"};
        Prepara(grid, q, base, "ID");
        QStringList durante;
        QStringList valori;
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "2");
            durante = q.SQL;
            QTest::keyClicks(d.EditStringa, "a");
            valori = Valori(q, "ID");
        });
        grid.AttivaRicerche();
        QCOMPARE(FBoxes.Boxes.size(), 1);
        QCOMPARE(FBoxes.Boxes[0].Kind, "Errore");
        QVERIFY2(FBoxes.Boxes[0].Text.contains("conversion error"), qPrintable(FBoxes.Boxes[0].Text));
        QCOMPARE(durante, (base + QStringList{"WHERE(PROVA.ID >= '2')", "ORDER BY PROVA.ID"}));
        QCOMPARE(valori, (QStringList{"2", "3", "4"}));
        QCOMPARE(q.SQL, durante);
        // a title sort reopens with the condition in force: the good one
        grid.OrdinaPerColonna(q.FieldIndex("CODICE"));
        QCOMPARE(FBoxes.Boxes.size(), 1);
        QCOMPARE(q.SQL.mid(0, 2), (base + QStringList{"WHERE(PROVA.ID >= '2')"}));
        QCOMPARE(Valori(q, "ID").size(), 3);
        q.Close();
    }

    // An option changed with the keyboard searches again as a click does; in Generica mode Enter
    // runs "Esegui".
    void optionsByKeySearchAgain() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC");
        QStringList passi;
        ConDialogo([&](TRPtqGridForm& d) {
            QVERIFY(QTest::qWaitForWindowActive(&d));  // the arrows move between options of the active window
            d.EditOrdinamento->SetItemIndex(0);
            QTest::keyClicks(d.EditStringa, "ros");
            passi << q.SQL.value(1);
            QRadioButton* primo = d.EditTipoRicerca->findChildren<QRadioButton*>().value(0);
            primo->setFocus();
            QTest::keyClick(primo, Qt::Key_Right);
            passi << q.SQL.value(1);
            d.EditUpper->setFocus();
            QTest::keyClick(d.EditUpper, Qt::Key_Space);
            passi << q.SQL.value(1);
            d.EditGenerica->setFocus();
            QTest::keyClick(d.EditGenerica, Qt::Key_Space);
            d.EditStringa->setFocus();
            QTest::keyClick(d.EditStringa, Qt::Key_Return);
            passi << q.SQL.value(2);
            passi << (d.isVisible() ? "aperto" : "chiuso");
        });
        grid.AttivaRicerche();
        QCOMPARE(passi, (QStringList{"WHERE(UPPER(CLIENTI.RAGSOC) >= 'ROS')", "WHERE(UPPER(CLIENTI.RAGSOC) LIKE '%ROS%')",
                                     "WHERE(CLIENTI.RAGSOC LIKE '%ros%')", "(CLIENTI.CODICE CONTAINING 'ROS')", "aperto"}));
        q.Close();
    }

    // F6 keeps the cell the user was on, so the next F5 searches the same column.
    void annullaRicercaKeepsTheCell() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC");
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "c");
            QTest::keyClick(d.EditStringa, Qt::Key_Return);
        });
        grid.AttivaRicerche();
        // the view asks for the rows of the last reopening once events run again
        QTRY_COMPARE(grid.model()->rowCount(), 3);
        grid.setCurrentIndex(grid.model()->index(2, q.FieldIndex("RAGSOC")));
        QVERIFY(grid.EseguiComando("Annulla ricerca"));
        QCOMPARE(q.SQL, base);
        QCOMPARE(grid.currentIndex().row(), 2);
        QCOMPARE(grid.currentIndex().column(), q.FieldIndex("RAGSOC"));
        QString titolo;
        ConDialogo([&](TRPtqGridForm& d) { titolo = d.windowTitle(); });
        grid.AttivaRicerche();
        QCOMPARE(titolo, QString("Ricerca su RAGSOC"));
        q.Close();
    }

    // Typing an apostrophe finds the rows written with a real one.
    void typedApostropheFindsARealOne() {
        TPtqGrid grid;
        TFbQuery q;
        Prepara(grid, q, {"SELECT * FROM CLIENTI"}, "RAGSOC");
        QStringList trovati;
        ConDialogo([&](TRPtqGridForm& d) {
            d.EditTipoRicerca->SetItemIndex(2);
            QTest::keyClicks(d.EditStringa, "d'a");
            trovati = Valori(q, "CODICE");
        });
        grid.AttivaRicerche();
        QCOMPARE(trovati, QStringList{"C4"});
        q.Close();
    }

    // F5 after a search that found nothing opens again on the column searched.
    void columnSurvivesASearchWithoutRows() {
        TPtqGrid grid;
        TFbQuery q;
        Prepara(grid, q, {"SELECT * FROM CLIENTI"}, "RAGSOC");
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "zzz");
            QTest::keyClick(d.EditStringa, Qt::Key_Return);
        });
        grid.AttivaRicerche();
        QCOMPARE(grid.model()->rowCount(), 0);
        QString titolo;
        ConDialogo([&](TRPtqGridForm& d) { titolo = d.windowTitle(); });
        grid.AttivaRicerche();
        QCOMPARE(titolo, QString("Ricerca su RAGSOC"));
        q.Close();
    }

    void typedApostrophe() {
        TPtqGrid grid;
        TFbQuery q;
        Prepara(grid, q, {"SELECT * FROM CLIENTI"}, "RAGSOC");
        QString testo;
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "d'a");
            testo = d.EditStringa->text();
        });
        grid.AttivaRicerche();
        QCOMPARE(testo, QString::fromUtf8("d´a"));
        q.Close();
    }

    // Text that reaches the field without the key handler is searched as written.
    void injections_data() {
        QTest::addColumn<bool>("generica");
        QTest::addColumn<QStringList>("righe");
        QTest::newRow("pasted") << false << QStringList{"WHERE(UPPER(PROVA.NOTE) LIKE '%X'' OR ''1''=''1%')", "ORDER BY UPPER(PROVA.NOTE)"};
        QTest::newRow("generica") << true
                                  << QStringList{"WHERE(", "(PROVA.ID CONTAINING 'X'' OR ''1''=''1')",
                                                 "OR(PROVA.CODICE CONTAINING 'X'' OR ''1''=''1')",
                                                 "OR(PROVA.NOTE CONTAINING 'X'' OR ''1''=''1')",
                                                 "OR(PROVA.DATA CONTAINING 'X'' OR ''1''=''1')",
                                                 "OR(PROVA.DATAORA CONTAINING 'X'' OR ''1''=''1')",
                                                 "OR(PROVA.FOTO CONTAINING 'X'' OR ''1''=''1')", ")"};
    }
    void injections() {
        QFETCH(bool, generica);
        QFETCH(QStringList, righe);
        TRecordingBoxes& boxes = FBoxes;
        FAttesi = true;
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM PROVA"};
        Prepara(grid, q, base, "NOTE");
        ConDialogo([&](TRPtqGridForm& d) {
            d.EditTipoRicerca->SetItemIndex(1);
            if (generica) d.EditGenerica->click();
            QGuiApplication::clipboard()->setText("x' OR '1'='1");
            d.EditStringa->paste();
            if (d.EditStringa->text().isEmpty()) d.EditStringa->insert("x' OR '1'='1");  // no clipboard here
            if (generica) d.ButtonEsegui->click();
        });
        grid.AttivaRicerche();
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
        QCOMPARE(q.SQL, (base + righe));
        QCOMPARE(Valori(q, "ID"), QStringList{"3"});
        q.Close();
    }

    // The first F5 stores the dialog's place and options; the next one opens there with them.
    void placeRemembered() {
        TPtqGrid grid;
        TFbQuery q;
        Prepara(grid, q, {"SELECT * FROM CLIENTI"}, "RAGSOC");
        ConDialogo([&](TRPtqGridForm& d) {
            d.move(77, 66);
            d.EditTipoRicerca->SetItemIndex(2);
            d.EditUpper->setChecked(false);
            d.EditOrdinamento->SetItemIndex(0);
        });
        grid.AttivaRicerche();
        QCOMPARE(ValoreSQL(FDb, "SELECT POSX || ' ' || POSY || ' ' || INFO3 || ' ' || INFO4 || ' ' || CAST(INFO1 AS INTEGER)"
                                " FROM STOPOS1 WHERE CODICEPROGETTO=534 AND CODICESITUAZIONE=1 AND CODICEUTENTE=5"), "77 66 2 0 0");
        QPoint luogo;
        int tipo = -1, ordinamento = -1;
        bool upper = true;
        ConDialogo([&](TRPtqGridForm& d) {
            luogo = d.pos();
            tipo = d.EditTipoRicerca->ItemIndex();
            upper = d.EditUpper->isChecked();
            ordinamento = d.EditOrdinamento->ItemIndex();
        });
        grid.AttivaRicerche();
        QCOMPARE(luogo, QPoint(77, 66));
        QCOMPARE(tipo, 2);
        QVERIFY(!upper);
        QCOMPARE(ordinamento, 0);
        q.Close();
    }

    void annullaRicerca() {
        TPtqGrid grid;
        TFbQuery q;
        const QStringList base{"SELECT * FROM CLIENTI"};
        Prepara(grid, q, base, "RAGSOC");
        ConDialogo([&](TRPtqGridForm& d) {
            QTest::keyClicks(d.EditStringa, "ros");
            QTest::keyClick(d.EditStringa, Qt::Key_Return);
        });
        grid.AttivaRicerche();
        QCOMPARE(q.SQL.size(), 3);
        FInizi = FFini = 0;
        bool inCorso = false;
        grid.SetOnInizioRicerca([&](TPtqGrid* g) { inCorso = g == &grid; });
        QVERIFY(grid.EseguiComando("Annulla ricerca"));
        QVERIFY(inCorso);
        QCOMPARE(q.SQL, base);
        QCOMPARE(Valori(q, "CODICE").size(), 4);
        QCOMPARE(FFini, 1);
        QVERIFY(!grid.RicercaInCorso());
        q.Close();
    }

    // Every caption, option and button text shows whole with the platform's fonts, for each kind
    // of field and in Generica mode, also with a large grid font: the dialog grows from its
    // starting size as far as they need, stays of a size the user cannot drag, and one without a
    // stored place stays centred.
    void captionsFit_data() {
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<bool>("generica");
        QTest::addColumn<int>("punti");
        QTest::newRow("text") << "CODICE" << false << 0;
        QTest::newRow("number") << "ID" << false << 0;
        QTest::newRow("date") << "DATA" << false << 0;
        QTest::newRow("date and time") << "DATAORA" << false << 0;
        QTest::newRow("Generica") << "CODICE" << true << 0;
        QTest::newRow("text, large font") << "CODICE" << false << 20;
        QTest::newRow("number, large font") << "ID" << false << 20;
        QTest::newRow("date, large font") << "DATA" << false << 20;
        QTest::newRow("Generica on a date, large font") << "DATA" << true << 20;
    }
    void captionsFit() {
        QFETCH(QString, colonna);
        QFETCH(bool, generica);
        QFETCH(int, punti);
        TPtqGrid grid;
        TFbQuery q;
        Prepara(grid, q, {"SELECT * FROM PROVA"}, colonna);
        if (punti) {
            QFont grande = grid.font();
            grande.setPointSize(punti);
            grid.setFont(grande);
        }
        QStringList tagliati{"no dialog"};
        QSize dimensione;
        bool fissa = false, centrata = false;
        ConDialogo([&](TRPtqGridForm& d) {
            if (generica) QTest::mouseClick(d.EditGenerica, Qt::LeftButton);
            QVERIFY(d.EditGenerica->isChecked() == generica);
            dimensione = d.size();
            fissa = d.minimumSize() == d.maximumSize();
            // centred as the window system places it: up to the frame's difference at each side
            const QPoint scarto = d.frameGeometry().center() - d.screen()->availableGeometry().center();
            centrata = qAbs(scarto.x()) <= d.geometry().left() - d.frameGeometry().left() &&
                       qAbs(scarto.y()) <= d.geometry().top() - d.frameGeometry().top();
            tagliati = TestiTagliati(d);
        });
        grid.AttivaRicerche();
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join('\n')));
        QVERIFY(dimensione.width() >= 262 && dimensione.height() >= 183);
        QVERIFY(fissa);
        QVERIFY(centrata);
        q.Close();
    }

    // Tab follows the layout, the same for every kind of field: the text or the two dates, "Tipo
    // ricerca", "Upper", "Tipo ordinamento", "Generica", "Esegui"; what is disabled or hidden is
    // passed over, and Shift+Tab goes back the same way. "+" is outside the order: Alt++ presses it.
    void tabOrder_data() {
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<bool>("generica");
        QTest::addColumn<QStringList>("ordine");
        const QStringList testo{"EditStringa", "EditTipoRicerca", "EditUpper", "EditOrdinamento", "EditGenerica"};
        QTest::newRow("text") << "CODICE" << false << testo;
        QTest::newRow("number") << "ID" << false << testo;
        QTest::newRow("date") << "DATA" << false
                              << QStringList{"EditData1", "EditData2", "EditUpper", "EditOrdinamento", "EditGenerica"};
        QTest::newRow("text, Generica") << "CODICE" << true << QStringList{"EditGenerica", "ButtonEsegui", "EditStringa"};
        // Generica puts the text in the first date's place; the second date stays
        QTest::newRow("date, Generica") << "DATA" << true
                                        << QStringList{"EditGenerica", "ButtonEsegui", "EditStringa", "EditData2"};
    }
    void tabOrder() {
        QFETCH(QString, colonna);
        QFETCH(bool, generica);
        QFETCH(QStringList, ordine);
        TPtqGrid grid;
        TFbQuery q;
        Prepara(grid, q, {"SELECT * FROM PROVA"}, colonna);
        QStringList avanti, indietro;
        int premuto = -1;
        ConDialogo([&](TRPtqGridForm& d) {
            QVERIFY(QTest::qWaitForWindowActive(&d));  // keys reach an active window
            if (generica) {
                d.EditGenerica->setFocus();
                QTest::keyClick(d.EditGenerica, Qt::Key_Space);
                QVERIFY(d.EditGenerica->isChecked());
            }
            // round the dialog and back to where it began, then the other way
            avanti << Fuoco(d);
            for (int i = 0; i < ordine.size(); ++i) {
                QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
                avanti << Fuoco(d);
            }
            indietro << Fuoco(d);
            for (int i = 0; i < ordine.size(); ++i) {
                QTest::keyClick(d.focusWidget(), Qt::Key_Backtab);
                indietro.prepend(Fuoco(d));
            }
            QSignalSpy piu(d.ButtonAggRete, &QToolButton::clicked);
            QTest::keyClick(d.focusWidget(), Qt::Key_Plus, Qt::AltModifier);
            QTRY_COMPARE(piu.count(), generica ? 0 : 1);  // Generica disables it
            premuto = int(piu.count());
        });
        grid.AttivaRicerche();
        QCOMPARE(avanti, ordine + ordine.mid(0, 1));
        QCOMPARE(indietro, ordine + ordine.mid(0, 1));
        QCOMPARE(premuto, generica ? 0 : 1);
        q.Close();
    }

    // The dialog's captions read as before, each with its underlined letter; Alt and the letter
    // reach the control.
    void captionsHaveTheirLetters() {
        TRPtqGridForm d;
        QStringList testi, lettere;
        for (const QString& t : {d.Label1->text(), d.EditTipoRicerca->title(), d.EditUpper->text(), d.EditOrdinamento->title(),
                                 d.EditGenerica->text(), d.ButtonEsegui->text()}) {
            testi << SenzaAcceleratore(t);
            lettere << QKeySequence::mnemonic(t).toString();
        }
        QCOMPARE(testi, (QStringList{"Stringa di ricerca", " Tipo ricerca ", "Upper", " Tipo ordinamento ", "Generica", "Esegui"}));
        QCOMPARE(lettere.join(' '), QString("Alt+S Alt+T Alt+U Alt+O Alt+G Alt+E"));
        QCOMPARE(d.Label1->buddy(), d.EditStringa);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::keyClick(d.EditStringa, Qt::Key_O, Qt::AltModifier);
        QVERIFY(d.EditOrdinamento->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), d.EditStringa);
        QTest::keyClick(d.EditStringa, Qt::Key_U, Qt::AltModifier);
        QTRY_VERIFY(!d.EditUpper->isChecked());
    }
};

QTEST_MAIN(TestRicercaF5)
#include "tst_ricercaf5.moc"
