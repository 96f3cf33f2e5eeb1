// Start-up of the built ZelScanFile on a demo installation whose customer C20 has 20 orders ×
// 3 machines × 4 files: the program copied into a fresh folder with its ParametriZelScan.ini, then
// started with UTENTE=1 DITTA=01 SOGGETTO=C20, many times. Measures (1) the start-up checks alone
// ("--check", offscreen, until the process ends) and (2) the time until the window is on screen:
// under Xvfb, polling xdotool for a visible window named ZelScanFile, then ending the program.
// Prints the first run and the median of the later ones.
//
// Phase (2) needs an X server: unless DISPLAY is set, the program runs itself again under
// "xvfb-run -a" with the argument --finestra <folder> and prints that run's lines.
#include "bench/datalayer/Misure.h"
#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "sql/DemoData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Ripetizioni = 8;  // the first run and this many later ones
const QStringList Argomenti{"UTENTE=1", "DITTA=01", "SOGGETTO=C20"};

void Connetti(TFbDatabase& db, const QString& path) {
    db.SetDatabaseName(path);
    db.Params() = QStringList{"user_name=SYSDBA", "password=quillbent"};
    db.Open();
}

// Archive and user database in `cartella`, the program and its INI file in <cartella>/prog;
// returns the program's path. The connections are closed again before returning.
QString CreaInstallazione(const QString& cartella) {
    const QString archivio = cartella + "/archivio.fdb", utenti = cartella + "/user.fdb";
    DemoData::CreaDatabase(archivio, DemoData::ScriptArchivio());
    {
        TFbDatabase db;
        Connetti(db, archivio);
        DemoData::PopolaArchivioBase(db);
        DemoData::AggiungiClienteGrande(db, "C20", 20, 3, 4);
    }
    DemoData::CreaDatabase(utenti, DemoData::ScriptUtenti());
    {
        TFbDatabase db;
        Connetti(db, utenti);
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

void StampaSerie(const char* nome, const QVector<qint64>& tempi) {
    const qint64 mediana = Mediana(tempi.mid(1));
    std::printf("%-44s first %12s   median of %d later %12s   %s\n", nome, qPrintable(Ms(tempi.first())),
                int(tempi.size()) - 1, qPrintable(Ms(mediana)),
                mediana < 300'000'000 ? "(target under 300 ms: met)" : "(target under 300 ms: missed)");
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

bool FinestraVisibile(qint64 pid) {
    QProcess x;
    x.start("xdotool", {"search", "--all", "--onlyvisible", "--pid", QString::number(pid), "--name", "ZelScanFile"});
    x.waitForFinished(5000);
    return x.exitCode() == 0 && !x.readAllStandardOutput().trimmed().isEmpty();
}

// Started normally on the X server of DISPLAY; the time until its window is visible. The time is
// known to within one xdotool call (about 60 ms on a busy 2-core machine), which it includes.
QVector<qint64> TempiFinestra(const QString& programma) {
    QVector<qint64> tempi;
    for (int i = 0; i <= Ripetizioni; ++i) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer t;
        t.start();
        p.start(programma, Argomenti);
        if (!p.waitForStarted(10000)) throw Exception("ZelScanFile did not start");
        bool visibile = false;
        while (!visibile && t.elapsed() < 30000 && p.state() == QProcess::Running) visibile = FinestraVisibile(p.processId());
        const qint64 tempo = t.nsecsElapsed();
        p.kill();  // the program does not end on SIGTERM
        p.waitForFinished(5000);
        if (!visibile) throw Exception("no visible ZelScanFile window");
        tempi << tempo;
    }
    return tempi;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    try {
        // the second phase, run again under Xvfb on the installation of the first
        if (argomenti.size() == 3 && argomenti[1] == "--finestra") {
            StampaSerie("window visible (Xvfb, xdotool polling)", TempiFinestra(argomenti[2]));
            return 0;
        }
        QTemporaryDir dir;
        QElapsedTimer prep;
        prep.start();
        const QString programma = CreaInstallazione(dir.path());
        std::printf("demo installation with customer C20 (20 orders x 3 machines x 4 files) built in %s\n"
                    "program: %s %s\n\n",
                    qPrintable(Ms(prep.nsecsElapsed())), qPrintable(programma), qPrintable(Argomenti.join(' ')));

        StampaSerie("start-up checks only (--check, offscreen)", TempiCheck(programma));

        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            if (QStandardPaths::findExecutable("xdotool").isEmpty()) {
                std::printf("xdotool not found: window time not measured\n");
                return 0;
            }
            StampaSerie("window visible (DISPLAY, xdotool polling)", TempiFinestra(programma));
        } else if (QStandardPaths::findExecutable("xvfb-run").isEmpty() ||
                   QStandardPaths::findExecutable("xdotool").isEmpty()) {
            std::printf("xvfb-run or xdotool not found: window time not measured\n");
        } else {
            std::fflush(stdout);
            QProcess xvfb;
            xvfb.setProcessChannelMode(QProcess::ForwardedChannels);
            xvfb.start("xvfb-run", {"-a", "-s", "-screen 0 1280x900x24", QCoreApplication::applicationFilePath(),
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
