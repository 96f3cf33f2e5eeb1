// The stand-in report launcher on 10,000 log rows: for the portrait definition (page numbers on,
// so the rows are laid out twice) and the landscape one (one pass), the time to render the PDF
// in this process and its pages per second, next to reading the same rows bare through the data
// layer; then the real Felgora.exe run as a child (--pdf), its wall time and peak memory.
// Usage: bench_felgora [rows]   (default 10000). Runs offscreen when there is no display.
#include "db/FbDatabase.h"
#include "sql/DemoData.h"
#include "tools/felgora/DefinizioneReport.h"
#include "tools/felgora/Felgora.h"
#include "tools/felgora/Impaginazione.h"
#include "tools/felgora/RigheStampa.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

const QStringList SQL{"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT", "WHERE", "  ID IS NOT NULL", "ORDER BY", "  ID"};

QByteArray Leggi(const QString& percorso) {
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Scrivi(const QString& percorso, const QByteArray& contenuto) {
    QFile f(percorso);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(contenuto);
}

// Peak resident memory of this process so far, in MiB (VmHWM).
double PiccoMemoria() {
    const QByteArray stato = Leggi("/proc/self/status");
    const qsizetype i = stato.indexOf("VmHWM:");
    return i < 0 ? 0 : stato.mid(i + 6, stato.indexOf('\n', i) - i - 6).trimmed().split(' ').first().toDouble() / 1024;
}

double LetturaNuda(TFbDatabase& archivio, int& righe, qsizetype& caratteri) {
    QElapsedTimer t;
    t.start();
    TRigheSQL dati(&archivio, SQL);
    dati.Apri();
    const int campi = int(dati.Campi().size());
    caratteri = 0;
    for (righe = 0; dati.Prossima(); ++righe)
        for (int c = 0; c < campi; ++c) caratteri += dati.Valore(c).size();
    return t.nsecsElapsed() / 1e6;
}

void Rendering(TFbDatabase& archivio, const QString& fixture, const QString& pdf, double nudo) {
    const auto definizione = LeggiDefinizioneReport(Leggi(QStringLiteral(ZEL_FELGORA_FILE "/") + fixture));
    if (!definizione.Ok()) {
        std::printf("%s: %s\n", qPrintable(fixture), qPrintable(definizione.Errore()));
        return;
    }
    TRigheSQL dati(&archivio, SQL);
    QPdfWriter writer(pdf);
    writer.setPageLayout(LayoutPagina(definizione.Valore()));
    QElapsedTimer t;
    t.start();
    const int pagine = StampaReport(definizione.Valore(), writer, dati);
    const double ms = t.nsecsElapsed() / 1e6;
    std::printf("%-16s %5d pages  %8.0f ms  %6.1f pages/s  (%.1fx the bare read)  PDF %.1f MiB  peak so far %.0f MiB\n",
                qPrintable(fixture), pagine, ms, pagine / (ms / 1000), ms / nudo, QFileInfo(pdf).size() / 1048576.0,
                PiccoMemoria());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SostituisciFontArial();
    const int righe = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    QTemporaryDir dir;
    const QString archivio = dir.filePath("archivio.fdb"), utenti = dir.filePath("user.fdb");
    DemoData::CreaDatabase(archivio, DemoData::ScriptArchivio());
    {
        TFbDatabase db;
        DemoData::Connetti(db, archivio);
        DemoData::AggiungiLogMassivo(db, righe);
    }
    DemoData::CreaDatabase(utenti, DemoData::ScriptUtenti());
    {
        TFbDatabase db;
        DemoData::Connetti(db, utenti);
        DemoData::PopolaUtenti(db, archivio, dir.filePath("bin"));
    }
    TFbDatabase db;
    DemoData::Connetti(db, archivio);
    std::printf("bench_felgora: %d log rows, peak memory before rendering %.0f MiB\n", righe, PiccoMemoria());

    int lette = 0;
    qsizetype caratteri = 0;
    LetturaNuda(db, lette, caratteri);  // warm-up
    const double nudo = LetturaNuda(db, lette, caratteri);
    std::printf("bare read       %5d rows   %8.1f ms  (every value as text, %lld characters)\n", lette, nudo,
                static_cast<long long>(caratteri));
    Rendering(db, "verticale.LST", dir.filePath("verticale.pdf"), nudo);
    Rendering(db, "orizzontale.LST", dir.filePath("orizzontale.pdf"), nudo);

    // the real program, as the grid starts it
    QDir().mkpath(dir.filePath("bin/report"));
    QDir().mkpath(dir.filePath("bin/Report"));
    Scrivi(dir.filePath("bin/ParametriZelScan.ini"),
           "[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nPercorsoDatabase=" + QDir::toNativeSeparators(utenti).toLocal8Bit() + "\r\n");
    QFile::copy(ZEL_FELGORA_EXE, dir.filePath("bin/Felgora.exe"));
    const QString report = dir.filePath("bin/report/StPtqGrid_bench.LST");
    Scrivi(report, Leggi(QStringLiteral(ZEL_FELGORA_FILE "/verticale.LST")));
    const QString comando = dir.filePath("bin/Report/bench.txt");
    Scrivi(comando, "<PtqForm>\r\n<SQLStampa>" + SQL.join("\r\n").toLocal8Bit() + "\r\n</SQLStampa>\r\n<NomeReport>" +
                        QDir::toNativeSeparators(report).toLocal8Bit() +
                        "</NomeReport>\r\n<TitoloStampa>ZELSCANLOGLIGHT</TitoloStampa>\r\n"
                        "<AnteprimaDiretta>1</AnteprimaDiretta>\r\n</PtqForm>\r\n");
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(dir.filePath("bin/Felgora.exe"), {"--pdf", dir.filePath("programma.pdf"), "1", comando});
    p.waitForFinished(-1);
    const double ms = t.nsecsElapsed() / 1e6;
    rusage uso{};
    getrusage(RUSAGE_CHILDREN, &uso);
    std::printf("Felgora.exe --pdf (portrait): exit %d, %.0f ms from start to end, peak memory %.0f MiB\n", p.exitCode(), ms,
                uso.ru_maxrss / 1024.0);
    if (p.exitCode() != 0) std::printf("%s\n", p.readAllStandardError().constData());
    return p.exitCode();
}
