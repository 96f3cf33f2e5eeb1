// The log grid as the main window uses it, on an archive with 1,000,000 log rows and a subject of
// 1,000 rows: reopening with the stored layout restored until the first screen is painted, a
// title double-click sort, the layout save with and without a change — each beside the
// statements its steps require, run bare through the data layer (the rows the grid fetched,
// fetched bare) — and the first screen of the whole log in primary-key order. Prints medians and
// ratios, and for each operation the requests it sent (statements prepared and executed, fetch
// calls, transactions started) beside the steps it requires and whatever ran beyond them. Runs
// on the embedded engine and, when one is given, on a Firebird server (bench/datalayer/
// ModalitaBench.h), then prints both side by side. Offscreen unless a platform is named. An
// argument gives another size of the log (rows besides the subject's).
#include "bench/datalayer/ArchivioBench.h"
#include "bench/datalayer/Misure.h"
#include "bench/datalayer/RichiesteBench.h"
#include "db/Errore.h"
#include "db/FbDataSet.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "grid/AspettoGriglia.h"
#include "grid/CostruttoriSQL.h"
#include "grid/OrdinamentoGriglia.h"
#include "grid/PtqGrid.h"
#include "sql/DemoData.h"

#include <QApplication>
#include <cstdio>
#include <functional>

namespace {

constexpr int Ripetizioni = 7;
using T = TTransazionePasso;

QStringList SQLGriglia(const QString& soggetto) {
    QStringList sql{"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT", "WHERE", "  ID IS NOT NULL"};
    if (!soggetto.isEmpty()) sql << "  AND" << "  DATOINPUT='" + soggetto + "'";
    return sql;
}

// The layout save: the read of the stored rows, and when the layout changed the delete and one
// insert per column (one statement, prepared once), committed together.
TPassi PassiSalvataggio(const TChiaveImpostazioni& chiave, bool cambiato, const QVector<TColonnaAspetto>& colonne = {},
                        const TOrdinamentoGriglia& ordinamento = {}) {
    TPassi p{Riusabile({"layout save: read of the stored rows", LineeLetturaAspetto(chiave, true)})};
    if (!cambiato) return p;
    p << Riusabile({"layout save: delete of the stored rows", LineeCancellaAspetto(chiave), 1, T::Precedente});
    TPassoRichiesto inserimento = Riusabile({"layout save: insert of one row per column, then commit",
                                             LineeInserisciAspetto(chiave), int(colonne.size()), T::Precedente});
    inserimento.Parametri = [colonne, ordinamento](TFbSQL& q, int i) {
        const TColonnaAspetto& c = colonne[i];
        const std::optional<int> marca = ordinamento.Marca(c.NomeCampo);
        q.SetParam("NOMECAMPO", MaiuscoloAZ(c.NomeCampo));
        q.SetParam("LARGHEZZA", c.Larghezza);
        q.SetParam("POSIZIONE", i);
        q.SetParam("NOMECOLONNA", c.NomeColonna);
        q.SetParam("ORDINAMENTO", marca ? QVariant(*marca) : QVariant());
        q.SetParam("VISIBILE", c.Visibile ? 1 : 0);
        q.SetParam("COLORECOLONNA", c.Colore);
        q.SetParam("ORIGINE", MaiuscoloAZ(c.Origine));
    };
    return p << inserimento;
}

// The opening of the query with its sort and layout: the stored sort read, the origins of the
// base query's fields when there is a sort (else the table's primary key), the query itself with
// the rows the grid fetched, and the layout read of the restore.
TPassi PassiApertura(const TChiaveImpostazioni& chiave, const QStringList& sqlIniziale, const QStringList& ordine,
                     bool conOrdinamento, int righe) {
    TPassi p{Riusabile({"sort read, single column (before the opening)", LineeOrdinamentoSingolo(chiave)})};
    if (conOrdinamento) p << Riusabile({"field origins of the base query", sqlIniziale, 0});
    else p << Riusabile({"primary-key read (no stored sort)", LineeChiavePrimaria("ZELSCANLOGLIGHT")});
    p << TPassoRichiesto{"the grid's query, first screen of rows", sqlIniziale + QStringList{""} + ordine, 1, T::InCorso,
                         righe};
    p << Riusabile({"layout read of the restore (after the opening)", LineeLetturaAspetto(chiave, false)});
    return p;
}

qint64 Tempo(const std::function<void()>& passo) {
    QElapsedTimer t;
    t.start();
    passo();
    return t.nsecsElapsed();
}

void Riga(const QString& nome, qint64 griglia, qint64 nudo) {
    std::printf("%-44s %12s %12s %7s\n", qPrintable(nome), qPrintable(Ms(griglia)), qPrintable(Ms(nudo)),
                qPrintable(Rapporto(griglia, nudo)));
}

// Times the operation and its steps run bare, interleaved (`passi` gives the steps of the run
// just made); then runs both once more to list their requests, prints them and adds them to the
// summary.
struct TMisuratore {
    TFbDatabase& Db;
    TFbTransaction& Tr;
    TRiepilogo& Riepilogo;
    QString Modalita;

    void Misura(const QString& nome, const std::function<void()>& operazione, const std::function<TPassi()>& passi) {
        QVector<qint64> griglia, nudo;
        for (int i = 0; i < Ripetizioni; ++i) {
            griglia << Tempo(operazione);
            const TPassi p = passi();
            nudo << Tempo([&] { EseguiNudo(Db, Tr, p); });
        }
        Riga(nome, Mediana(griglia), Mediana(nudo));
        const TRichiesteOperazione r = Richieste(operazione, passi);
        const TRichiesteOperazione n = Richieste([&] { EseguiNudo(Db, Tr, r.Passi); }, [&] { return r.Passi; });
        StampaRichieste(r, n.Costo);
        for (const QString& riga : n.Oltre) std::printf("   (the bare run differs from its steps: %s)\n", qPrintable(riga));
        Riepilogo.Aggiungi(Modalita, nome, Mediana(griglia), Mediana(nudo), r);
    }
};

void Misura(const TModalitaBench& modalita, int altre, TRiepilogo& riepilogo) {
    std::printf("\n=== %s ===\n", qPrintable(modalita.Nome()));
    TArchivioBench archivio("archivio.fdb", modalita);
    TFbDatabase& db = archivio.Db;
    if (altre > 0) DemoData::AggiungiLogMassivo(db, altre);
    {
        TFbTransaction tr(&db);
        tr.Start();
        TFbSQL q(&db, &tr);
        q.SetParamCheck(false);
        q.SetSQL({"EXECUTE BLOCK AS", "  DECLARE I INTEGER = 0;", "BEGIN", "  WHILE (I < 1000) DO BEGIN",
                  "    INSERT INTO ZELSCANLOGLIGHT (ID, DATOINPUT, NR_MACCHINA, DATAORA, FILEDESTINAZIONE_NOME, "
                  "TIPOOPERAZIONE, STATUS)",
                  "      VALUES (GEN_ID(GEN_ZELSCANLOGLIGHT, 1), 'B1000', MOD(:I, 7) + 1,",
                  "              DATEADD(MOD(:I * 7919, 1000) MINUTE TO TIMESTAMP '2024-01-01 00:00:00'),",
                  "              'pezzo_' || :I || '.nc', 'EXPORT LAVORO', 'ACCETTATO');",
                  "    I = I + 1;", "  END", "END"});
        q.ExecQuery();
        tr.Commit();
    }
    std::printf("log: %d rows, subject B1000 with 1,000 of them, written in %s (%s)\n", altre + 1000,
                qPrintable(Ms(archivio.Preparazione.nsecsElapsed())), qPrintable(archivio.Connessione));

    // the window's arrangement: its query, its before-open handler and a shown grid
    TFbTransaction tr(&db);
    TFbQuery query;
    query.SetDatabase(&db);
    query.SetTransaction(&tr);
    TPtqGrid grid;
    QString soggetto = "B1000";
    query.BeforeOpen = [&](TFbDataSet*) {
        if (grid.RicercaInCorso()) return;
        query.SQL = SQLGriglia(soggetto);
        grid.SQLIniziale() = query.SQL;
        grid.RecuperaAspettodaStorico();
    };
    query.BeforeClose = [&](TFbDataSet*) {
        if (!grid.RicercaInCorso() && query.Active()) grid.SalvaAspettoSuStorico();
    };
    grid.SetCodiceProgetto(534);
    grid.SetSituazione(1);
    grid.SetUtente(1);
    grid.SetNomeTabellaQuery("ZELSCANLOGLIGHT");
    grid.SetSorgenteDati(&query);
    grid.SetTabellaPiccola(true);
    grid.resize(980, 300);
    grid.show();
    tr.Start();
    query.Open();
    QApplication::processEvents();
    query.Close();  // stores the layout: every later opening restores it

    const TChiaveImpostazioni chiave = grid.ChiaveAspetto();
    auto apri = [&] {
        query.Close();
        query.Open();
        QApplication::processEvents();
        grid.repaint();
    };
    TMisuratore m{db, tr, riepilogo, modalita.Nome()};

    std::printf("\n%-44s %12s %12s %7s\n", "", "grid", "bare", "ratio");
    // closing with the layout saved, opening with the layout restored, primary-key order
    apri();
    m.Misura("reopen B1000: save, restore, first screen", apri, [&] {
        return PassiSalvataggio(chiave, false) + PassiApertura(chiave, SQLGriglia(soggetto),
                                                               {"ORDER BY ZELSCANLOGLIGHT.ID"}, false,
                                                               query.FetchedCount());
    });
    QVector<qint64> tPittura, tRipristino;
    for (int i = 0; i < Ripetizioni; ++i) {
        tPittura << Tempo([&] { grid.repaint(); });
        tRipristino << Tempo([&] { grid.RecuperaAspettodaStorico(); });
    }
    std::printf("  of which: a repaint of the grid alone %s, the restore alone %s\n",
                qPrintable(Ms(Mediana(tPittura))), qPrintable(Ms(Mediana(tRipristino))));

    // a title double-click on DATAORA, every time reversing the direction
    const int dataora = grid.Colonne().PosizioneDi("DATAORA");
    auto ordina = [&] {
        grid.OrdinaPerColonna(dataora);
        QApplication::processEvents();
        grid.repaint();
    };
    m.Misura("title double-click sort on B1000", ordina, [&] {
        const TOrdinamentoGriglia& o = grid.Ordinamento();
        const QStringList ordine{"ORDER BY ZELSCANLOGLIGHT.DATAORA" + QString(o.FTipoOrdinamento == 2 ? " DESC" : "")};
        return PassiSalvataggio(chiave, true, grid.Colonne().Colonne(), o) +
               PassiApertura(chiave, SQLGriglia(soggetto), ordine, true, query.FetchedCount());
    });

    // the save: nothing changed, then a width changed every time
    m.Misura("layout save, nothing changed", [&] { grid.SalvaAspettoSuStorico(); },
             [&] { return PassiSalvataggio(chiave, false); });
    int giro = 0;
    m.Misura("layout save, one width changed",
             [&] {
                 grid.setColumnWidth(0, 80 + giro++ % 2);
                 grid.SalvaAspettoSuStorico();
             },
             [&] { return PassiSalvataggio(chiave, true, grid.Colonne().Colonne(), grid.Ordinamento()); });

    // the whole log, primary-key order: back to no sort first
    {
        TFbTransaction t(&db);
        t.Start();
        TFbSQL q(&db, &t);
        q.SetParamCheck(false);
        q.SetSQL({"UPDATE STOASP1 SET ORDINAMENTO=NULL"});
        q.ExecQuery();
        t.Commit();
    }
    grid.SettaGridPerForzaturaOrdinamento();
    soggetto.clear();
    apri();
    QVector<qint64> tGriglia;
    for (int i = 0; i < Ripetizioni; ++i) tGriglia << Tempo(apri);
    std::printf("%-44s %12s   (%s; target under 100 ms)\n", "reopen whole log, first screen",
                qPrintable(Ms(Mediana(tGriglia))), qPrintable(query.SQL.last()));
    query.Close();
    if (tr.Active()) tr.Commit();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        QStringList argomenti = app.arguments();
        const QVector<TModalitaBench> modi = ModalitaBench(argomenti);
        const int altre = argomenti.size() > 1 ? argomenti[1].toInt() : 999000;
        TRiepilogo riepilogo;
        for (const TModalitaBench& modalita : modi) Misura(modalita, altre, riepilogo);
        riepilogo.Stampa("bench_griglia");
        std::printf("medians of %d runs. bare: the statements the steps require, run through the data layer.\n"
                    "Targets: reopen at most 1.3x bare, sort at most 1.3x bare; on a server at most 1.5x the\n"
                    "embedded ratios, with nothing beyond the steps.\n",
                    Ripetizioni);
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
