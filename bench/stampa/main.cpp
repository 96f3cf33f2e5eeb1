// A print run's file work for a layout of 10 visible columns: the report definition written by the
// print job (layout statement in a transaction of its own, run for the fitting and for each column
// list, text built, file written) plus the launcher's command file, next to the bare operations
// (the same statement run three times through the data layer, the same bytes written to two
// files), the transaction alone, and the text alone built from rows at hand. Two series: on the
// database as created (the engine syncs the disk when a transaction starts and ends, which a busy
// disk makes slow) and with forced writes off. Prints the medians and the ratios; the target for
// the job's part is under 5 ms.
#include "bench/datalayer/Misure.h"
#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "print/DefinizioneReport.h"
#include "print/Felgora.h"
#include "print/FileAnsi.h"
#include "print/StPtqGrid.h"
#include "sql/DemoData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Colonne = 10;
constexpr int Ripetizioni = 51;
const QString SQLGriglia = "SELECT *\r\nFROM ZELSCANLOGLIGHT\r\nWHERE DATOINPUT = 'A123'\r\nORDER BY ID\r\n";

void ScriviByte(const QString& percorso, const QByteArray& byte) {
    QFile f(percorso);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(byte) != byte.size())
        throw Exception("cannot write " + percorso);
}

// One series of each measurement on `db`, printed under `titolo`.
void Misura(TFbDatabase& db, TPtqGridStampa& stampa, const QTemporaryDir& dir, const char* titolo) {
    QVector<qint64> lavoro, nudo, testo;
    QByteArray definizione, comando;
    for (int r = 0; r < Ripetizioni; ++r) {
        QElapsedTimer t;
        t.start();
        stampa.GeneraReport();
        const QString percorsoComando = PercorsoComandoFelgora(stampa.BinDir, dir.path(), QDateTime::currentDateTime());
        ScriviFileAnsi(percorsoComando, TestoComandoFelgora(stampa.SQLRif, stampa.PercorsoReport(), stampa.Tabella, mrAnteprima));
        lavoro << t.nsecsElapsed();
        QFile f(stampa.PercorsoReport());
        if (r == 0 && f.open(QIODevice::ReadOnly)) definizione = f.readAll();
        QFile c(percorsoComando);
        if (r == 0 && c.open(QIODevice::ReadOnly)) comando = c.readAll();
        stampa.CancellaReport();
        QFile::remove(percorsoComando);
    }

    // Bare: the statement three times with every row fetched, and the bytes written.
    QVector<TColonnaLayout> righe;
    for (int r = 0; r < Ripetizioni; ++r) {
        QElapsedTimer t;
        t.start();
        TFbTransaction tr(&db);
        tr.Start();
        TFbSQL q(&db, &tr);
        q.SetParamCheck(false);
        q.SetSQL(stampa.SQLLayout());
        for (int volta = 0; volta < 3; ++volta) {
            q.Close();
            q.ExecQuery();

            righe.clear();
            for (; !q.Eof(); q.Next()) righe.append({q.Field(0).AsString(), q.Field(1).AsString(), q.Field(2).AsInteger()});
        }
        tr.Rollback();
        ScriviByte(dir.filePath("nudo.lst"), definizione);
        ScriviByte(dir.filePath("nudo.txt"), comando);
        nudo << t.nsecsElapsed();
        QFile::remove(dir.filePath("nudo.lst"));
        QFile::remove(dir.filePath("nudo.txt"));
    }

    // Where the bare time goes: the transaction alone, started and rolled back.
    QVector<qint64> transazione;
    for (int r = 0; r < Ripetizioni; ++r) {
        QElapsedTimer t;
        t.start();
        TFbTransaction tr(&db);
        tr.Start();
        tr.Rollback();
        transazione << t.nsecsElapsed();
    }

    qsizetype caratteri = 0;
    for (int r = 0; r < Ripetizioni; ++r) {
        QElapsedTimer t;
        t.start();
        caratteri += TestoReport(stampa, [&righe] { return righe; }).size();
        testo << t.nsecsElapsed();
    }

    const qint64 mLavoro = Mediana(lavoro), mNudo = Mediana(nudo), mTesto = Mediana(testo);
    const qint64 mTransazione = Mediana(transazione);
    std::printf("%s: %d visible columns (%lld-byte definition, %lld-byte command file), median of %d:\n", titolo,
                Colonne, qint64(definizione.size()), qint64(comando.size()), Ripetizioni);
    std::printf("  print job: definition + command file   %s   (target: under 5 ms: %s)\n", qPrintable(Ms(mLavoro)),
                mLavoro < 5'000'000 ? "met" : "NOT met");
    std::printf("  bare: statement x3 + two file writes     %s   (job / bare: %.2f)\n", qPrintable(Ms(mNudo)),
                double(mLavoro) / double(mNudo));
    std::printf("  of which a transaction started and ended %s\n", qPrintable(Ms(mTransazione)));
    std::printf("  definition text alone, rows at hand      %s\n", qPrintable(Ms(mTesto)));
    if (caratteri == 0) throw Exception("no definition text");
}

int Principale() {
    QTemporaryDir dir;
    const QString archivio = dir.filePath("archivio.fdb");
    DemoData::CreaDatabase(archivio, DemoData::ScriptArchivio());
    TFbDatabase db;
    DemoData::Connetti(db, archivio);
    {
        TFbTransaction tr(&db);
        tr.Start();
        TFbSQL ins(&db, &tr);
        ins.SetParamCheck(false);
        for (int i = 1; i <= Colonne; ++i) {
            ins.SetSQL({QString("INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO, "
                                "LARGHEZZA, POSIZIONE, NOMECOLONNA, VISIBILE) VALUES (534, 0, 1, 'CAMPO%1', %2, %1, "
                                "'Colonna %1', 1)").arg(i).arg(40 + 7 * i)});
            ins.ExecQuery();
        }
        tr.Commit();
    }
    const QString bin = dir.filePath("bin");
    QDir().mkpath(bin + "/report");
    QDir().mkpath(bin + "/Report");

    TPtqGridStampa stampa(nullptr, dir.path());
    stampa.Progetto = 534;
    stampa.Utente = 1;
    stampa.Tabella = "ZELSCANLOGLIGHT";
    stampa.SQLRif = SQLGriglia;
    stampa.BinDir = bin;
    stampa.DatabaseRif = &db;
    stampa.Intestazione_Riga1 = "Registro invii";
    stampa.FlagNumeraPagine = true;
    stampa.FlagForzaUltimaColonna = true;

    Misura(db, stampa, dir, "database as created (forced writes on)");
    // The engine then syncs the disk at every transaction start and end; without that, what is
    // left is the program's own work.
    db.Close();
    if (QProcess::execute("gfix", {"-write", "async", "-user", "SYSDBA", archivio}) != 0)
        throw Exception("gfix -write async failed");
    db.Open();
    Misura(db, stampa, dir, "forced writes off (gfix -write async)");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        return Principale();
    } catch (const Exception& e) {
        std::fprintf(stderr, "bench_stampa: %s\n", qPrintable(e.Message()));
        return 1;
    }
}
