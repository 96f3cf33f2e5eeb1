// The log grid as the main window uses it, on an archive with 1,000,000 log rows and a subject of
// 1,000 rows: opening with the stored layout restored until the first screen is painted, a title
// double-click sort, the layout save with and without a change — each beside the same statements
// run bare through the data layer (the rows the grid fetched, fetched bare) — and the first screen
// of the whole log in primary-key order. Prints medians and ratios. Runs offscreen unless a
// platform is named. An argument gives another size of the log (rows besides the subject's).
#include "bench/datalayer/ArchivioBench.h"
#include "bench/datalayer/Misure.h"
#include "db/Errore.h"
#include "db/FbDataSet.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "grid/AspettoGriglia.h"
#include "grid/OrdinamentoGriglia.h"
#include "grid/PtqGrid.h"
#include "sql/DemoData.h"

#include <QApplication>
#include <cstdio>
#include <functional>

namespace {

constexpr int Ripetizioni = 7;

QStringList SQLGriglia(const QString& soggetto) {
    QStringList sql{"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT", "WHERE", "  ID IS NOT NULL"};
    if (!soggetto.isEmpty()) sql << "  AND" << "  DATOINPUT='" + soggetto + "'";
    return sql;
}

// One statement as the grid sends it: its lines, the rows it fetches (-1 all), and whether it is
// only prepared (the origins of the base query).
struct TPasso {
    QStringList SQL;
    int Righe = -1;
    bool SoloPreparato = false;
};

// The statements run bare, each in a transaction of its own as the grid runs them.
void Nudo(TFbDatabase& db, const QVector<TPasso>& passi) {
    for (const TPasso& p : passi) {
        TFbTransaction tr(&db);
        tr.Start();
        TFbSQL q(&db, &tr);
        q.SetParamCheck(false);
        q.SetSQL(p.SQL);
        if (p.SoloPreparato) {
            q.Prepare();
        } else {
            q.ExecQuery();
            for (int n = 1; !q.Eof() && (p.Righe < 0 || n < p.Righe); ++n) q.Next();
        }
        q.Close();
        tr.Rollback();
    }
}

// The layout save's write: the read, the delete and one prepared insert per column, committed.
void ScritturaNuda(TFbDatabase& db, const TChiaveImpostazioni& chiave, const QVector<TColonnaAspetto>& colonne) {
    TFbTransaction tr(&db);
    tr.Start();
    TFbSQL q(&db, &tr);
    q.SetParamCheck(false);
    q.SetSQL(LineeLetturaAspetto(chiave, true));
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
    }
    q.SetSQL(LineeCancellaAspetto(chiave));
    q.ExecQuery();
    q.SetParamCheck(true);
    q.SetSQL(LineeInserisciAspetto(chiave));
    for (int i = 0; i < colonne.size(); ++i) {
        q.SetParam("NOMECAMPO", colonne[i].NomeCampo);
        q.SetParam("LARGHEZZA", colonne[i].Larghezza);
        q.SetParam("POSIZIONE", i);
        q.SetParam("NOMECOLONNA", colonne[i].NomeColonna);
        q.SetParam("ORDINAMENTO", QVariant());
        q.SetParam("VISIBILE", 1);
        q.SetParam("COLORECOLONNA", 0);
        q.SetParam("ORIGINE", colonne[i].Origine);
        q.ExecQuery();
    }
    tr.Commit();
}

qint64 Tempo(const std::function<void()>& passo) {
    QElapsedTimer t;
    t.start();
    passo();
    return t.nsecsElapsed();
}

void Riga(const char* nome, qint64 griglia, qint64 nudo) {
    std::printf("%-44s %12s %12s %7s\n", nome, qPrintable(Ms(griglia)), qPrintable(Ms(nudo)),
                qPrintable(Rapporto(griglia, nudo)));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        TArchivioBench archivio;
        TFbDatabase& db = archivio.Db;
        const int altre = argc > 1 ? QString(argv[1]).toInt() : 999000;
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
        std::printf("log: %d rows, subject B1000 with 1,000 of them, written in %s\n", altre + 1000,
                    qPrintable(Ms(archivio.Preparazione.nsecsElapsed())));

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
        auto passiApertura = [&](const QStringList& ordine, bool primoSort) {
            QVector<TPasso> p;
            p << TPasso{LineeOrdinamentoSingolo(chiave)};
            if (primoSort) p << TPasso{SQLGriglia(soggetto), -1, true};
            else p << TPasso{LineeChiavePrimaria("ZELSCANLOGLIGHT")};
            p << TPasso{SQLGriglia(soggetto) + QStringList{""} + ordine, query.FetchedCount()};
            p << TPasso{LineeLetturaAspetto(chiave, false)};
            return p;
        };

        std::printf("\n%-44s %12s %12s %7s\n", "", "grid", "bare", "ratio");
        // opening with the layout restored, primary-key order
        apri();
        QVector<qint64> tGriglia, tNudo;
        QVector<TPasso> passi = passiApertura({"ORDER BY ZELSCANLOGLIGHT.ID"}, false);
        for (int i = 0; i < Ripetizioni; ++i) {
            tGriglia << Tempo(apri);
            tNudo << Tempo([&] { Nudo(db, passi); });
        }
        Riga("open B1000 + restore, first screen painted", Mediana(tGriglia), Mediana(tNudo));
        QVector<qint64> tPittura, tRipristino;
        for (int i = 0; i < Ripetizioni; ++i) {
            tPittura << Tempo([&] { grid.repaint(); });
            tRipristino << Tempo([&] { grid.RecuperaAspettodaStorico(); });
        }
        std::printf("  of which: a repaint of the grid alone %s, the restore alone %s\n",
                    qPrintable(Ms(Mediana(tPittura))), qPrintable(Ms(Mediana(tRipristino))));

        // a title double-click on DATAORA, every time reversing the direction
        const int dataora = grid.Colonne().PosizioneDi("DATAORA");
        tGriglia.clear();
        tNudo.clear();
        for (int i = 0; i < Ripetizioni; ++i) {
            tGriglia << Tempo([&] {
                grid.OrdinaPerColonna(dataora);
                QApplication::processEvents();
                grid.repaint();
            });
            const QStringList ordine{"ORDER BY ZELSCANLOGLIGHT.DATAORA" +
                                     QString(grid.Ordinamento().FTipoOrdinamento == 2 ? " DESC" : "")};
            const QVector<TColonnaAspetto> colonne = grid.Colonne().Colonne();
            QVector<TPasso> p = passiApertura(ordine, true);
            tNudo << Tempo([&] {
                ScritturaNuda(db, chiave, colonne);
                Nudo(db, p);
            });
        }
        Riga("title double-click sort on B1000", Mediana(tGriglia), Mediana(tNudo));

        // the save: nothing changed, then a width changed every time
        tGriglia.clear();
        tNudo.clear();
        for (int i = 0; i < Ripetizioni; ++i) {
            tGriglia << Tempo([&] { grid.SalvaAspettoSuStorico(); });
            tNudo << Tempo([&] { Nudo(db, {TPasso{LineeLetturaAspetto(chiave, true)}}); });
        }
        Riga("save, nothing changed", Mediana(tGriglia), Mediana(tNudo));
        tGriglia.clear();
        tNudo.clear();
        for (int i = 0; i < Ripetizioni; ++i) {
            grid.setColumnWidth(0, 80 + i % 2);
            tGriglia << Tempo([&] { grid.SalvaAspettoSuStorico(); });
            const QVector<TColonnaAspetto> colonne = grid.Colonne().Colonne();
            tNudo << Tempo([&] { ScritturaNuda(db, chiave, colonne); });
        }
        Riga("save, one width changed", Mediana(tGriglia), Mediana(tNudo));

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
        tGriglia.clear();
        for (int i = 0; i < Ripetizioni; ++i) tGriglia << Tempo(apri);
        std::printf("%-44s %12s   (%s; target under 100 ms)\n", "open whole log, first screen",
                    qPrintable(Ms(Mediana(tGriglia))), qPrintable(query.SQL.last()));
        std::printf("medians of %d runs. Targets: open at most 1.3x bare, sort at most 1.2x bare.\n", Ripetizioni);
        query.Close();
        if (tr.Active()) tr.Commit();
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
