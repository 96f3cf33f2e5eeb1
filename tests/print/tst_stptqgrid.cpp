// The print job and its options dialog: fields, paths, the layout read from STOASP1, the run with a
// recording stand-in launcher, and the failures of each step.
#include "controls/Acceleratori.h"
#include "controls/RadioGroup.h"
#include "db/FbTransaction.h"
#include "print/Felgora.h"
#include "print/StPtqGrid.h"
#include "print/StPtqGridForm.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/TestDb.h"
#include "tests/support/TestiTagliati.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

namespace {

const QString Sep = QDir::separator();
const QString SQLGriglia = "SELECT *\r\nFROM ZELSCANLOGLIGHT\r\nWHERE DATOINPUT = 'A123'\r\n";

QByteArray Leggi(const QString& percorso) {
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Golden(const QString& nome) { return Leggi(QStringLiteral(ZEL_GOLDEN_DIR "/") + nome); }

QStringList File(const QString& cartella) { return QDir(cartella).entryList(QDir::Files); }

// What the stand-in recorded of its run `n`.
struct TRegistrato {
    QStringList Argomenti;
    QByteArray Comando;
    QByteArray Report;
    QByteArray Ambiente;
};

}  // namespace

class TestStPtqGrid : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    QString FProgramma;  // this program's folder, with the stand-in as Felgora.exe
    QString FBin;        // the suite's bin folder, with report/ and Report/
    QString FRegistro;
    int FCaso = 0;

    // A fresh folder for the stand-in's records.
    void NuovoRegistro() {
        FRegistro = FDir.Path("registro" + QString::number(++FCaso));
        QVERIFY(QDir().mkpath(FRegistro));
        qputenv("ZEL_FELGORA_REGISTRO", FRegistro.toUtf8());
    }
    TRegistrato Registrato(int n) const {
        const QString base = FRegistro + "/" + QString::number(n);
        return {QString::fromUtf8(Leggi(base + ".argomenti")).split('\n', Qt::SkipEmptyParts), Leggi(base + ".comando"),
                Leggi(base + ".report"), Leggi(base + ".ambiente")};
    }
    int Esecuzioni() const { return int(QDir(FRegistro).entryList({"*.argomenti"}).size()); }

    void Imposta(TPtqGridStampa& s, const QString& bin) {
        s.Progetto = 534;
        s.Situazione = 0;
        s.Utente = 1;
        s.Tabella = "ZELSCANLOGLIGHT";
        s.SQLRif = SQLGriglia;
        s.BinDir = bin;
        s.DatabaseRif = &FDb;
    }

    QString NuovoBin(const QString& nome, bool report, bool comandi) {
        const QString bin = FDir.Path(nome);
        QDir().mkpath(bin);
        if (report) QDir().mkpath(bin + "/report");
        if (comandi) QDir().mkpath(bin + "/Report");
        return bin;
    }

private slots:
    void initTestCase() {
        Connetti(FDb, FDir.NuovoArchivioDemo());
        const QString riga = "INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO, LARGHEZZA, "
                             "POSIZIONE, NOMECOLONNA, VISIBILE) VALUES (%1)";
        for (const char* valori : {"534, 0, 1, 'DATAORA', 100, 4, 'Data e ora', 1", "534, 0, 1, 'ID', 60, 1, 'ID log', 1",
                                   "534, 0, 1, 'NASCOSTO', 80, 3, 'Nascosto', 0",
                                   "534, 0, 1, 'NOMEFILE', 302, 2, 'Nome file', 1",
                                   "534, 1, 1, 'ALTRASITUAZIONE', 60, 1, 'Altra', 1",
                                   "534, 0, 2, 'ALTROUTENTE', 60, 1, 'Altro', 1",
                                   "533, 0, 1, 'ALTROPROGETTO', 60, 1, 'Altro', 1"})
            EseguiSQL(FDb, riga.arg(valori));
        FProgramma = FDir.Path("Programma con spazi");
        QVERIFY(QDir().mkpath(FProgramma));
        QVERIFY(QFile::copy(ZEL_FINTO_FELGORA_EXE, FProgramma + "/Felgora.exe"));
        FBin = NuovoBin("Suite bin", true, true);
    }

    void cleanup() { qunsetenv("ZEL_FELGORA_REGISTRO"); }

    void valuesAfterCreate() {
        const QString prima = QDateTime::currentDateTime().toString("yyyyMMddHHmmsszzz");
        TPtqGridStampa s;
        const QString dopo = QDateTime::currentDateTime().toString("yyyyMMddHHmmsszzz");
        QVERIFY(QRegularExpression("^StPtqGrid_\\d{17}\\.LST$").match(s.pNomeReport).hasMatch());
        const QString marca = s.pNomeReport.mid(10, 17);
        QVERIFY(marca >= prima && marca <= dopo);
        QCOMPARE(s.Progetto, 0);
        QCOMPARE(s.Situazione, 0);
        QCOMPARE(s.Utente, 0);
        QVERIFY(s.Tabella.isEmpty() && s.SQLRif.isEmpty() && s.BinDir.isEmpty());
        QVERIFY(s.DatabaseRif.isNull());
        QVERIFY(s.Intestazione_Riga1.isEmpty() && s.Intestazione_Riga2.isEmpty());
        QCOMPARE(s.Intestazione_Allineamento, quint8(0));
        QCOMPARE(s.OrientamentoPagina, "VERTICALE");
        QCOMPARE(s.DimensioneFontDati, 10);
        QVERIFY(!s.FlagNumeraPagine && !s.FlagTroncaTesti && !s.FlagForzaUltimaColonna);
    }

    void layoutStatement() {
        TPtqGridStampa s;
        s.Progetto = 534;
        s.Situazione = 2;
        s.Utente = -7;
        QCOMPARE(s.SQLLayout(), (QStringList{"SELECT", "  NOMECAMPO,", "  NOMECOLONNA,", "  LARGHEZZA", "FROM", "  STOASP1",
                                             "WHERE", "  CODICEPROGETTO=534", "  AND", "  CODICESITUAZIONE=2", "  AND",
                                             "  CODICEUTENTE=-7", "  AND", "  VISIBILE=1", "ORDER BY", "  POSIZIONE"}));
    }

    void reportPath_data() {
        QTest::addColumn<QString>("binDir");
        QTest::addColumn<QString>("cartella");
        QTest::newRow("bin folder") << "/opt/suite" << "/opt/suite" + Sep + "report" + Sep;
        QTest::newRow("bin folder ending with the separator") << "/opt/suite" + Sep << "/opt/suite" + Sep + "report" + Sep;
        QTest::newRow("no bin folder: beside the program") << "" << QDir::toNativeSeparators("/programmi/zel") + Sep;
    }
    void reportPath() {
        QFETCH(QString, binDir);
        QFETCH(QString, cartella);
        TPtqGridStampa s(nullptr, "/programmi/zel");
        s.BinDir = binDir;
        QCOMPARE(s.PercorsoReport(), cartella + s.pNomeReport);
    }

    // The launcher gets the user and the command file; while it runs both files are there, with
    // the visible columns of the user's layout; afterwards both are gone. Its exit code is ignored.
    void previewRunsTheLauncher() {
        NuovoRegistro();
        TRecordingBoxes boxes;
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, FBin);
        s.Intestazione_Riga1 = "Registro invii";
        s.Intestazione_Riga2 = "Società Rossi";
        s.FlagNumeraPagine = true;
        s.FlagForzaUltimaColonna = true;
        ImpostaAmbienteSessione(1, "02");  // as the program's start-up does
        s.Anteprima();
        QCOMPARE(Esecuzioni(), 1);
        const TRegistrato r = Registrato(1);
        QCOMPARE(r.Argomenti.size(), 2);
        QCOMPARE(r.Argomenti[0], "1");
        QCOMPARE(r.Ambiente, "ZELSCANFILE_UTENTE=1\nZELSCANFILE_DITTA=02\n");  // the launcher inherits the session
        QVERIFY2(QRegularExpression("^" + QRegularExpression::escape(FBin + Sep + "Report" + Sep) + "\\d{17}\\.txt$")
                     .match(r.Argomenti[1]).hasMatch(), qPrintable(r.Argomenti[1]));
        QCOMPARE(r.Comando, QByteArray("<PtqForm>\r\n<SQLStampa>SELECT *\r\nFROM ZELSCANLOGLIGHT\r\n"
                                       "WHERE DATOINPUT = 'A123'\r\n</SQLStampa>\r\n<NomeReport>") +
                                s.PercorsoReport().toLatin1() +
                                "</NomeReport>\r\n<TitoloStampa>ZELSCANLOGLIGHT</TitoloStampa>\r\n"
                                "<AnteprimaDiretta>1</AnteprimaDiretta>\r\n</PtqForm>\r\n");
        QCOMPARE(r.Report, Golden("verticale.lst"));
        QVERIFY(!QFile::exists(s.PercorsoReport()));
        QVERIFY(!QFile::exists(r.Argomenti[1]));
        QVERIFY(File(FBin + "/report").isEmpty() && File(FBin + "/Report").isEmpty());
        QVERIFY(boxes.Boxes.isEmpty());
    }

    // Two runs from one job: the same report file name, a new command file; only the mode differs.
    void previewAndEditDifferOnlyInTheMode() {
        NuovoRegistro();
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, FBin);
        s.Anteprima();
        QTest::qWait(2);  // a later time stamp for the second command file
        s.EditaReport();
        QCOMPARE(Esecuzioni(), 2);
        const TRegistrato anteprima = Registrato(1), edita = Registrato(2);
        QVERIFY(anteprima.Argomenti[1] != edita.Argomenti[1]);
        QCOMPARE(anteprima.Report, edita.Report);
        QVERIFY(anteprima.Comando.contains(s.PercorsoReport().toLatin1()));
        QByteArray comando = anteprima.Comando;
        comando.replace("<AnteprimaDiretta>1</AnteprimaDiretta>", "<EditaReportDiretto>1</EditaReportDiretto>");
        QCOMPARE(edita.Comando, comando);
        QVERIFY(File(FBin + "/report").isEmpty() && File(FBin + "/Report").isEmpty());
    }

    void noVisibleColumnStillRuns() {
        NuovoRegistro();
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, FBin);
        s.Utente = 99;
        s.Anteprima();
        QCOMPARE(Esecuzioni(), 1);
        const QByteArray report = Registrato(1).Report;
        QCOMPARE(report.count("\t\tColumns=0\r\n"), 2);
        QVERIFY(!report.contains("[Column]"));
    }

    // With no bin folder both files go beside the program.
    void noBinFolder() {
        NuovoRegistro();
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, "");
        s.Anteprima();
        const TRegistrato r = Registrato(1);
        QCOMPARE(QFileInfo(r.Argomenti[1]).absolutePath(), FProgramma);
        QVERIFY(r.Comando.contains("<NomeReport>" + (QDir::toNativeSeparators(FProgramma) + Sep + s.pNomeReport).toLatin1()));
        QVERIFY(!r.Report.isEmpty());
        QCOMPARE(File(FProgramma), QStringList{"Felgora.exe"});
    }

    // A "Combit" folder moves the lookup into it, whether or not the launcher is there.
    void combitFolder_data() {
        QTest::addColumn<bool>("launcherInCombit");
        QTest::newRow("launcher in Combit") << true;
        QTest::newRow("launcher beside the program only") << false;
    }
    void combitFolder() {
        QFETCH(bool, launcherInCombit);
        NuovoRegistro();
        TRecordingBoxes boxes;
        const QString programma = FDir.Path(launcherInCombit ? "con Combit" : "Combit vuota");
        QVERIFY(QDir().mkpath(programma + "/Combit"));
        QVERIFY(QFile::copy(ZEL_FINTO_FELGORA_EXE, programma + (launcherInCombit ? "/Combit/Felgora.exe" : "/Felgora.exe")));
        TPtqGridStampa s(nullptr, programma);
        Imposta(s, FBin);
        s.Anteprima();
        QCOMPARE(Esecuzioni(), launcherInCombit ? 1 : 0);
        QVERIFY(boxes.Boxes.isEmpty());
        QVERIFY(File(FBin + "/report").isEmpty() && File(FBin + "/Report").isEmpty());
    }

    // A launcher that cannot start: no message, both files deleted.
    void launcherMissing() {
        NuovoRegistro();
        TRecordingBoxes boxes;
        TPtqGridStampa s(nullptr, FDir.Path("senza programmi"));
        Imposta(s, FBin);
        s.Anteprima();
        QCOMPARE(Esecuzioni(), 0);
        QVERIFY(boxes.Boxes.isEmpty());
        QVERIFY(File(FBin + "/report").isEmpty() && File(FBin + "/Report").isEmpty());
    }

    // The report folder is missing: the file layer's error, nothing launched.
    void reportFolderMissing() {
        NuovoRegistro();
        const QString bin = NuovoBin("senza report", false, true);
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, bin);
        try {
            s.Anteprima();
            QFAIL("the report folder is missing");
        } catch (const Exception& e) {
            QVERIFY2(e.Message().startsWith("Impossibile creare il file \"" + s.PercorsoReport() + "\":\r\n"),
                     qPrintable(e.Message()));
        }
        QCOMPARE(Esecuzioni(), 0);
        QVERIFY(File(bin + "/Report").isEmpty());
    }

    // The command folder is missing: the error, and the definition stays until the next run of
    // the job or its end.
    void commandFolderMissing() {
        NuovoRegistro();
        const QString bin = NuovoBin("senza Report", true, false);
        QString percorso;
        {
            TPtqGridStampa s(nullptr, FProgramma);
            Imposta(s, bin);
            percorso = s.PercorsoReport();
            QVERIFY_THROWS_EXCEPTION(Exception, s.Anteprima());
            QCOMPARE(Esecuzioni(), 0);
            QVERIFY(QFile::exists(percorso));
            QVERIFY(QDir().mkpath(bin + "/Report"));
            s.Anteprima();
            QCOMPARE(Esecuzioni(), 1);
            QVERIFY(!QFile::exists(percorso));
            QVERIFY(QDir(bin + "/Report").removeRecursively());
            QVERIFY_THROWS_EXCEPTION(Exception, s.Anteprima());
            QVERIFY(QFile::exists(percorso));
        }
        QVERIFY(!QFile::exists(percorso));  // the job's end removed it
    }

    // The layout statement cannot run: the database layer's error, nothing launched.
    void layoutQueryFails() {
        NuovoRegistro();
        TFbDatabase utenti;
        Connetti(utenti, FDir.NuovoDatabase("senza_stoasp1.fdb", DemoData::ScriptUtenti()));
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, FBin);
        s.DatabaseRif = &utenti;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, s.Anteprima());
        s.DatabaseRif = nullptr;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, s.Anteprima());
        QCOMPARE(Esecuzioni(), 0);
    }

    // --- The options dialog ----------------------------------------------------------------------

    void dialogControls() {
        TPtqGridStampa s;
        s.Tabella = "ZELSCANLOGLIGHT";
        TStPtqGridForm f(nullptr, &s);
        QCOMPARE(f.PtqGridStampa(), &s);
        QCOMPARE(f.windowTitle(), "Stampa ZELSCANLOGLIGHT");
        QCOMPARE(f.GroupIntestazione->title(), "Intestazione");
        QCOMPARE(SenzaAcceleratore(f.Label1->text()), "Riga 1:");
        QCOMPARE(SenzaAcceleratore(f.Label2->text()), "Riga 2:");
        QVERIFY(f.EditIntestazione1->text().isEmpty() && f.EditIntestazione2->text().isEmpty());
        auto voci = [](TRadioGroup* g) {
            return SenzaAcceleratore(g->title()) + ": " + g->Items().join(", ") + " [" + QString::number(g->ItemIndex()) + "]";
        };
        QCOMPARE(voci(f.RadioAllineaIntestazione), "Allineamento: A sinistra, Centrale [0]");
        QCOMPARE(f.GroupOpzioni->title(), "Opzioni stampa");
        QCOMPARE(voci(f.RadioOrientamentoPagina), "Orientamento pagina: Verticale, Orizzontale [0]");
        QCOMPARE(voci(f.RadioDimensioneFont),
                 "Dimensione font dati: Piccola (Arial 8), Media (Arial 10), Grande (Arial 12) [1]");
        QCOMPARE(SenzaAcceleratore(f.CheckNumeraPagine->text()), "Esponi numerazione pagine");
        QCOMPARE(SenzaAcceleratore(f.CheckTroncaTesti->text()), "Tronca testi che eccedono i bordi in griglia");
        QCOMPARE(SenzaAcceleratore(f.CheckForzaUltimaColonna->text()), "Forza esposizione ultima colonna");
        QVERIFY(!f.CheckNumeraPagine->isChecked() && !f.CheckTroncaTesti->isChecked());
        QVERIFY(f.CheckForzaUltimaColonna->isChecked());
        QCOMPARE(f.Label3->text(), "(verrà utilizzato tutto lo spazio disponibile in stampa, troncando l'ultima colonna)");
        QCOMPARE(SenzaAcceleratore(f.ButtonAnteprima->text()), "Anteprima");
        QVERIFY(f.ButtonAnteprima->isDefault());
        QCOMPARE(SenzaAcceleratore(f.ButtonChiudi->text()), "Chiudi");
        // each option and button has its underlined letter, none used twice
        QStringList lettere;
        for (const QString& t : {f.Label1->text(), f.Label2->text(), f.RadioAllineaIntestazione->title(),
                                 f.RadioOrientamentoPagina->title(), f.CheckNumeraPagine->text(), f.CheckTroncaTesti->text(),
                                 f.CheckForzaUltimaColonna->text(), f.RadioDimensioneFont->title(), f.ButtonAnteprima->text(),
                                 f.ButtonChiudi->text()})
            lettere << QKeySequence::mnemonic(t).toString();
        QCOMPARE(lettere.join(' '), QString("Alt+1 Alt+2 Alt+L Alt+O Alt+N Alt+T Alt+F Alt+D Alt+A Alt+I"));
        QCOMPARE(f.Label1->buddy(), f.EditIntestazione1);
        QCOMPARE(f.Label2->buddy(), f.EditIntestazione2);
        QVERIFY(!f.ButtonChiudi->isDefault());
        QCOMPARE(f.PopupMenu1->actions(), QList<QAction*>{f.Aprieditazionereportassistenzatecnica1});
        QCOMPARE(SenzaAcceleratore(f.Aprieditazionereportassistenzatecnica1->text()), "Apri editazione report (assistenza tecnica)");
        QCOMPARE(QKeySequence::mnemonic(f.Aprieditazionereportassistenzatecnica1->text()), QKeySequence(Qt::ALT | Qt::Key_A));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.minimumSize(), f.maximumSize());  // a fixed border
    }

    // Every caption, option and button shows whole with the platform's fonts, also in a large
    // font given by the grid: the dialog is as large as its options need.
    void captionsFit_data() {
        QTest::addColumn<int>("punti");
        QTest::newRow("platform font") << 0;
        QTest::newRow("16 points") << 16;
    }
    void captionsFit() {
        QFETCH(int, punti);
        TPtqGridStampa s;
        s.Tabella = "ZELSCANLOGLIGHT";
        TStPtqGridForm f(nullptr, &s);
        if (punti) f.setFont(QFont(f.font().family(), punti));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QStringList tagliati = TestiTagliati(f);
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join('\n')));
    }

    void leggiOpzioni_data() {
        QTest::addColumn<int>("allineamento");
        QTest::addColumn<int>("orientamento");
        QTest::addColumn<int>("font");
        QTest::addColumn<bool>("spunte");
        QTest::addColumn<quint8>("attesoAllineamento");
        QTest::addColumn<QString>("attesoOrientamento");
        QTest::addColumn<int>("attesoFont");
        QTest::newRow("centred, landscape, large") << 1 << 1 << 2 << true << quint8(1) << "ORIZZONTALE" << 12;
        QTest::newRow("left, portrait, small") << 0 << 0 << 0 << false << quint8(0) << "VERTICALE" << 8;
        // No item checked: alignment takes the index's low 8 bits, the other two stay as they were.
        QTest::newRow("nothing checked") << -1 << -1 << -1 << false << quint8(255) << "ALTRO" << 14;
    }
    void leggiOpzioni() {
        QFETCH(int, allineamento);
        QFETCH(int, orientamento);
        QFETCH(int, font);
        QFETCH(bool, spunte);
        TPtqGridStampa s;
        s.OrientamentoPagina = "ALTRO";
        s.DimensioneFontDati = 14;
        TStPtqGridForm f(nullptr, &s);
        f.EditIntestazione1->setText("Riga \"uno\"  ");
        f.EditIntestazione2->setText("Due");
        f.RadioAllineaIntestazione->SetItemIndex(allineamento);
        f.RadioOrientamentoPagina->SetItemIndex(orientamento);
        f.RadioDimensioneFont->SetItemIndex(font);
        f.CheckNumeraPagine->setChecked(spunte);
        f.CheckTroncaTesti->setChecked(spunte);
        f.CheckForzaUltimaColonna->setChecked(spunte);
        f.LeggiOpzioni();
        QCOMPARE(s.Intestazione_Riga1, "Riga \"uno\"  ");
        QCOMPARE(s.Intestazione_Riga2, "Due");
        QTEST(s.Intestazione_Allineamento, "attesoAllineamento");
        QTEST(s.OrientamentoPagina, "attesoOrientamento");
        QTEST(s.DimensioneFontDati, "attesoFont");
        QCOMPARE(s.FlagNumeraPagine, spunte);
        QCOMPARE(s.FlagTroncaTesti, spunte);
        QCOMPARE(s.FlagForzaUltimaColonna, spunte);
    }

    // Enter on the untouched dialog: a preview with the dialog's defaults; the dialog stays open.
    void untouchedEnterRunsThePreview() {
        NuovoRegistro();
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, FBin);
        TStPtqGridForm f(nullptr, &s);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::keyClick(f.EditIntestazione1, Qt::Key_Return);
        QCOMPARE(Esecuzioni(), 1);
        QVERIFY(f.isVisible());
        QVERIFY(s.Intestazione_Riga1.isEmpty() && s.Intestazione_Riga2.isEmpty());
        QCOMPARE(s.Intestazione_Allineamento, quint8(0));
        QCOMPARE(s.OrientamentoPagina, "VERTICALE");
        QVERIFY(!s.FlagNumeraPagine && !s.FlagTroncaTesti && s.FlagForzaUltimaColonna);
        QCOMPARE(s.DimensioneFontDati, 10);
        const TRegistrato r = Registrato(1);
        QVERIFY(r.Comando.contains("<AnteprimaDiretta>1</AnteprimaDiretta>"));
        QVERIFY(r.Report.contains("\tText=\"\"\r\n"));
        QVERIFY(r.Report.contains(" Condition=False\r\n"));
        QVERIFY(r.Report.contains("\t\t Width=99000\r\n"));  // the last column stretched to 195 mm
    }

    // With the keyboard only: the letters reach every option and button, the arrows choose within a
    // group, and Enter on "Chiudi" closes without a preview.
    void keyboardOnTheOptions() {
        NuovoRegistro();
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, FBin);
        TStPtqGridForm f(nullptr, &s);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        auto tasto = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::AltModifier) { QTest::keyClick(QApplication::focusWidget(), k, m); };
        tasto(Qt::Key_2);
        QCOMPARE(QApplication::focusWidget(), f.EditIntestazione2);
        QTest::keyClicks(f.EditIntestazione2, "Seconda");
        tasto(Qt::Key_1);
        QCOMPARE(QApplication::focusWidget(), f.EditIntestazione1);
        QTest::keyClicks(f.EditIntestazione1, "Prima");
        tasto(Qt::Key_L);
        tasto(Qt::Key_Down, Qt::NoModifier);
        tasto(Qt::Key_O);
        QVERIFY(f.RadioOrientamentoPagina->isAncestorOf(QApplication::focusWidget()));
        tasto(Qt::Key_Right, Qt::NoModifier);
        tasto(Qt::Key_D);
        QVERIFY(f.RadioDimensioneFont->isAncestorOf(QApplication::focusWidget()));
        tasto(Qt::Key_Down, Qt::NoModifier);
        for (Qt::Key k : {Qt::Key_N, Qt::Key_T, Qt::Key_F}) tasto(k);
        QTRY_VERIFY(f.CheckNumeraPagine->isChecked() && f.CheckTroncaTesti->isChecked() && !f.CheckForzaUltimaColonna->isChecked());
        tasto(Qt::Key_A);
        QTRY_COMPARE(Esecuzioni(), 1);
        QCOMPARE(s.Intestazione_Riga1, "Prima");
        QCOMPARE(s.Intestazione_Riga2, "Seconda");
        QCOMPARE(s.Intestazione_Allineamento, quint8(1));
        QCOMPARE(s.OrientamentoPagina, "ORIZZONTALE");
        QCOMPARE(s.DimensioneFontDati, 12);
        QVERIFY(s.FlagNumeraPagine && s.FlagTroncaTesti && !s.FlagForzaUltimaColonna);
        QVERIFY(f.isVisible());
        // Tab from "Anteprima" to "Chiudi", where Enter closes
        f.ButtonAnteprima->setFocus(Qt::TabFocusReason);
        tasto(Qt::Key_Tab, Qt::NoModifier);
        QCOMPARE(QApplication::focusWidget(), f.ButtonChiudi);
        tasto(Qt::Key_Return, Qt::NoModifier);
        QVERIFY(!f.isVisible());
        QCOMPARE(Esecuzioni(), 1);
    }

    // Shift+F10 opens the dialog's popup below the control that has the focus; its letter opens the
    // report designer.
    void popupByKeyOpensTheDesigner() {
        NuovoRegistro();
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, FBin);
        TStPtqGridForm f(nullptr, &s);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.CheckTroncaTesti->setFocus(Qt::TabFocusReason);
        QTest::keyClick(f.CheckTroncaTesti, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(f.PopupMenu1->isVisible());
        // below the check box; kept on the screen, which the wide dialog overflows offscreen
        const QPoint sotto = f.CheckTroncaTesti->mapToGlobal(QPoint(0, f.CheckTroncaTesti->height()));
        QCOMPARE(f.PopupMenu1->y(), sotto.y());
        QCOMPARE(f.PopupMenu1->x(), qMax(sotto.x(), f.screen()->availableGeometry().left()));
        QTest::keyClick(f.PopupMenu1, Qt::Key_A);
        QTRY_COMPARE(Esecuzioni(), 1);
        QVERIFY(Registrato(1).Comando.contains("<EditaReportDiretto>1</EditaReportDiretto>"));
        QVERIFY(f.isVisible());
    }

    // Alt+I closes, as "Chiudi" does.
    void letterOfChiudiCloses() {
        TPtqGridStampa s;
        s.Tabella = "ZELSCANLOGLIGHT";
        TStPtqGridForm f(nullptr, &s);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(f.EditIntestazione1, Qt::Key_I, Qt::AltModifier);
        QTRY_VERIFY(!f.isVisible());
    }

    // A heading is written as typed; the popup item opens the designer; "Chiudi" closes.
    void typedHeadingEditAndClose() {
        NuovoRegistro();
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, FBin);
        TStPtqGridForm f(nullptr, &s);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::keyClicks(f.EditIntestazione1, "Ordini \"aperti\" d'aprile");
        f.Aprieditazionereportassistenzatecnica1->trigger();
        QCOMPARE(Esecuzioni(), 1);
        const TRegistrato r = Registrato(1);
        QVERIFY(r.Comando.contains("<EditaReportDiretto>1</EditaReportDiretto>"));
        QVERIFY(r.Report.contains("\tText=\"Ordini \"aperti\" d'aprile\"\r\n"));
        QVERIFY(f.isVisible());
        QTest::mouseClick(f.ButtonChiudi, Qt::LeftButton);
        QVERIFY(!f.isVisible());
    }

    // A failed run shows the error in a box and leaves the dialog open.
    void failedRunShowsTheError() {
        NuovoRegistro();
        TRecordingBoxes boxes;
        TPtqGridStampa s(nullptr, FProgramma);
        Imposta(s, NuovoBin("dialogo senza report", false, true));
        TStPtqGridForm f(nullptr, &s);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::mouseClick(f.ButtonAnteprima, Qt::LeftButton);
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(boxes.Boxes[0].Kind, "Errore");
        QVERIFY(boxes.Boxes[0].Text.startsWith("Impossibile creare il file \"" + s.PercorsoReport() + "\""));
        QCOMPARE(Esecuzioni(), 0);
        QVERIFY(f.isVisible());
    }
};

QTEST_MAIN(TestStPtqGrid)
#include "tst_stptqgrid.moc"
