// Stand-in for the suite's query utility: shows the rows of one table of a database.
// With "--check" before the command, or with ZEL_TONDRIK_LOG=<file> in the environment, it only
// writes the arguments it understood (to standard output, or to that file) and ends with code 0.
// A bad command line ends with code 2, a table it cannot open with code 1, after the message on
// the error output and, on a screen and without "--check", in an error box. The window closes with
// Escape and Ctrl+W, and on SIGTERM, SIGINT and SIGHUP.
#include "controls/ChiusuraFinestre.h"
#include "controls/MessageBoxes.h"
#include "controls/SegnaliUscita.h"
#include "controls/TraduzioneQt.h"
#include "db/Errore.h"
#include "tools/tondrik/ArgomentiTondrik.h"
#include "tools/tondrik/FinestraTondrik.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

namespace {

int Controlla(const TArgomentiTondrik& argomenti, const QString& fileLog) {
    const QByteArray testo = argomenti.Testo().toUtf8();
    if (fileLog.isEmpty()) {
        fwrite(testo.constData(), 1, size_t(testo.size()), stdout);
        return 0;
    }
    QFile file(fileLog);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fprintf(stderr, "Tondrik: impossibile scrivere %s\n", qPrintable(fileLog));
        return 1;
    }
    file.write(testo);
    return 0;
}

// Started by a program, nobody reads the error output: the user sees a box too. Without a
// screen (the offscreen platform of scripts and tests) nobody could close it: no box then.
void ImpostaBoxes() {
    if (QGuiApplication::platformName() == "offscreen") SetMessageBoxes(MessageBoxesMute());
}

int Mostra(int argc, char** argv, const TArgomentiTondrik& argomenti) {
    QApplication app(argc, argv);
    CaricaTraduzioneQt(app);
    ImpostaBoxes();
    TFinestraTondrik finestra(argomenti);
    QString errore;
    try {
        finestra.Apri();
    } catch (const Exception& e) {
        errore = e.Message();
    }
    // after the first connection, so that these handlers replace the database client's
    TSegnaliUscita segnali(ChiudiProgramma);
    if (!errore.isEmpty()) {
        fprintf(stderr, "Tondrik: %s\n", qPrintable(errore));
        MessageBoxes().Errore(nullptr, errore);
        return 1;
    }
    finestra.show();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QStringList argomenti;
    for (int i = 1; i < argc; ++i) argomenti << QString::fromLocal8Bit(argv[i]);
    const bool controllo = !argomenti.isEmpty() && argomenti.first() == "--check";
    if (controllo) argomenti.removeFirst();

    TArgomentiTondrik letti;
    QString errore;
    if (!LeggiArgomenti(argomenti, letti, errore)) {
        const QString uso = QStringLiteral("Uso: Tondrik.exe VisualizzaConQuery Tabella=<tabella> \"DatabaseName=<database>\" "
                                           "\"BinDir=<cartella>\" \"NomeProgetto=<nome>\" Utente=<numero>");
        fprintf(stderr, "Tondrik: %s\n%s\n", qPrintable(errore), qPrintable(uso));
        // the check option runs unattended and only writes
        if (!controllo) {
            QApplication app(argc, argv);
            CaricaTraduzioneQt(app);
            ImpostaBoxes();
            MessageBoxes().Errore(nullptr, "Tondrik: " + errore + "\r\n\r\n" + uso);
        }
        return 2;
    }
    const QString fileLog = qEnvironmentVariable("ZEL_TONDRIK_LOG");
    if (controllo || !fileLog.isEmpty()) return Controlla(letti, fileLog);
    return Mostra(argc, argv, letti);
}
