// Start-up of the built ZelScanFile on a demo installation whose customer C20 has 20 orders ×
// 3 machines × 4 files: the program copied into a fresh folder with its ParametriZelScan.ini, then
// started with UTENTE=1 DITTA=01 SOGGETTO=C20, many times. Measures
//  (1) the start-up checks alone ("--check", offscreen, until the process ends), and the checks'
//      own time in a fresh process without any window (--solo-verifica);
//  (2) the time until the window is on screen, under Xvfb: until the X server maps a top-level
//      window of the process, told by the server itself (no polling that would share the CPU);
//      in the same run and timed the same way, a bare Qt window with a tree of the same size
//      (bench_finestra_nuda), the two started in turn;
//  (3) where ZelScanFile's time goes: the start-up's steps run one by one, in their order, in a
//      fresh process of this program on the same installation (--passi), each step timed; the
//      checks run on a worker while the images and the window are made, as the program does.
// Prints the first run and the median of the later ones.
//
// Phases (2) and (3) need an X server: unless DISPLAY is set, the program runs itself again under
// "xvfb-run -a" with the argument --finestra <folder> and prints that run's lines.
#include "app/FormMain.h"
#include "bench/albero/MappaFinestre.h"
#include "bench/datalayer/Misure.h"
#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "lookup/DataModuleMedia.h"
#include "sql/DemoData.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

namespace {

constexpr int Ripetizioni = 8;  // the first run and this many later ones
constexpr int Ordini = 20, Macchine = 3, File = 4;
const QStringList Argomenti{"UTENTE=1", "DITTA=01", "SOGGETTO=C20"};

qint64 OraNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Archive and user database in `cartella`, the program and its INI file in <cartella>/prog;
// returns the program's path. The connections are closed again before returning.
QString CreaInstallazione(const QString& cartella) {
    const QString archivio = cartella + "/archivio.fdb", utenti = cartella + "/user.fdb";
    DemoData::CreaDatabase(archivio, DemoData::ScriptArchivio());
    {
        TFbDatabase db;
        DemoData::Connetti(db, archivio);
        DemoData::PopolaArchivioBase(db);
        DemoData::AggiungiClienteGrande(db, "C20", Ordini, Macchine, File);
    }
    DemoData::CreaDatabase(utenti, DemoData::ScriptUtenti());
    {
        TFbDatabase db;
        DemoData::Connetti(db, utenti);
        DemoData::PopolaUtenti(db, archivio, cartella + "/bin");
    }
    QDir().mkpath(cartella + "/bin");
    QDir().mkpath(cartella + "/prog");
    const QString programma = cartella + "/prog/ZelScanFile";
    if (!QFile::copy(ZELSCANFILE_PATH, programma)) throw Exception("cannot copy " ZELSCANFILE_PATH " to " + programma);
    QFile ini(cartella + "/prog/ParametriZelScan.ini");
    if (!ini.open(QIODevice::WriteOnly) ||
        ini.write(("[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nPercorsoDatabase=" + utenti + "\r\n").toLocal8Bit()) < 0)
        throw Exception("cannot write " + ini.fileName());
    return programma;
}

void StampaSerie(const char* nome, const QVector<qint64>& tempi, const char* nota = "") {
    std::printf("%-44s first %12s   median of %d later %12s   %s\n", nome, qPrintable(Ms(tempi.first())),
                int(tempi.size()) - 1, qPrintable(Ms(Mediana(tempi.mid(1)))), nota);
}

// "--check": start-up checks only, offscreen, until the process has ended with exit code 0.
QVector<qint64> TempiCheck(const QString& programma) {
    QVector<qint64> tempi;
    for (int i = 0; i <= Ripetizioni; ++i) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer t;
        t.start();
        p.start(programma, Argomenti + QStringList{"--check"});
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            throw Exception("ZelScanFile --check failed: exit code " + QString::number(p.exitCode()));
        tempi << t.nsecsElapsed();
    }
    return tempi;
}

QProcessEnvironment AmbienteFinestra() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    return env;
}

// One start on the X server of DISPLAY: the time until a top-level window of the process is mapped,
// as the X server tells `mappe`.
qint64 TempoFinestra(TOsservatoreMappe& mappe, const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.setProcessEnvironment(AmbienteFinestra());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(programma, argomenti);
    if (!p.waitForStarted(10000)) throw Exception(programma + " did not start");
    const bool mappata = mappe.AttendiMappa(p.processId(), 30000);
    const qint64 tempo = t.nsecsElapsed();
    p.kill();  // ZelScanFile does not end on SIGTERM
    p.waitForFinished(5000);
    if (!mappata) throw Exception("no window of " + programma + " was mapped");
    return tempo;
}

// "--solo-verifica": the start-up's checks alone in a fresh process, no window: the parameters, the
// user database and the archive, as the program's worker makes them. Prints the time from when the
// parent started this process (`avvioNs`, ns since the epoch) until they ended: the least that
// the program's window can take to show, since the window is shown only after them.
int SoloVerifica(int argc, char** argv, const QString& ini, qint64 avvioNs) {
    QCoreApplication app(argc, argv);
    TAvvio avvio(Argomenti, ini);
    TFbDatabase archivio;
    avvio.Verifica(nullptr, archivio);  // runs them on the worker and waits; raises when they failed
    std::printf("%lld\n", OraNs() - avvioNs);
    return 0;
}

qint64 TempoSoloVerifica(const QString& ini) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), {"--solo-verifica", ini, QString::number(OraNs())});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) throw Exception("the checks alone failed");
    return p.readAllStandardOutput().trimmed().toLongLong();
}

// The steps of the start-up, as names and times, in the order they ran.
using TPassi = QList<QPair<QString, qint64>>;

// "--passi": the start-up of main() and of the window's checks, step by step, on the INI file of
// the installation. `avvioNs` is when the parent started this process (ns since the epoch).
// Prints one "name<TAB>ns" line per step.
int Passi(int argc, char** argv, const QString& ini, qint64 avvioNs) {
    const qint64 inMain = OraNs();
    TPassi passi{{"process start until main (libraries loaded)", inMain - avvioNs}};
    QElapsedTimer t;
    t.start();
    auto passo = [&](const QString& nome, const std::function<void()>& azione) {
        const qint64 prima = t.nsecsElapsed();
        azione();
        passi << qMakePair(nome, t.nsecsElapsed() - prima);
    };
    std::unique_ptr<QApplication> app;
    passo("QApplication", [&] { app = std::make_unique<QApplication>(argc, argv); });
    // as the program does: the checks started on a worker, then the images and the window made
    std::unique_ptr<TAvvio> avvio;
    qint64 verificaNs = 0;
    QFuture<void> fineVerifica;
    passo("parameters gathered, the checks started on a worker", [&] {
        avvio = std::make_unique<TAvvio>(Argomenti, ini);
        const qint64 inizio = t.nsecsElapsed();
        fineVerifica = avvio->AvviaVerifica().then([&t, &verificaNs, inizio] { verificaNs = t.nsecsElapsed() - inizio; });
    });
    std::unique_ptr<TDataModuleMedia> media;
    std::unique_ptr<TFormMain> form;
    passo("image module", [&] { media = std::make_unique<TDataModuleMedia>(app.get()); });
    passo("window creation (controls)", [&] { form = std::make_unique<TFormMain>(std::move(avvio)); });
    passo("checks: the worker waited for, TABX, grid binding, mode", [&] { form->CheckInit(); });
    fineVerifica.waitForFinished();
    passi << qMakePair(QStringLiteral("  the worker alone: parameters, user database, archive (beside the above)"), verificaNs);
    {  // the checks' steps again, in a fresh start-up state on this thread, with the databases open
        TAvvio ancora(Argomenti, ini);
        TFbDatabase archivio;
        passo("  again on this thread: user database attachment and user read", [&] {
            ancora.LeggiUtenteDitta(ancora.CmdParams());
            ancora.ConnettiUtente(nullptr);
        });
        passo("    of which the user read", [&] { ancora.PtqUser()->SetCodiceUtente(ancora.Utente()); });
        passo("  again on this thread: archive parameter read and attachment", [&] { ancora.ConnettiArchivio(archivio); });
        passo("    of which the parameter read", [&] { ancora.PtqUser()->GetParamKestrin(ancora.NomeParametroArchivio()); });
    }
    passo("  grid binding (settings read from SETGRID), again", [&] { form->ConfiguraGriglia(); });
    passo("show until the tree's first paint (the tree's build included)", [&] {
        bool dipinto = false;
        struct TOsservatore : QObject {
            bool& d;
            explicit TOsservatore(bool& d) : d(d) {}
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint) d = true;
                return false;
            }
        } osservatore(dipinto);
        form->TreeViewMain->viewport()->installEventFilter(&osservatore);
        form->show();
        QElapsedTimer attesa;
        attesa.start();
        while (!dipinto && attesa.elapsed() < 10000) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        form->TreeViewMain->viewport()->removeEventFilter(&osservatore);
    });
    passo("  of which the tree's build (run again)", [&] { form->CaricaAlbero(); });
    passo("not at start-up: the grid's first open", [&] { form->IBQuery->Open(); });
    for (const auto& [nome, ns] : passi) std::printf("%s\t%lld\n", qPrintable(nome), ns);
    return 0;
}

// Phase (3): the steps in fresh processes, each run many times; prints the medians.
void StampaPassi(const QString& ini) {
    QList<QString> nomi;
    QHash<QString, QVector<qint64>> tempi;
    for (int i = 0; i <= Ripetizioni; ++i) {
        QProcess p;
        p.setProcessEnvironment(AmbienteFinestra());
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationFilePath(), {"--passi", ini, QString::number(OraNs())});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) throw Exception("the step-by-step start-up failed");
        if (i == 0) continue;  // the first pays the cold caches
        for (const QByteArray& riga : p.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> campi = riga.split('\t');
            if (campi.size() != 2) continue;
            const QString nome = QString::fromUtf8(campi[0]);
            if (!tempi.contains(nome)) nomi << nome;
            tempi[nome] << campi[1].toLongLong();
        }
    }
    std::printf("\nwhere ZelScanFile's start-up time goes (its steps one by one in a fresh process, median of %d):\n",
                Ripetizioni);
    for (const QString& nome : nomi) std::printf("  %-66s %12s\n", qPrintable(nome), qPrintable(Ms(Mediana(tempi[nome]))));
}

// Phases (2) and (3), on an X server.
void FaseFinestra(const QString& programma) {
    const QString ini = QFileInfo(programma).absolutePath() + "/ParametriZelScan.ini";
    QVector<qint64> zel, nuda, verifica;
    TOsservatoreMappe mappe;
    const QStringList dimensioni{QString::number(Ordini), QString::number(Macchine), QString::number(File)};
    for (int i = 0; i <= Ripetizioni; ++i) {  // in turn, so all see the same machine load
        zel << TempoFinestra(mappe, programma, Argomenti);
        nuda << TempoFinestra(mappe, FINESTRA_NUDA_PATH, dimensioni);
        verifica << TempoSoloVerifica(ini);
    }
    StampaSerie("window visible: ZelScanFile", zel);
    StampaSerie("window visible: bare Qt window, same tree", nuda);
    StampaSerie("the start-up checks alone, no window", verifica, "(the window shows after them)");
    const double rapporto = double(Mediana(zel.mid(1))) / double(Mediana(nuda.mid(1)));
    std::printf("ratio of the medians %.2f (target at most 1.50: %s); Xvfb, until the window is mapped\n", rapporto,
                rapporto <= 1.5 ? "met" : "missed");
    std::printf("the checks alone take %.2f times the bare window: the least ZelScanFile's ratio can be\n",
                double(Mediana(verifica.mid(1))) / double(Mediana(nuda.mid(1))));
    StampaPassi(ini);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && QByteArray(argv[1]) == "--solo-verifica")
            return SoloVerifica(argc, argv, QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toLongLong());
        if (argc == 4 && QByteArray(argv[1]) == "--passi")
            return Passi(argc, argv, QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toLongLong());
        QCoreApplication app(argc, argv);
        const QStringList argomenti = app.arguments();
        // phases (2) and (3), run again under Xvfb on the installation of the first
        if (argomenti.size() == 3 && argomenti[1] == "--finestra") {
            FaseFinestra(argomenti[2]);
            return 0;
        }
        QTemporaryDir dir;
        QElapsedTimer prep;
        prep.start();
        const QString programma = CreaInstallazione(dir.path());
        std::printf("demo installation with customer C20 (%d orders x %d machines x %d files) built in %s\n"
                    "program: %s %s\n\n",
                    Ordini, Macchine, File, qPrintable(Ms(prep.nsecsElapsed())), qPrintable(programma),
                    qPrintable(Argomenti.join(' ')));

        StampaSerie("start-up checks only (--check, offscreen)", TempiCheck(programma));

        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            FaseFinestra(programma);
        } else if (QStandardPaths::findExecutable("xvfb-run").isEmpty()) {
            std::printf("xvfb-run not found: window time not measured\n");
        } else {
            std::fflush(stdout);
            QProcess xvfb;
            xvfb.setProcessChannelMode(QProcess::ForwardedChannels);
            xvfb.start("xvfb-run", {"-a", "-s", "-screen 0 1280x900x24 -noreset", QCoreApplication::applicationFilePath(),
                                    "--finestra", programma});
            if (!xvfb.waitForFinished(600000) || xvfb.exitCode() != 0) throw Exception("the run under xvfb-run failed");
        }
        std::printf("timed from the start of the process; the first run after the copy pays the cold caches.\n");
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
