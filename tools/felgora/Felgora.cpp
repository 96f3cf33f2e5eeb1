#include "tools/felgora/Felgora.h"

#include "controls/ChiusuraFinestre.h"
#include "controls/MessageBoxes.h"
#include "controls/SegnaliUscita.h"
#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "tools/felgora/ArchivioFelgora.h"
#include "tools/felgora/ComandoFelgora.h"
#include "tools/felgora/DefinizioneReport.h"
#include "tools/felgora/FormDesigner.h"
#include "tools/felgora/Impaginazione.h"
#include "tools/felgora/RigheStampa.h"

#include <QFile>
#include <QFont>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTimer>
#include <cstdio>
#include <optional>

namespace {

const char* Uso = "Uso: Felgora.exe [--pdf <file PDF>] <utente> <file comandi>";

int Fallisci(int codice, const QString& messaggio) {
    std::fprintf(stderr, "Felgora: %s\n", qPrintable(QString(messaggio).replace("\r\n", "\n")));
    MessageBoxes().Errore(nullptr, messaggio);
    return codice;
}

struct TArgomenti {
    int Utente = 0;
    QString FileComandi;
    std::optional<QString> FilePdf;
};

bool LeggiArgomenti(const QStringList& argomenti, TArgomenti& letti, QString& errore) {
    QStringList posizionali;
    for (qsizetype i = 0; i < argomenti.size(); ++i) {
        if (argomenti[i] != "--pdf") {
            posizionali << argomenti[i];
        } else if (letti.FilePdf || i + 1 >= argomenti.size() || argomenti[i + 1].isEmpty()) {
            errore = "--pdf vuole un solo nome di file";
            return false;
        } else {
            letti.FilePdf = argomenti[++i];
        }
    }
    if (posizionali.size() != 2) {
        errore = QString("attesi l'utente e il file comandi, ricevuti %1 argomenti").arg(posizionali.size());
        return false;
    }
    bool ok = false;
    letti.Utente = posizionali[0].toInt(&ok);
    if (!ok) {
        errore = QString("utente \"%1\" non numerico").arg(posizionali[0]);
        return false;
    }
    letti.FileComandi = posizionali[1];
    return true;
}

// The whole file, or nullopt with `errore` set.
std::optional<QByteArray> LeggiFile(const QString& percorso, QString& errore) {
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly)) {
        errore = file.errorString();
        return std::nullopt;
    }
    return file.readAll();
}

// The pages go to a temporary file beside `filePdf`, which takes its name once every page is
// drawn: a print that fails leaves no file behind.
int StampaPdf(const TDefinizioneReport& definizione, const TComandoFelgora& comando, IRigheStampa& righe,
              const QString& filePdf) {
    const QString fallita = QString("Stampa su \"%1\" non riuscita:\r\n").arg(filePdf);
    QSaveFile file(filePdf);
    if (!file.open(QIODevice::WriteOnly)) return Fallisci(ufStampa, fallita + file.errorString());
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(comando.TitoloStampa);
        pdf.setCreator("Felgora");
        pdf.setPageLayout(LayoutPagina(definizione));
        try {
            StampaReport(definizione, pdf, righe);
        } catch (const Exception& e) {
            return Fallisci(ufStampa, fallita + e.Message());
        }
    }
    if (!file.commit()) return Fallisci(ufStampa, fallita + file.errorString());
    return ufOk;
}

int Anteprima(const TDefinizioneReport& definizione, const TComandoFelgora& comando, IRigheStampa& righe) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(LayoutPagina(definizione));
    printer.setDocName(comando.TitoloStampa);
    QPrintPreviewDialog anteprima(&printer);
    anteprima.setWindowTitle(comando.TitoloStampa);
    anteprima.resize(1000, 800);
    TastiChiusura(&anteprima);
    QString errore;
    QObject::connect(&anteprima, &QPrintPreviewDialog::paintRequested, &anteprima, [&](QPrinter* p) {
        if (!errore.isEmpty()) return;
        try {
            StampaReport(definizione, *p, righe);
        } catch (const Exception& e) {
            errore = e.Message();
            QTimer::singleShot(0, &anteprima, &QDialog::reject);
        }
    });
    anteprima.exec();
    return errore.isEmpty() ? ufOk : Fallisci(ufStampa, "Anteprima di stampa non riuscita:\r\n" + errore);
}

}  // namespace

void SostituisciFontArial() { QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo"}); }

int EseguiFelgora(const QStringList& argomenti, const QString& cartellaProgramma) {
    TArgomenti args;
    QString errore;
    if (!LeggiArgomenti(argomenti, args, errore)) return Fallisci(ufArgomenti, "Argomenti non validi: " + errore + "\r\n" + Uso);

    const std::optional<QByteArray> testoComandi = LeggiFile(args.FileComandi, errore);
    if (!testoComandi)
        return Fallisci(ufComandi, QString("Impossibile leggere il file comandi \"%1\":\r\n").arg(args.FileComandi) + errore);
    const TEsito<TComandoFelgora> comando = LeggiComandoFelgora(*testoComandi);
    if (!comando.Ok())
        return Fallisci(ufComandi, QString("File comandi \"%1\" non valido:\r\n").arg(args.FileComandi) + comando.Errore());
    const TComandoFelgora& c = comando.Valore();

    const std::optional<QByteArray> testoReport = LeggiFile(c.NomeReport, errore);
    if (!testoReport)
        return Fallisci(ufDefinizione, QString("Impossibile leggere il report \"%1\":\r\n").arg(c.NomeReport) + errore);
    const TEsito<TDefinizioneReport> definizione = LeggiDefinizioneReport(*testoReport);
    if (!definizione.Ok())
        return Fallisci(ufDefinizione, QString("Report \"%1\" non valido:\r\n").arg(c.NomeReport) + definizione.Errore());

    if (!args.FilePdf && c.EditaReportDiretto) {
        TSegnaliUscita segnali(ChiudiProgramma);
        TFormDesigner designer(definizione.Valore(), c.TitoloStampa);
        designer.exec();
        return ufOk;
    }
    if (!args.FilePdf && !c.AnteprimaDiretta)
        return Fallisci(ufComandi, QString("Il file comandi \"%1\" non chiede né l'anteprima né l'editazione del report")
                                       .arg(args.FileComandi));

    const QString fileIni = TrovaIniFelgora(cartellaProgramma);
    if (fileIni.isEmpty())
        return Fallisci(ufArchivio, QString("File ParametriZelScan.ini non trovato in \"%1\" né nella cartella superiore")
                                        .arg(cartellaProgramma));
    QObject proprietario;
    TFbDatabase archivio;
    QString erroreArchivio;
    try {
        ConnettiArchivioFelgora(fileIni, args.Utente, &proprietario, archivio);
    } catch (const Exception& e) {
        erroreArchivio = e.Message();
    }
    // a window's end on the session's signals; after the first connection, so that these
    // handlers replace the database client's
    std::optional<TSegnaliUscita> segnali;
    if (!args.FilePdf) segnali.emplace(ChiudiProgramma);
    if (!erroreArchivio.isEmpty()) return Fallisci(ufArchivio, "Archivio della stampa non disponibile:\r\n" + erroreArchivio);
    TRigheSQL righe(&archivio, c.SQLStampa);
    return args.FilePdf ? StampaPdf(definizione.Valore(), c, righe, *args.FilePdf) : Anteprima(definizione.Valore(), c, righe);
}
