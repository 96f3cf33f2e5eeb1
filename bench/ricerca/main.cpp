// The grid's search on a log of 1,000,000 rows (or the number given), with the search dialog open and the timer off:
// a search on the indexed column DATOINPUT ("LIKE %", no Upper, ascending) and an all-fields
// ("Generica") search, each timed from the command until the grid has painted its first screen
// of rows; then five keystrokes, each reopening timed the same way. Beside every figure, the
// statement the grid ran, run bare through the data layer (prepare, execute, fetch as many rows
// as the grid shows, close). For each operation it prints the requests the grid sent (statements
// prepared and executed, fetch calls, transactions started) beside the steps the operation
// requires and whatever ran beyond them. Runs on the embedded engine and, when one is given, on a
// Firebird server (bench/datalayer/ModalitaBench.h), then prints both side by side. Prints
// medians and ratios. Runs offscreen when there is no display.
#include "bench/datalayer/ArchivioBench.h"
#include "bench/datalayer/Misure.h"
#include "bench/datalayer/RichiesteBench.h"
#include "controls/RadioGroup.h"
#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "grid/AspettoGriglia.h"
#include "grid/OrdinamentoGriglia.h"
#include "grid/PtqGrid.h"
#include "grid/RPtqGrid.h"
#include "sql/DemoData.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <functional>

namespace {

constexpr int RigheLog = 1000000;
constexpr int Ripetizioni = 7;

int RigheVisibili(const TPtqGrid& grid) {
    return grid.viewport()->height() / grid.verticalHeader()->defaultSectionSize() + 1;
}

// Runs the command, then lets the grid fetch and paint the rows that fill its window.
qint64 TempoGriglia(TPtqGrid& grid, const std::function<void()>& comando) {
    const int visibili = RigheVisibili(grid);
    QElapsedTimer t;
    t.start();
    comando();
    while (grid.model()->rowCount() < visibili && grid.model()->canFetchMore({})) QApplication::processEvents();
    grid.viewport()->repaint();
    return t.nsecsElapsed();
}

// The statement alone: prepare, execute, the rows of one screen, and the close of the cursor,
// which every reopening of the grid pays for its previous one (on a server a close waits for the
// rows the server is still sending ahead).
qint64 TempoNudo(TFbDatabase& db, TFbTransaction& tr, const QStringList& sql, int righe) {
    TFbSQL q(&db, &tr);
    q.SetParamCheck(false);
    q.SetSQL(sql);
    QElapsedTimer t;
    t.start();
    q.ExecQuery();
    for (int i = 1; i < righe && q.Next(); ++i) {
    }
    q.Close();
    return t.nsecsElapsed();
}

void Riga(const QString& nome, qint64 griglia, qint64 nudo) {
    std::printf("%-34s %12s %12s %7.2f\n", qPrintable(nome), qPrintable(Ms(griglia)), qPrintable(Ms(nudo)),
                double(griglia) / double(nudo));
}

// The steps of a search that reopens the query (the grid's own sort stays aside while the search
// dialog is open): when `salva`, the layout save first; the stored sort read before the opening,
// the search's statement with the rows the grid fetched, the layout read after it.
TPassi PassiRicerca(const TPtqGrid& grid, const TFbQuery& q, bool salva) {
    const TChiaveImpostazioni chiave = grid.ChiaveAspetto();
    TPassi p;
    if (salva) p << Riusabile({"layout save: read of the stored rows (nothing changed)", LineeLetturaAspetto(chiave, true)});
    p << Riusabile({"sort read, single column (before the opening)", LineeOrdinamentoSingolo(chiave)});
    p << TPassoRichiesto{"the search's statement, first screen of rows", q.SQL, 1, TTransazionePasso::InCorso,
                         q.FetchedCount()};
    p << Riusabile({"layout read of the restore (after the opening)", LineeLetturaAspetto(chiave, false)});
    return p;
}

// Medians of the command through the grid and of the statement it leaves in the query,
// interleaved; then the requests of one more run. Prints both and adds them to the summary.
void Misura(const QString& nome, TPtqGrid& grid, TFbQuery& q, TFbDatabase& db, TFbTransaction& tr,
            const std::function<void()>& comando, bool salva, TRiepilogo& riepilogo, const QString& modalita) {
    TempoGriglia(grid, comando);  // warms the page cache for both
    TempoNudo(db, tr, q.SQL, RigheVisibili(grid));
    QVector<qint64> griglia, nudo;
    for (int i = 0; i < Ripetizioni; ++i) {
        griglia << TempoGriglia(grid, comando);
        nudo << TempoNudo(db, tr, q.SQL, RigheVisibili(grid));
    }
    Riga(nome, Mediana(griglia), Mediana(nudo));
    const TRichiesteOperazione r =
        Richieste([&] { TempoGriglia(grid, comando); }, [&] { return PassiRicerca(grid, q, salva); });
    const ContatoriDB::TMisura costoNudo;
    TempoNudo(db, tr, q.SQL, RigheVisibili(grid));
    StampaRichieste(r, costoNudo.Costo());
    riepilogo.Aggiungi(modalita, nome, Mediana(griglia), Mediana(nudo), r);
}

int Misura(const TModalitaBench& modalita, int righe, TRiepilogo& riepilogo) {
    std::printf("\n=== %s ===\n", qPrintable(modalita.Nome()));
    TArchivioBench archivio("archivio.fdb", modalita);
    TFbDatabase& db = archivio.Db;
    DemoData::AggiungiLogMassivo(db, righe);
    {
        TFbTransaction tr(&db);
        tr.Start();
        TFbSQL s(&db, &tr);
        s.SetSQL({"INSERT INTO SETGRID (CODICEPROGETTO, CODICEUTENTE, ABILITATIMERRIC) VALUES (534, 1, 0)"});
        s.ExecQuery();
        tr.Commit();
    }
    std::printf("%d log rows written in %s (%s)\n", righe, qPrintable(Ms(archivio.Preparazione.nsecsElapsed())),
                qPrintable(archivio.Connessione));

    TFbTransaction trGriglia(&db);
    TFbQuery q;
    q.SetDatabase(&db);
    q.SetTransaction(&trGriglia);
    const QStringList base{"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT", "WHERE", "  ID IS NOT NULL"};
    q.SQL = base;
    TPtqGrid grid;
    grid.resize(1000, 700);
    grid.SQLIniziale() = base;
    grid.SetCodiceProgetto(534);
    grid.SetSituazione(1);
    grid.SetUtente(1);
    grid.SetTabellaPiccola(true);
    grid.SetSorgenteDati(&q);
    grid.show();
    q.Open();
    grid.setCurrentIndex(grid.model()->index(0, q.FieldIndex("DATOINPUT")));
    QApplication::processEvents();

    int esito = 0;
    const QString nomeModalita = modalita.Nome();
    TFbTransaction trNudo(&db);
    trNudo.Start();
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<TRPtqGridForm*>(QApplication::activeModalWidget());
        if (!d) return;
        try {
            std::printf("%-34s %12s %12s %7s\n", "search", "grid", "bare", "ratio");
            d->EditTipoRicerca->SetItemIndex(2);
            d->EditUpper->setChecked(false);
            d->EditOrdinamento->SetItemIndex(1);
            d->EditStringa->blockSignals(true);
            d->EditStringa->setText("M12");
            d->EditStringa->blockSignals(false);
            Misura("DATOINPUT LIKE 'M12%' (indexed)", grid, q, db, trNudo, [&] { d->ButtonAggRete->click(); }, false,
                   riepilogo, nomeModalita);
            std::printf("   %s\n", qPrintable(q.SQL.mid(base.size()).join(" | ")));

            d->EditGenerica->click();
            Misura("Generica CONTAINING 'M12'", grid, q, db, trNudo, [&] { d->ButtonEsegui->click(); }, true, riepilogo,
                   nomeModalita);
            std::printf("   %s ...\n", qPrintable(q.SQL.mid(base.size(), 3).join(" | ")));
            d->EditGenerica->click();

            // five keystrokes, each a reopening of its own, with the requests of each
            QVector<QVector<qint64>> griglia(5), nudo(5);
            QVector<TContatoriDB> costi(5);
            QStringList testi;
            for (int giro = 0; giro <= Ripetizioni; ++giro) {  // the first round warms up
                d->EditStringa->clear();
                for (int k = 0; k < 5; ++k) {
                    const QString tasto = QString("M1234").mid(k, 1);
                    const ContatoriDB::TMisura costo;
                    const qint64 g = TempoGriglia(grid, [&] { d->EditStringa->insert(tasto); });
                    costi[k] = costo.Costo();
                    const qint64 n = TempoNudo(db, trNudo, q.SQL, RigheVisibili(grid));
                    if (giro > 0) {
                        griglia[k] << g;
                        nudo[k] << n;
                    } else {
                        testi << d->EditStringa->text();
                    }
                }
            }
            for (int k = 0; k < 5; ++k) {
                Riga(QString("keystroke %1: \"%2\"").arg(k + 1).arg(testi[k]), Mediana(griglia[k]), Mediana(nudo[k]));
                std::printf("   requests: %s\n", qPrintable(costi[k].Testo()));
            }
        } catch (const Exception& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
            esito = 1;
        }
        try {
            // where the reopening's time goes: the data set's own reopening (with the grid's
            // open handlers, no painting), the painting of one screen of rows as Qt's table does
            // it, and one short transaction of each kind: the read-only ones of the settings
            // reads, the read-write one of a layout that is written
            QVector<qint64> riapertura, pittura, lettura, scrittura;
            TContatoriDB costoRiapertura;
            auto transazione = [&db](const QStringList& parametri) {
                QElapsedTimer t;
                t.start();
                TFbTransaction breve(&db);
                breve.Params() = parametri;
                breve.Start();
                breve.Rollback();
                return t.nsecsElapsed();
            };
            for (int i = 0; i < Ripetizioni; ++i) {
                QElapsedTimer t;
                t.start();
                const ContatoriDB::TMisura costo;
                q.Close();
                q.Open();
                riapertura << t.nsecsElapsed();
                costoRiapertura = costo.Costo();
                while (grid.model()->rowCount() < RigheVisibili(grid) && grid.model()->canFetchMore({}))
                    QApplication::processEvents();
                t.restart();
                grid.viewport()->repaint();
                pittura << t.nsecsElapsed();
                lettura << transazione(TFbTransaction::ReadOnlyParams());
                scrittura << transazione({});
            }
            std::printf("%-34s %12s   requests: %s\n", "reopening, grid's handlers", qPrintable(Ms(Mediana(riapertura))),
                        qPrintable(costoRiapertura.Testo()));
            std::printf("%-34s %12s\n", "painting one screen of rows", qPrintable(Ms(Mediana(pittura))));
            std::printf("%-34s %12s\n", "one read-only transaction", qPrintable(Ms(Mediana(lettura))));
            std::printf("%-34s %12s\n", "one read-write transaction", qPrintable(Ms(Mediana(scrittura))));
        } catch (const Exception& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
            esito = 1;
        }
        d->reject();
    });
    grid.AttivaRicerche();
    trNudo.Rollback();
    q.Close();
    std::printf("medians of %d runs, timer off. grid: from the command until the first screen of rows (%d) is\n"
                "painted; bare: the statement the grid ran, prepared, executed, fetched for one screen and closed.\n",
                Ripetizioni, RigheVisibili(grid));
    return esito;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int esito = 0;
    try {
        QStringList argomenti = app.arguments();
        const QVector<TModalitaBench> modi = ModalitaBench(argomenti);
        // a smaller log can be given for a quick look: bench_ricerca ROWS
        const int righe = argomenti.size() > 1 ? argomenti[1].toInt() : RigheLog;
        TRiepilogo riepilogo;
        for (const TModalitaBench& modalita : modi) esito |= Misura(modalita, righe, riepilogo);
        riepilogo.Stampa("bench_ricerca");
        std::printf("Targets: search keystroke at most 3x bare, Generica at most 2x; on a server at most 1.5x the\n"
                    "embedded ratios, with nothing beyond the steps.\n");
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
    return esito;
}
