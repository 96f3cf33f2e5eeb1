// The stand-in report launcher at work: the real program writes PDFs from the hand-written
// definitions of this folder and the demo archive (read back with pdftotext), finds its INI file
// beside itself or in the folder above, prints the archive of the caller's company, and every
// input it cannot use ends in its error box (on the error output without a screen or with --pdf)
// and exit code, with no PDF left; the preview and the designer open with the print's title and
// close with Escape, Ctrl+W and the session's signals.
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "print/Felgora.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/SegnaliProcesso.h"
#include "tests/support/TestDb.h"
#include "tools/felgora/Felgora.h"
#include "tools/felgora/FormDesigner.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QtTest>
#include <csignal>
#include <functional>

namespace {

QByteArray Fixture(const QString& nome) {
    QFile f(QStringLiteral(ZEL_FELGORA_FILE "/") + nome);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Scrivi(const QString& percorso, const QByteArray& contenuto) {
    QDir().mkpath(QFileInfo(percorso).absolutePath());
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenuto);
}

const QByteArray SQLFixture = "SELECT\r\n  *\r\nFROM\r\n  ZELSCANLOGLIGHT\r\nWHERE\r\n  ID IS NOT NULL\r\nORDER BY\r\n  ID\r\n";
const QByteArray ReportFixture = "C:\\ZelScan\\Bin\\report\\StPtqGrid_20250305081000123.LST";

// The fixture command file naming `report`, with another SQL or another mode item when given.
QByteArray Comando(const QString& report, const QByteArray& sql = SQLFixture, const QByteArray& modo = {}) {
    QByteArray testo = Fixture("comando.txt");
    testo.replace(ReportFixture, QDir::toNativeSeparators(report).toLocal8Bit());
    testo.replace(SQLFixture, sql);
    if (!modo.isEmpty()) testo.replace("<AnteprimaDiretta>1</AnteprimaDiretta>", modo);
    return testo;
}

struct TUscita {
    int Codice = -1;
    QString Errori;
};

// The launcher's environment: the test's own, offscreen, without a caller's session unless
// `ambiente` gives one (or other variables).
QProcessEnvironment AmbienteFelgora(const QHash<QString, QString>& ambiente = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove(AmbienteUtente);
    env.remove(AmbienteDitta);
    for (auto v = ambiente.begin(); v != ambiente.end(); ++v) env.insert(v.key(), v.value());
    return env;
}

TUscita Avvia(const QString& programma, const QStringList& argomenti, const QHash<QString, QString>& ambiente = {}) {
    QProcess p;
    p.setProcessEnvironment(AmbienteFelgora(ambiente));
    p.start(programma, argomenti);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
}

QString Comandi(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.start(programma, argomenti);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The PDF's text, laid out as on the page (one table row on one line), all pages or one.
QString TestoPdf(const QString& pdf, int pagina = 0) {
    QStringList argomenti{"-layout", "-enc", "UTF-8"};
    if (pagina > 0) argomenti << "-f" << QString::number(pagina) << "-l" << QString::number(pagina);
    return Comandi("pdftotext", argomenti << pdf << "-");
}

QString InfoPdf(const QString& pdf, const QString& voce) {
    const QRegularExpression riga("^" + voce + ":\\s*(.*)$", QRegularExpression::MultilineOption);
    return riga.match(Comandi("pdfinfo", {pdf})).captured(1).trimmed();
}

// Each log row as the table prints it: order, file name and result, in the columns' order.
QStringList RigheLog(const QString& archivio) {
    TFbDatabase db;
    Connetti(db, archivio);
    TFbTransaction tr(&db);
    tr.Start();
    TFbSQL q(&db, &tr);
    q.SetSQL({"SELECT DATOINPUT, FILEDESTINAZIONE_NOME, STATUS FROM ZELSCANLOGLIGHT ORDER BY ID"});
    QStringList righe;
    for (q.ExecQuery(); !q.Eof(); q.Next())
        righe << q.Field(0).AsString() + " " + q.Field(1).AsString() + " " + q.Field(2).AsString();
    tr.Rollback();
    return righe;
}

// The launcher's own messages on its error output (the toolkit may add notes of its own).
QStringList Messaggi(const QString& errori) {
    QStringList messaggi;
    for (const QString& riga : errori.split('\n'))
        if (riga.startsWith("Felgora: ")) messaggi << riga;
    return messaggi;
}

QString Spazi(const QString& testo) { return QString(testo).replace(QRegularExpression("\\s+"), " "); }

// Runs `azione` on the first modal window that opens while `esegui` runs, then closes it.
int ConFinestraModale(const std::function<void(QWidget*)>& azione, const std::function<int()>& esegui) {
    QTimer attesa;
    attesa.setInterval(50);
    QObject::connect(&attesa, &QTimer::timeout, [&] {
        if (QWidget* modale = QApplication::activeModalWidget()) {
            attesa.stop();
            azione(modale);
            modale->close();
        }
    });
    attesa.start();
    return esegui();
}

// Presses `tasto` on the first modal window that opens while `esegui` runs. `chiusa`: the key
// closed it (a window still open 10 s later is closed by the test instead).
// Raises `segnale` once the first modal window opens while `esegui` runs. `chiusa`: the window
// closed within a second (a window still open 10 s later is closed by the test instead).
int SegnaleSuFinestraModale(int segnale, bool& chiusa, const std::function<int()>& esegui) {
    chiusa = false;
    QTimer attesa;
    attesa.setInterval(50);
    QObject::connect(&attesa, &QTimer::timeout, [&] {
        QPointer<QWidget> modale = QApplication::activeModalWidget();
        if (!modale || !modale->isVisible()) return;
        attesa.stop();
        std::raise(segnale);
        QElapsedTimer t;
        t.start();
        while (modale && modale->isVisible() && t.elapsed() < 1000) QTest::qWait(10);
        chiusa = !modale || !modale->isVisible();
        QTimer::singleShot(10000, [modale] {
            if (modale) modale->close();
        });
    });
    attesa.start();
    return esegui();
}

int TastoSuFinestraModale(const QKeySequence& tasto, bool& chiusa, const std::function<int()>& esegui) {
    chiusa = false;
    QTimer attesa;
    attesa.setInterval(50);
    QObject::connect(&attesa, &QTimer::timeout, [&] {
        QPointer<QWidget> modale = QApplication::activeModalWidget();
        if (!modale || !modale->isActiveWindow()) return;
        attesa.stop();
        QWidget* bersaglio = modale->focusWidget() ? modale->focusWidget() : modale.data();
        QTest::keyClick(bersaglio, Qt::Key(tasto[0].key()), tasto[0].keyboardModifiers());
        chiusa = !modale || !modale->isVisible();  // a key is handled as it is sent
        QTimer::singleShot(10000, [modale] {
            if (modale) modale->close();
        });
    });
    attesa.start();
    return esegui();
}

}  // namespace

class TestFelgora : public QObject {
    Q_OBJECT
    TTestDir FDir;
    QString FArchivio;
    QString FBin;         // the suite's folder: INI file, launcher, report folder
    QStringList FRighe;   // the demo archive's log rows

    // An installation: the INI file in `cartella` (its user is not the launcher's; its company
    // `ditta`, none when empty), the launcher there or in its "Combit" subfolder. Returns the
    // launcher's path.
    QString Installa(const QString& cartella, const QString& utenti, bool combit = false, const QByteArray& ditta = "01") {
        Scrivi(cartella + "/ParametriZelScan.ini",
               "[CONFIG]\r\nUTENTE=2\r\n" + (ditta.isEmpty() ? QByteArray() : "DITTA=" + ditta + "\r\n") +
                   "PercorsoDatabase=" + QDir::toNativeSeparators(utenti).toLocal8Bit() + "\r\n");
        const QString exe = cartella + (combit ? "/Combit/Felgora.exe" : "/Felgora.exe");
        QDir().mkpath(QFileInfo(exe).absolutePath());
        QFile::remove(exe);
        if (!QFile::copy(ZEL_FELGORA_EXE, exe)) return {};
        return exe;
    }

    // The definition `fixture` under `cartella`/report and a command file for it; returns the command file.
    QString PreparaStampa(const QString& cartella, const QString& fixture, const QByteArray& sql = SQLFixture,
                          const QByteArray& modo = {}) {
        const QString report = cartella + "/report/StPtqGrid_20250305081000123.LST";
        Scrivi(report, Fixture(fixture));
        const QString comando = cartella + "/Report/20250305081000456.txt";
        Scrivi(comando, Comando(report, sql, modo));
        return comando;
    }

private slots:
    void initTestCase() {
        FArchivio = FDir.NuovoArchivioDemo();
        FRighe = RigheLog(FArchivio);
        QVERIFY(FRighe.size() > 5);
        FBin = FDir.Path("bin");
        QVERIFY(!Installa(FBin, FDir.NuovoUtentiDemo(FArchivio)).isEmpty());
    }

    void portraitPdfHoldsHeadingTitlesRowsAndPageNumbers() {
        const QString pdf = FDir.Path("verticale.pdf");
        const TUscita u = Avvia(FBin + "/Felgora.exe", {"--pdf", pdf, "1", PreparaStampa(FBin, "verticale.LST")});
        QCOMPARE(Messaggi(u.Errori), QStringList());
        QCOMPARE(u.Codice, 0);
        QCOMPARE(InfoPdf(pdf, "Pages"), "1");
        QCOMPARE(InfoPdf(pdf, "Page size"), "595 x 842 pts (A4)");
        QCOMPARE(InfoPdf(pdf, "Title"), "ZELSCANLOGLIGHT");
        const QString testo = TestoPdf(pdf);
        QVERIFY2(testo.contains("Officina Meccanica Rossi S.r.l."), qPrintable(testo));
        QVERIFY(testo.contains("Registro \"esportazioni\" – città"));
        QVERIFY(QRegularExpression("Ordine\\s+File esportato\\s+Esito").match(testo).hasMatch());
        const QString righe = Spazi(testo);
        for (const QString& riga : FRighe) QVERIFY2(righe.contains(riga), qPrintable(riga));
        QVERIFY(testo.contains("Pag. 1 di 1"));
        // the heading is centred: it starts well right of the table's left border
        const QString primaRiga = testo.section('\n', 0, 0);
        QVERIFY2(primaRiga.indexOf("Officina") > 10, qPrintable(primaRiga));
    }

    void landscapePdfWithoutPageNumbers() {
        const QString pdf = FDir.Path("orizzontale.pdf");
        const TUscita u = Avvia(FBin + "/Felgora.exe", {"1", PreparaStampa(FBin, "orizzontale.LST"), "--pdf", pdf});
        QVERIFY2(u.Codice == 0, qPrintable(u.Errori));
        QCOMPARE(InfoPdf(pdf, "Page size"), "842 x 595 pts (A4)");
        const QString testo = TestoPdf(pdf);
        QVERIFY(testo.contains("Registro esportazioni"));
        QVERIFY(testo.contains("Commessa A123"));
        QVERIFY(!testo.contains("Pag."));
        for (const QString& riga : FRighe) QVERIFY2(Spazi(testo).contains(riga), qPrintable(riga));
    }

    // The long file name wraps in the portrait definition and is cut in the landscape one.
    void wrappedAndCutTexts_data() {
        QTest::addColumn<QString>("definizione");
        QTest::addColumn<bool>("fineVisibile");
        QTest::newRow("wrapped") << "verticale.LST" << true;
        QTest::newRow("cut") << "orizzontale.LST" << false;
    }
    void wrappedAndCutTexts() {
        QFETCH(QString, definizione);
        QFETCH(bool, fineVisibile);
        const QByteArray sql = "SELECT\r\n  DATOINPUT,\r\n  'INIZIO ' || FILEDESTINAZIONE_NOME || "
                               "' una descrizione lunga che non sta in una sola riga della colonna dei file FINE'"
                               " AS FILEDESTINAZIONE_NOME,\r\n  STATUS\r\nFROM\r\n  ZELSCANLOGLIGHT\r\nWHERE\r\n  ID = 1\r\n";
        const QString pdf = FDir.Path(definizione + ".lungo.pdf");
        const TUscita u = Avvia(FBin + "/Felgora.exe", {"--pdf", pdf, "1", PreparaStampa(FBin, definizione, sql)});
        QVERIFY2(u.Codice == 0, qPrintable(u.Errori));
        const QString testo = TestoPdf(pdf);
        QVERIFY2(testo.contains("INIZIO A123_pannello.dxf"), qPrintable(testo));
        QCOMPARE(testo.contains("FINE"), fineVisibile);
    }

    void manyRowsGoOnOverPages() {
        const QString archivio = FDir.NuovoArchivioDemo("grande.fdb");
        {
            TFbDatabase db;
            Connetti(db, archivio);
            DemoData::AggiungiLogMassivo(db, 400);
        }
        const QString cartella = FDir.Path("grande");
        const QString exe = Installa(cartella, FDir.NuovoUtentiDemo(archivio, "user_grande.fdb"));
        const QString pdf = FDir.Path("grande.pdf");
        QCOMPARE(Avvia(exe, {"--pdf", pdf, "1", PreparaStampa(cartella, "verticale.LST")}).Codice, 0);
        const int pagine = InfoPdf(pdf, "Pages").toInt();
        QVERIFY2(pagine >= 5, qPrintable(QString::number(pagine)));
        const QString seconda = TestoPdf(pdf, 2);
        QVERIFY(seconda.contains(QString("Pag. 2 di %1").arg(pagine)));
        QVERIFY(QRegularExpression("Ordine\\s+File esportato\\s+Esito").match(seconda).hasMatch());  // header again
        QVERIFY(seconda.contains("Officina Meccanica Rossi S.r.l."));
        const QString tutto = Spazi(TestoPdf(pdf));
        const QStringList righe = RigheLog(archivio);
        QCOMPARE(righe.size(), FRighe.size() + 400);
        for (const QString& riga : {righe.first(), righe[200], righe.last()}) QVERIFY2(tutto.contains(riga), qPrintable(riga));
        QCOMPARE(tutto.count("lotto_"), 400);  // no row lost or printed twice at a page break
    }

    void iniFileInTheFolderAbove() {
        const QString cartella = FDir.Path("con combit");
        const QString exe = Installa(cartella, FDir.Path("user.fdb"), true);
        const QString pdf = FDir.Path("combit.pdf");
        const TUscita u = Avvia(exe, {"--pdf", pdf, "1", PreparaStampa(cartella, "verticale.LST")});
        QCOMPARE(Messaggi(u.Errori), QStringList());
        QCOMPARE(u.Codice, 0);
        QVERIFY(TestoPdf(pdf).contains("A123_pannello.dxf"));
    }

    // The program starts the launcher with its own environment, which names its session: user 1
    // runs company 02 while the INI file says 01. User 1 has an archive for each company; the
    // file names of company 02's archive begin with "D2_".
    void printsTheArchiveOfTheCallersCompany_data() {
        QTest::addColumn<QByteArray>("dittaIni");  // empty: the INI file has no DITTA
        QTest::addColumn<QString>("utenteAmbiente");  // empty: not in the environment
        QTest::addColumn<QString>("dittaAmbiente");
        QTest::addColumn<QString>("stampata");  // the company whose rows are printed; empty: none
        QTest::addColumn<QString>("errore");  // the second line of the message
        QTest::newRow("the environment's company before the INI file's") << QByteArray("01") << "1" << "02" << "02" << "";
        QTest::newRow("the company alone in the environment") << QByteArray("01") << "" << "02" << "02" << "";
        QTest::newRow("the INI file's company without a session") << QByteArray("01") << "" << "" << "01" << "";
        QTest::newRow("the environment's company, none in the INI file") << QByteArray() << "1" << "02" << "02" << "";
        QTest::newRow("no company anywhere")
            << QByteArray() << "" << "" << ""
            << "Ditta della stampa non indicata: manca ZELSCANFILE_DITTA nell'ambiente e manca DITTA nella sezione CONFIG "
               "di ParametriZelScan.ini";
        QTest::newRow("another user's session")
            << QByteArray("01") << "2" << "02" << ""
            << "La ditta 02 (ZELSCANFILE_DITTA) è della sessione dell'utente 2 (ZELSCANFILE_UTENTE), non dell'utente 1";
    }
    void printsTheArchiveOfTheCallersCompany() {
        QFETCH(QByteArray, dittaIni);
        QFETCH(QString, utenteAmbiente);
        QFETCH(QString, dittaAmbiente);
        QFETCH(QString, stampata);
        QFETCH(QString, errore);
        static const QString utenti = [this] {
            const QString archivio02 = FDir.NuovoArchivioDemo("ditta02.fdb");
            TFbDatabase archivio;
            Connetti(archivio, archivio02);
            EseguiSQL(archivio, "UPDATE ZELSCANLOGLIGHT SET FILEDESTINAZIONE_NOME = 'D2_' || FILEDESTINAZIONE_NOME");
            const QString percorso = FDir.NuovoUtentiDemo(FArchivio, "user_ditte.fdb");
            TFbDatabase db;
            Connetti(db, percorso);
            EseguiSQL(db, "INSERT INTO TABKESTRIN (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
                          "VALUES (1, '02', 'Archivio', '" + archivio02 + "', 3)");
            return percorso;
        }();
        const QString cartella = FDir.Path(QString("ditte/%1").arg(QTest::currentDataTag()).replace(' ', '_'));
        const QString exe = Installa(cartella, utenti, false, dittaIni);
        QHash<QString, QString> ambiente;
        if (!utenteAmbiente.isEmpty()) ambiente.insert(AmbienteUtente, utenteAmbiente);
        if (!dittaAmbiente.isEmpty()) ambiente.insert(AmbienteDitta, dittaAmbiente);
        const QString pdf = cartella + "/stampa.pdf";
        const TUscita u = Avvia(exe, {"--pdf", pdf, "1", PreparaStampa(cartella, "orizzontale.LST")}, ambiente);
        if (stampata.isEmpty()) {
            QCOMPARE(u.Codice, 5);
            QCOMPARE(Messaggi(u.Errori), QStringList{"Felgora: Archivio della stampa non disponibile:"});
            QVERIFY2(u.Errori.contains("\n" + errore + "\n"), qPrintable(u.Errori));
            QVERIFY(!QFileInfo::exists(pdf));
            return;
        }
        QCOMPARE(Messaggi(u.Errori), QStringList());
        QCOMPARE(u.Codice, 0);
        const QString testo = Spazi(TestoPdf(pdf));
        QVERIFY2(testo.contains("A123_pannello.dxf"), qPrintable(testo));
        QCOMPARE(testo.contains("D2_A123_pannello.dxf"), stampata == "02");
    }

    // Without a screen the program has no box to show: the message is on its error output and
    // it ends at once with its code.
    void withoutAScreenTheMessageGoesToTheErrorOutput() {
        const QString mancante = FDir.Path("mancante.txt");
        TUscita u = Avvia(FBin + "/Felgora.exe", {"--pdf", FDir.Path("x.pdf"), "1", mancante});
        QCOMPARE(u.Codice, 3);
        QCOMPARE(Messaggi(u.Errori), QStringList{"Felgora: Impossibile leggere il file comandi \"" + mancante + "\":"});
        QVERIFY(u.Errori.contains("\nNo such file or directory\n"));

        const QString cartella = FDir.Path("rotto");
        const QString comando = PreparaStampa(cartella, "verticale.LST");
        Scrivi(cartella + "/report/StPtqGrid_20250305081000123.LST", "[Layout]\r\n}\r\n");
        u = Avvia(FBin + "/Felgora.exe", {"1", comando});
        QCOMPARE(u.Codice, 4);
        QCOMPARE(Messaggi(u.Errori), QStringList{"Felgora: Report \"" + cartella + "/report/StPtqGrid_20250305081000123.LST\" non valido:"});
        QVERIFY(u.Errori.contains("\nRiga 2 del report: \"}\" senza blocco aperto\n"));
    }

    void badInputs_data() {
        QTest::addColumn<QStringList>("argomenti");  // {cmd}: the command file below, {pdf}: an output file
        QTest::addColumn<QByteArray>("comando");     // {report}: the definition below; empty: no file
        QTest::addColumn<QByteArray>("report");      // empty: the portrait fixture
        QTest::addColumn<int>("codice");
        QTest::addColumn<QString>("messaggio");      // {cmd}, {report}, {pdf}, {bin} as above
        const QByteArray buono = Comando("{report}");
        const QString uso = "\r\nUso: Felgora.exe [--pdf <file PDF>] <utente> <file comandi>";
        const QStringList pdf{"--pdf", "{pdf}", "1", "{cmd}"};
        QTest::newRow("no arguments") << QStringList{} << buono << QByteArray() << 2
                                      << "Argomenti non validi: attesi l'utente e il file comandi, ricevuti 0 argomenti" + uso;
        QTest::newRow("user not a number") << QStringList{"uno", "{cmd}"} << buono << QByteArray() << 2
                                           << "Argomenti non validi: utente \"uno\" non numerico" + uso;
        QTest::newRow("--pdf without file") << QStringList{"1", "{cmd}", "--pdf"} << buono << QByteArray() << 2
                                            << "Argomenti non validi: --pdf vuole un solo nome di file" + uso;
        QTest::newRow("command file missing") << pdf << QByteArray() << QByteArray() << 3
                                              << "Impossibile leggere il file comandi \"{cmd}\":\r\nNo such file or directory";
        QTest::newRow("command file broken") << pdf << QByteArray("<PtqForm>\r\n<SQLStampa>SELECT 1\r\n") << QByteArray() << 3
                                             << "File comandi \"{cmd}\" non valido:\r\nElemento <SQLStampa> non chiuso da </SQLStampa>";
        QTest::newRow("definition missing") << pdf << Comando("{report}.altro") << QByteArray() << 4
                                            << "Impossibile leggere il report \"{report}.altro\":\r\nNo such file or directory";
        QTest::newRow("definition broken") << pdf << buono << QByteArray("[Layout]\r\n xSize=210000\r\n ySize=296900\r\n") << 4
                                           << "Report \"{report}\" non valido:\r\nIl report non contiene una tabella";
        QTest::newRow("no mode") << QStringList{"1", "{cmd}"} << Comando("{report}", SQLFixture, "<AnteprimaDiretta>0</AnteprimaDiretta>")
                                 << QByteArray() << 3
                                 << "Il file comandi \"{cmd}\" non chiede né l'anteprima né l'editazione del report";
        QTest::newRow("no INI file") << QStringList{"--pdf", "{pdf}", "1", "{cmd}", "{vuota}"} << buono << QByteArray() << 5
                                     << "File ParametriZelScan.ini non trovato in \"{vuota}\" né nella cartella superiore";
        QTest::newRow("unknown user") << QStringList{"--pdf", "{pdf}", "99", "{cmd}"} << buono << QByteArray() << 5
                                      << "Archivio della stampa non disponibile:\r\nUtente 99 non trovato nello USER.FDB (\"{utenti}\")";
        QTest::newRow("user without archive") << QStringList{"--pdf", "{pdf}", "2", "{cmd}"} << buono << QByteArray() << 5
                                              << "Archivio della stampa non disponibile:\r\nParametro \"Archivio\" non trovato o "
                                                 "non valorizzato nel KestrinIni dell'utente";
        QTest::newRow("not a SELECT") << pdf << Comando("{report}", "DELETE FROM ZELSCANLOGLIGHT\r\n") << QByteArray() << 6
                                      << "Stampa su \"{pdf}\" non riuscita:\r\nL'istruzione SQL della stampa non è una SELECT";
        QTest::newRow("preview of a statement that is not a SELECT")
            << QStringList{"1", "{cmd}"} << Comando("{report}", "UPDATE ZELSCANLOGLIGHT SET STATUS = 'X'\r\n") << QByteArray() << 6
            << "Anteprima di stampa non riuscita:\r\nL'istruzione SQL della stampa non è una SELECT";
        QTest::newRow("field not in the data") << pdf << Comando("{report}", "SELECT ID, STATUS FROM ZELSCANLOGLIGHT\r\n")
                                               << QByteArray() << 6
                                               << "Stampa su \"{pdf}\" non riuscita:\r\nIl campo \"DATOINPUT\" non è nei dati della stampa";
        QTest::newRow("field not in the data, without page numbers")
            << pdf << Comando("{report}", "SELECT ID, STATUS FROM ZELSCANLOGLIGHT\r\n") << Fixture("orizzontale.LST") << 6
            << "Stampa su \"{pdf}\" non riuscita:\r\nIl campo \"DATOINPUT\" non è nei dati della stampa";
        QTest::newRow("PDF not writable") << QStringList{"--pdf", "{vuota}/manca/x.pdf", "1", "{cmd}"} << buono << QByteArray() << 6
                                          << "Stampa su \"{vuota}/manca/x.pdf\" non riuscita:\r\nNo such file or directory";
    }
    void badInputs() {
        QFETCH(QStringList, argomenti);
        QFETCH(QByteArray, comando);
        QFETCH(QByteArray, report);
        QFETCH(int, codice);
        QFETCH(QString, messaggio);
        const QString cartella = FDir.Path(QString("errori/%1").arg(QTest::currentDataTag()).replace(' ', '_'));
        const QString vuota = cartella + "/vuota";
        QVERIFY(QDir().mkpath(vuota));
        const QHash<QString, QString> valori{{"{cmd}", cartella + "/Report/comando.txt"},
                                             {"{report}", cartella + "/report/StPtqGrid.LST"},
                                             {"{pdf}", cartella + "/stampa.pdf"},
                                             {"{vuota}", vuota},
                                             {"{utenti}", FDir.Path("user.fdb")}};
        auto sostituisci = [&](QString testo) {
            for (auto v = valori.begin(); v != valori.end(); ++v) testo.replace(v.key(), v.value());
            return testo;
        };
        if (!comando.isEmpty()) Scrivi(valori["{cmd}"], sostituisci(QString::fromLocal8Bit(comando)).toLocal8Bit());
        Scrivi(valori["{report}"], report.isEmpty() ? Fixture("verticale.LST") : report);
        QString cartellaProgramma = FBin;
        if (argomenti.size() == 5) cartellaProgramma = sostituisci(argomenti.takeLast());
        for (QString& a : argomenti) a = sostituisci(a);

        TRecordingBoxes boxes;
        QCOMPARE(EseguiFelgora(argomenti, cartellaProgramma), codice);
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(boxes.Ultimo(), "Errore: " + sostituisci(messaggio));
        QCOMPARE(RigheLog(FArchivio), FRighe);  // a statement that is not a SELECT never ran
        QVERIFY(!QFileInfo::exists(valori["{pdf}"]));  // a print that fails leaves no PDF
    }

    // The database's message reaches the box, and no PDF is left: with page numbers the rows are
    // counted before the first page, without them the SQL runs once the PDF has begun.
    void databaseErrorReachesTheBox_data() {
        QTest::addColumn<QString>("definizione");
        QTest::newRow("with page numbers") << "verticale.LST";
        QTest::newRow("without page numbers") << "orizzontale.LST";
    }
    void databaseErrorReachesTheBox() {
        QFETCH(QString, definizione);
        const QString cartella = FDir.Path("errore sql " + definizione);
        const QString pdf = cartella + "/x.pdf";
        TRecordingBoxes boxes;
        QCOMPARE(EseguiFelgora({"--pdf", pdf, "1", PreparaStampa(cartella, definizione, "SELECT * FROM NONESISTE\r\n")}, FBin),
                 6);
        QCOMPARE(boxes.Boxes.size(), 1);
        QVERIFY2(boxes.Ultimo().startsWith("Errore: Stampa su \"" + pdf + "\" non riuscita:\r\n"), qPrintable(boxes.Ultimo()));
        QVERIFY(boxes.Ultimo().contains("NONESISTE"));
        QVERIFY(!QFileInfo::exists(pdf));
        QCOMPARE(QDir(cartella).entryList(QDir::Files | QDir::Hidden), QStringList());  // nor a temporary file
    }

    void previewShowsThePagesUnderThePrintsTitle() {
        const QString comando = PreparaStampa(FDir.Path("anteprima"), "verticale.LST");
        QString titolo;
        int pagine = -1;
        TRecordingBoxes boxes;
        const int codice = ConFinestraModale(
            [&](QWidget* finestra) {
                titolo = finestra->windowTitle();
                if (auto* vista = finestra->findChild<QPrintPreviewWidget*>()) pagine = vista->pageCount();
            },
            [&] { return EseguiFelgora({"1", comando}, FBin); });
        QCOMPARE(codice, 0);
        QCOMPARE(titolo, "ZELSCANLOGLIGHT");
        QCOMPARE(pagine, 1);
        QVERIFY(boxes.Boxes.isEmpty());
    }

    void editModeOpensTheDesigner() {
        const QString comando =
            PreparaStampa(FDir.Path("designer"), "orizzontale.LST", SQLFixture, "<EditaReportDiretto>1</EditaReportDiretto>");
        QString titolo, tipo;
        int righe = -1;
        const int codice = ConFinestraModale(
            [&](QWidget* finestra) {
                titolo = finestra->windowTitle();
                tipo = finestra->metaObject()->className();
                if (auto* elenco = finestra->findChild<QTreeWidget*>()) righe = elenco->topLevelItemCount();
            },
            [&] { return EseguiFelgora({"1", comando}, FBin); });
        QCOMPARE(codice, 0);
        QCOMPARE(tipo, "TFormDesigner");
        QCOMPARE(titolo, "ZELSCANLOGLIGHT");
        QCOMPARE(righe, 7);
    }

    // Escape and Ctrl+W close the preview and the designer, wherever the focus is.
    void keysCloseTheWindows_data() {
        QTest::addColumn<QByteArray>("modo");
        QTest::addColumn<QKeySequence>("tasto");
        const QByteArray anteprima = "<AnteprimaDiretta>1</AnteprimaDiretta>", designer = "<EditaReportDiretto>1</EditaReportDiretto>";
        QTest::newRow("preview, Escape") << anteprima << QKeySequence(Qt::Key_Escape);
        QTest::newRow("preview, Ctrl+W") << anteprima << QKeySequence(Qt::CTRL | Qt::Key_W);
        QTest::newRow("designer, Escape") << designer << QKeySequence(Qt::Key_Escape);
        QTest::newRow("designer, Ctrl+W") << designer << QKeySequence(Qt::CTRL | Qt::Key_W);
    }
    void keysCloseTheWindows() {
        QFETCH(QByteArray, modo);
        QFETCH(QKeySequence, tasto);
        const QString comando = PreparaStampa(FDir.Path("tasti"), "verticale.LST", SQLFixture, modo);
        TRecordingBoxes boxes;
        bool chiusa = false;
        QCOMPARE(TastoSuFinestraModale(tasto, chiusa, [&] { return EseguiFelgora({"1", comando}, FBin); }), 0);
        QVERIFY(chiusa);
        QVERIFY(boxes.Boxes.isEmpty());
    }

    // A signal of the session closes the preview or the designer within a second, and the launcher
    // returns as after a close by hand.
    void signalClosesTheWindow_data() {
        QTest::addColumn<QByteArray>("modo");
        QTest::addColumn<int>("segnale");
        const QByteArray anteprima = "<AnteprimaDiretta>1</AnteprimaDiretta>", designer = "<EditaReportDiretto>1</EditaReportDiretto>";
        QTest::newRow("preview, SIGTERM") << anteprima << int(SIGTERM);
        QTest::newRow("preview, SIGINT") << anteprima << int(SIGINT);
        QTest::newRow("preview, SIGHUP") << anteprima << int(SIGHUP);
        QTest::newRow("designer, SIGTERM") << designer << int(SIGTERM);
    }
    void signalClosesTheWindow() {
        QFETCH(QByteArray, modo);
        QFETCH(int, segnale);
        const QString comando = PreparaStampa(FDir.Path("segnale"), "verticale.LST", SQLFixture, modo);
        TRecordingBoxes boxes;
        bool chiusa = false;
        QCOMPARE(SegnaleSuFinestraModale(segnale, chiusa, [&] { return EseguiFelgora({"1", comando}, FBin); }), 0);
        QVERIFY(chiusa);
        QVERIFY(boxes.Boxes.isEmpty());
    }

    // The real program as the session ends it: its preview or designer closes and it ends normally.
    void signalsEndTheProgram_data() {
        QTest::addColumn<QByteArray>("modo");
        QTest::addColumn<int>("segnale");
        const QByteArray anteprima = "<AnteprimaDiretta>1</AnteprimaDiretta>", designer = "<EditaReportDiretto>1</EditaReportDiretto>";
        QTest::newRow("preview, SIGTERM") << anteprima << int(SIGTERM);
        QTest::newRow("preview, SIGINT") << anteprima << int(SIGINT);
        QTest::newRow("preview, SIGHUP") << anteprima << int(SIGHUP);
        QTest::newRow("designer, SIGTERM") << designer << int(SIGTERM);
        QTest::newRow("designer, SIGINT") << designer << int(SIGINT);
        QTest::newRow("designer, SIGHUP") << designer << int(SIGHUP);
    }
    void signalsEndTheProgram() {
        QFETCH(QByteArray, modo);
        QFETCH(int, segnale);
        QProcess p;
        p.setProcessEnvironment(AmbienteFelgora());
        p.start(FBin + "/Felgora.exe", {"1", PreparaStampa(FDir.Path("segnali"), "verticale.LST", SQLFixture, modo)});
        QVERIFY(p.waitForStarted(10000));
        const TFineSegnale fine = TerminaConSegnale(p, segnale);
        const QString errori = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(fine.Inviato, qPrintable("the launcher ended, or had no handlers, before the signal\n" + errori));
        QVERIFY2(fine.Finito, "the launcher went on after the signal");
        QCOMPARE(fine.Stato, QProcess::NormalExit);  // its window closed, the signal did not kill it
        QCOMPARE(fine.Codice, 0);
        QCOMPARE(Messaggi(errori), QStringList());
    }

    // With --pdf nobody watches: on a platform that could show a box, the message is on the
    // error output alone and the launcher ends at once.
    void pdfRunNeverWaitsForABox() {
        const QString mancante = FDir.Path("mancante.txt");
        const TUscita u = Avvia(FBin + "/Felgora.exe", {"--pdf", FDir.Path("y.pdf"), "1", mancante}, {{"QT_QPA_PLATFORM", "minimal"}});
        QCOMPARE(u.Codice, 3);
        QCOMPARE(Messaggi(u.Errori), QStringList{"Felgora: Impossibile leggere il file comandi \"" + mancante + "\":"});
    }
};

QTEST_MAIN(TestFelgora)
#include "tst_felgora.moc"
