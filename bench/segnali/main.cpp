// The session's signals at the windows of the suite: the program (ZelScanFile), the report
// launcher's preview and designer and the query utility, each started as a child on the offscreen
// platform over a fresh demo archive and sent SIGTERM once it handles the signals and is idle; the
// time from the signal to the end of the process, median and slowest of the runs.
// Usage: bench_segnali [runs]   (default 10).
#include "bench/datalayer/Misure.h"
#include "tests/support/SegnaliProcesso.h"
#include "tests/support/TestDb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

void Scrivi(const QString& percorso, const QByteArray& contenuto) {
    QDir().mkpath(QFileInfo(percorso).absolutePath());
    QFile f(percorso);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(contenuto);
}

QByteArray Leggi(const QString& percorso) {
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A command file `nome` for the launcher on the demo log, in preview or designer mode.
QString ComandoFelgora(const QString& bin, const QString& nome, const QByteArray& modo) {
    const QString report = bin + "/report/StPtqGrid.LST";
    Scrivi(report, Leggi(QStringLiteral(ZEL_FELGORA_FILE "/verticale.LST")));
    const QString comando = bin + "/Report/" + nome + ".txt";
    Scrivi(comando, "<PtqForm>\r\n<SQLStampa>SELECT * FROM ZELSCANLOGLIGHT ORDER BY ID\r\n</SQLStampa>\r\n<NomeReport>" +
                        report.toLocal8Bit() + "</NomeReport>\r\n<TitoloStampa>ZELSCANLOGLIGHT</TitoloStampa>\r\n" + modo +
                        "\r\n</PtqForm>\r\n");
    return comando;
}

void Misura(const QString& nome, const QString& programma, const QStringList& argomenti, int volte) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QVector<qint64> tempi;
    int falliti = 0;
    for (int i = 0; i < volte; ++i) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(programma, argomenti);
        const TFineSegnale fine = p.waitForStarted(10000) ? TerminaConSegnale(p, SIGTERM) : TFineSegnale{};
        if (fine.Inviato && fine.Finito && fine.Stato == QProcess::NormalExit) tempi << fine.Millisecondi * 1000000;
        else ++falliti;
    }
    const qint64 massimo = tempi.isEmpty() ? 0 : *std::max_element(tempi.begin(), tempi.end());
    std::printf("%-22s %3d runs  median %s  slowest %s%s\n", qPrintable(nome), int(tempi.size()),
                qPrintable(Ms(Mediana(tempi))), qPrintable(Ms(massimo)),
                falliti ? qPrintable(QString("  (%1 did not end normally)").arg(falliti)) : "");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int volte = argc > 1 ? qMax(1, QString(argv[1]).toInt()) : 10;
    TTestDir dir;
    const QString archivio = dir.NuovoArchivioDemo();
    const QString utenti = dir.NuovoUtentiDemo(archivio);
    const QString bin = dir.Path("bin");
    Scrivi(bin + "/ParametriZelScan.ini", "[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nPercorsoDatabase=" + utenti.toLocal8Bit() + "\r\n");
    for (const char* exe : {ZEL_PROGRAMMA_EXE, ZEL_FELGORA_EXE}) QFile::copy(exe, bin + "/" + QFileInfo(exe).fileName());
    std::printf("From SIGTERM to the end of the process, offscreen, idle window, %d runs each\n", volte);
    Misura("ZelScanFile", bin + "/ZelScanFile", {}, volte);
    Misura("Felgora.exe preview", bin + "/Felgora.exe", {"1", ComandoFelgora(bin, "anteprima", "<AnteprimaDiretta>1</AnteprimaDiretta>")}, volte);
    Misura("Felgora.exe designer", bin + "/Felgora.exe",
           {"1", ComandoFelgora(bin, "designer", "<EditaReportDiretto>1</EditaReportDiretto>")}, volte);
    Misura("Tondrik.exe", ZEL_TONDRIK_EXE,
           {"VisualizzaConQuery", "Tabella=CLIENTI", "DatabaseName=" + archivio, "BinDir=", "NomeProgetto=01", "Utente=1"}, volte);
    return 0;
}
