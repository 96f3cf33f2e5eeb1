// The main window on a demo archive: the log tree, the selection, the subject filter, the lookup,
// the help summary, the external-call mode, the grid of the subject's log rows and the session's signals.
#include "app/FormMain.h"
#include "app/Programma.h"
#include "controls/SegnaliUscita.h"
#include "db/FbField.h"
#include "grid/ModelloGriglia.h"
#include "controls/RadioGroup.h"
#include "grid/RPtqGrid.h"
#include "grid/TabelleGriglia.h"
#include "db/FbTransaction.h"
#include "lookup/FormRicerca.h"
#include "tests/app/AmbienteProva.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/TestiTagliati.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>
#include <csignal>

namespace {

QString Data(int y, int m, int d) { return TestoValore(QDate(y, m, d)); }

// The tree as indented lines, one per node.
QStringList Righe(const QTreeWidget& albero) {
    QStringList righe;
    std::function<void(QTreeWidgetItem*, int)> visita = [&](QTreeWidgetItem* n, int livello) {
        righe << QString(livello * 2, ' ') + n->text(0);
        for (int i = 0; i < n->childCount(); ++i) visita(n->child(i), livello + 1);
    };
    for (int i = 0; i < albero.topLevelItemCount(); ++i) visita(albero.topLevelItem(i), 0);
    return righe;
}

// The keys as the help summary lists them (Qt's key names untranslated in the tests).
const QString TastiFinestra =
    "Tasti della finestra:\r\n- Alt+S = Soggetto\r\n- Ctrl+F = Cerca cliente\r\n- Ctrl+I = Up File\r\n"
    "- Ctrl+R = Aggiorna\r\n- F1 = Aiuto\r\n- Ctrl+Q, Esc = Esci\r\n- Tab, Shift+Tab = Controllo successivo, precedente\r\n\r\n";
const QString TastiGriglia =
    "Tasti della griglia:\r\n- F5 = Ricerca su campo Corrente\r\n- F6 = Annulla ricerca\r\n- F8 = Query\r\n"
    "- F9 = Dimezza larghezza colonna\r\n- Menu, Shift+F10 = Menu della griglia\r\n\r\n";

QTreeWidgetItem* Cerca(const QTreeWidget& albero, const QString& testo) {
    const auto trovati = albero.findItems(testo, Qt::MatchContains | Qt::MatchRecursive);
    return trovati.isEmpty() ? nullptr : trovati.first();
}

}  // namespace

class TestFormMain : public QObject {
    Q_OBJECT
    TAmbienteProva FAmb;

    std::unique_ptr<TFormMain> Finestra(const QStringList& argomenti = {}) {
        auto form = AvviaFormMain(argomenti, FAmb.IniStandard());
        if (form) form->show();
        return form;
    }
    std::unique_ptr<TFormMain> FinestraSu(const QString& soggetto) {
        auto form = Finestra();
        form->EditFiltroCodice->setText(soggetto);
        form->Aggiorna();
        return form;
    }

private slots:
    // The user's other window holds the grid's layout rows: the save at a rebuild waits only
    // briefly, is told once, and the rebuild goes on; so does the close.
    void lockedLayoutRowsDoNotStopTheRebuild() {
        QCOMPARE(ParametriScritturaImpostazioni(),
                 (QStringList{"read_committed", "rec_version", "wait", "lock_timeout=5"}));
        AttesaBloccoImpostazioni = 1;
        TRecordingBoxes boxes;
        auto form = FinestraSu("A123");
        form->Aggiorna();  // the first rebuild stores the layout rows
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
        TFbDatabase altra;
        Connetti(altra, FAmb.Archivio);
        TFbTransaction tenuta(&altra);
        tenuta.Start();
        TFbSQL blocco(&altra, &tenuta);
        blocco.SetSQL({"UPDATE STOASP1 SET NOMECOLONNA=NOMECOLONNA WHERE CODICEPROGETTO=534 AND CODICEUTENTE=1"});
        blocco.ExecQuery();
        QVERIFY(blocco.RowsAffected() > 0);

        form->PtqGrid->setColumnWidth(form->PtqGrid->Colonne().Campo(1), 123);  // something for the save to write
        QElapsedTimer tempo;
        tempo.start();
        form->EditFiltroCodice->setText("A124");
        form->Aggiorna();
        QVERIFY2(tempo.elapsed() < 10000, "the save waited past its lock time-out");
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(boxes.Boxes[0].Kind, QString("Errore"));
        QVERIFY2(boxes.Boxes[0].Text.startsWith("Aspetto della griglia non salvato\r\ndeadlock"),
                 qPrintable(boxes.Boxes[0].Text));
        QVERIFY(Cerca(*form->TreeViewMain, "A124_lamiera.dxf"));
        QVERIFY(form->IBQuery->Active());
        QCOMPARE(form->IBQuery->FieldByName("DATOINPUT").AsString(), QString("A124"));

        form->PtqGrid->setColumnWidth(form->PtqGrid->Colonne().Campo(1), 124);
        QVERIFY(form->close());
        QCOMPARE(boxes.Boxes.size(), 2);
        tenuta.Rollback();
        AttesaBloccoImpostazioni = 5;
    }

    void treeOfAnOrderSeries() {
        TRecordingBoxes boxes;
        auto form = FinestraSu("A123");
        const QString ts = TestoValore(QDateTime(QDate(2025, 3, 5), QTime(9, 30)));
        QCOMPARE(Righe(*form->TreeViewMain),
                 (QStringList{"Officina Meccanica Rossi S.r.l.",
                              "  A123 - " + Data(2025, 3, 4) + " - 123 - Consegna urgente entro fine me",
                              "    1 Taglio laser Trumpf",
                              "      " + TestoValore(QDateTime(QDate(2025, 3, 5), QTime(8, 10))) + " - A123_pannello.dxf",
                              "      " + TestoValore(QDateTime(QDate(2025, 3, 5), QTime(8, 12))) + " - A123_staffa.dxf",
                              "    2 Piegatrice Amada",
                              "      " + ts + " - A123_piega.lst",
                              "      " + TestoValore(QDateTime(QDate(2025, 3, 6), QTime(10, 0))) + " - A123_piega.lst",
                              "  A124 - " + Data(2025, 3, 18) + " - 124 - Lamiera zincata",
                              "    1 Taglio laser Trumpf",
                              "      " + TestoValore(QDateTime(QDate(2025, 3, 19), QTime(14, 0))) + " - A124_lamiera.dxf",
                              "    3 Punzonatrice Salvagnini",
                              "      " + TestoValore(QDateTime(QDate(2025, 3, 19), QTime(14, 30))) + " - A124_fori.nc",
                              "  A125 - " + Data(2025, 4, 2) + " - 125 - ",
                              "    4 Centro di lavoro Mazak",
                              "      " + TestoValore(QDateTime(QDate(2025, 3, 20), QTime(9, 0))) + " - A125_flangia.nc"}));
        // every node is expanded
        for (QTreeWidgetItem* n : form->TreeViewMain->findItems("", Qt::MatchContains | Qt::MatchRecursive))
            if (n->childCount() > 0) QVERIFY(n->isExpanded());
        // two log rows of one file name give two nodes with their own ID
        QTreeWidgetItem* macchina = Cerca(*form->TreeViewMain, "2 Piegatrice Amada");
        QCOMPARE(PayloadNodo(macchina->child(0))->ID, 3);
        QCOMPARE(PayloadNodo(macchina->child(1))->ID, 4);
        QVERIFY(boxes.Boxes.isEmpty());
    }

    void subjects_data() {
        QTest::addColumn<QString>("soggetto");
        QTest::addColumn<QStringList>("radiceEOrdini");
        QTest::newRow("customer code with a line break in its name")
            << "C003" << QStringList{"Bianchi & Figli Carpenteria metallica", "C300 - " + Data(2025, 6, 1) + " - 300 - Telai saldati per linea di ver"};
        QTest::newRow("quote in subject and series")
            << "B'7" << QStringList{"D'Amico Lamiere S.p.A.", "B'7 - " + Data(2025, 5, 6) + " - 7 - Serie con apostrofo",
                                    "B008 - " + Data(2025, 5, 9) + " - 8 - "};
        QTest::newRow("unknown subject") << "ZZZ" << QStringList{};
        QTest::newRow("only refused exports") << "D400" << QStringList{};
        QTest::newRow("empty subject") << "" << QStringList{};
    }
    void subjects() {
        QFETCH(QString, soggetto);
        QFETCH(QStringList, radiceEOrdini);
        TRecordingBoxes boxes;
        auto form = FinestraSu(soggetto);
        QStringList visti;
        for (const QString& r : Righe(*form->TreeViewMain))
            if (!r.startsWith("    ")) visti << r.mid(r.startsWith("  ") ? 2 : 0);
        QCOMPARE(visti, radiceEOrdini);
        QVERIFY(boxes.Boxes.isEmpty());
    }

    void selectionShowsTheLabelsAndARebuildClearsIt() {
        TRecordingBoxes boxes;
        auto form = FinestraSu("C003");
        QVERIFY(form->LabelSelezioneCorrenteCommessa->isHidden());
        QTreeWidgetItem* file = Cerca(*form->TreeViewMain, "C300_telaio.dxf");
        form->TreeViewMain->setCurrentItem(file);
        const int id = PayloadNodo(file)->ID;
        QCOMPARE(form->IdRecordSelezionatoCorrente(), id);
        QVERIFY(form->LabelSelezioneCorrenteCommessa->isVisible());
        QCOMPARE(form->LabelSelezioneCorrenteCommessa->text(),
                 "Selezione corrente: Bianchi & Figli Carpenteria metallica - " + Data(2025, 6, 1) +
                     " - 300 - Telai saldati per linea di ver");
        QCOMPARE(form->LabelSelezioneCorrenteItem->text(), QString("Item: %1 - C300_telaio.dxf").arg(id));
        form->TreeViewMain->setCurrentItem(Cerca(*form->TreeViewMain, "1 Taglio laser"));
        QCOMPARE(form->IdRecordSelezionatoCorrente(), 0);
        QVERIFY(form->LabelSelezioneCorrenteCommessa->isHidden());
        QVERIFY(form->LabelSelezioneCorrenteItem->isHidden());
        form->TreeViewMain->setCurrentItem(file);
        QCOMPARE(form->IdRecordSelezionatoCorrente(), id);
        form->Aggiorna();
        QCOMPARE(form->IdRecordSelezionatoCorrente(), 0);
        QVERIFY(form->LabelSelezioneCorrenteItem->isHidden());
    }

    void buildShowsTheBusyCursor() {
        TRecordingBoxes boxes;
        auto form = FinestraSu("A123");
        QList<int> cursori;  // the cursor while each order's machines are read
        form->QueryAux2->AfterOpen = [&](TFbDataSet*) {
            const QCursor* c = QGuiApplication::overrideCursor();
            cursori << (c ? int(c->shape()) : -1);
        };
        form->Aggiorna();
        QCOMPARE(cursori, QList<int>(3, Qt::WaitCursor));
        QVERIFY(!QGuiApplication::overrideCursor());
        // a build that fails gives the cursor back too
        form->QueryAux3->BeforeOpen = [](TFbDataSet*) { throw EDatabaseError("Lettura non riuscita"); };
        form->ActionRefresh->trigger();
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(boxes.Ultimo(), QString("Errore: Lettura non riuscita"));
    }

    // the labels and the ID follow the selection: clearing it without moving the current item
    // (a click on the empty area, Ctrl+click or Ctrl+Space on the selected file) clears them
    void clearingTheSelectionClearsTheLabels_data() {
        QTest::addColumn<QString>("come");
        QTest::newRow("click below the nodes") << "vuoto";
        QTest::newRow("Ctrl+click on the file") << "ctrlclick";
        QTest::newRow("Ctrl+Space on the file") << "ctrlspazio";
    }
    void clearingTheSelectionClearsTheLabels() {
        QFETCH(QString, come);
        TRecordingBoxes boxes;
        auto form = FinestraSu("C003");
        QTreeWidget* albero = form->TreeViewMain;
        QTreeWidgetItem* file = Cerca(*albero, "C300_telaio.dxf");
        QTest::mouseClick(albero->viewport(), Qt::LeftButton, {}, albero->visualItemRect(file).center());
        QCOMPARE(form->IdRecordSelezionatoCorrente(), PayloadNodo(file)->ID);
        QVERIFY(form->LabelSelezioneCorrenteItem->isVisible());
        if (come == "vuoto") {
            const QPoint sotto(albero->viewport()->width() / 2, albero->viewport()->height() - 3);
            QVERIFY(!albero->itemAt(sotto));
            QTest::mouseClick(albero->viewport(), Qt::LeftButton, {}, sotto);
        } else if (come == "ctrlclick") {
            QTest::mouseClick(albero->viewport(), Qt::LeftButton, Qt::ControlModifier, albero->visualItemRect(file).center());
        } else {
            albero->setFocus();
            QTest::keyClick(albero, Qt::Key_Space, Qt::ControlModifier);
        }
        QVERIFY(albero->selectedItems().isEmpty());
        QCOMPARE(form->IdRecordSelezionatoCorrente(), 0);
        QVERIFY(form->LabelSelezioneCorrenteCommessa->isHidden());
        QVERIFY(form->LabelSelezioneCorrenteItem->isHidden());
        form->ActionUpFile->trigger();
        QCOMPARE(boxes.Ultimo(), QString("Avviso: Nessun file selezionato"));
    }

    void closingStopsAPendingRebuild() {
        TRecordingBoxes boxes;
        auto form = Finestra();
        QTest::keyClicks(form->EditFiltroCodice, "C1");
        QVERIFY(form->TimerDelay->isActive());
        const int prima = form->Ricostruzioni();
        QVERIFY(form->close());
        QVERIFY(!form->TimerDelay->isActive());
        QTest::qWait(800);
        QCOMPARE(form->Ricostruzioni(), prima);
    }

    // SIGTERM, SIGINT and SIGHUP close the window as its close box does; a box or dialog open over
    // it is dismissed first
    void signalClosesTheWindow_data() {
        QTest::addColumn<int>("segnale");
        QTest::addColumn<bool>("conRicerca");
        QTest::newRow("SIGTERM, idle") << int(SIGTERM) << false;
        QTest::newRow("SIGINT, idle") << int(SIGINT) << false;
        QTest::newRow("SIGHUP, idle") << int(SIGHUP) << false;
        QTest::newRow("SIGTERM, lookup dialog open") << int(SIGTERM) << true;
    }
    void signalClosesTheWindow() {
        QFETCH(int, segnale);
        QFETCH(bool, conRicerca);
        TRecordingBoxes boxes;
        auto form = Finestra();
        TSegnaliUscita segnali([&form] { form->ChiudiPerSegnale(); });
        QElapsedTimer t;
        t.start();
        if (conRicerca) {
            QTimer::singleShot(0, form.get(), [segnale] {
                QVERIFY(qobject_cast<TFormRicerca*>(QApplication::activeModalWidget()));
                std::raise(segnale);
            });
            QTimer::singleShot(5000, form.get(), [] {  // never hang the run
                if (QWidget* w = QApplication::activeModalWidget()) w->close();
            });
            form->ActionSearch->trigger();
            QVERIFY(t.elapsed() < 5000);
        } else {
            std::raise(segnale);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 1000);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(form->EditFiltroCodice->text(), QString());
        QVERIFY(boxes.Boxes.isEmpty());
    }

    void typingRebuildsOnceHalfASecondAfterTheLastKey() {
        TRecordingBoxes boxes;
        auto form = Finestra();
        const int prima = form->Ricostruzioni();
        QTest::keyClicks(form->EditFiltroCodice, "C1");
        QTest::qWait(300);
        QTest::keyClicks(form->EditFiltroCodice, "2");
        QElapsedTimer t;
        t.start();
        QTRY_COMPARE_WITH_TIMEOUT(form->Ricostruzioni(), prima + 1, 3000);
        QVERIFY2(t.elapsed() >= 450, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(form->TreeViewMain->topLevelItem(0)->text(0), QString("Verdi Impianti"));
        QTest::qWait(700);
        QCOMPARE(form->Ricostruzioni(), prima + 1);
    }

    void refreshBeforeTheDelayRebuildsOnceNow() {
        TRecordingBoxes boxes;
        auto form = Finestra();
        const int prima = form->Ricostruzioni();
        QTest::keyClicks(form->EditFiltroCodice, "C003");
        form->ActionRefresh->trigger();
        QCOMPARE(form->Ricostruzioni(), prima + 1);
        QTest::qWait(800);
        QCOMPARE(form->Ricostruzioni(), prima + 1);
        // a change made by the program starts nothing
        form->SetFiltro(TFiltro("A123"));
        QTest::qWait(800);
        QCOMPARE(form->Ricostruzioni(), prima + 1);
    }

    void lookupPutsTheCodeAndRebuildsAtOnce() {
        TRecordingBoxes boxes;
        auto form = Finestra();
        QTest::keyClicks(form->EditFiltroCodice, "X");  // a pending rebuild
        QTimer::singleShot(0, [] {
            auto* ricerca = qobject_cast<TFormRicerca*>(QApplication::activeModalWidget());
            QVERIFY(ricerca);
            ricerca->findChild<QLineEdit*>()->setText("Verdi");
            ricerca->Aggiorna();
            ricerca->ButtonRitornaClick();
        });
        const int prima = form->Ricostruzioni();
        form->ActionSearch->trigger();
        QCOMPARE(form->EditFiltroCodice->text(), QString("C12"));
        QCOMPARE(form->Ricostruzioni(), prima + 1);
        QCOMPARE(form->TreeViewMain->topLevelItem(0)->text(0), QString("Verdi Impianti"));
        QTest::qWait(700);
        QCOMPARE(form->Ricostruzioni(), prima + 1);  // the pending rebuild was cancelled
        QVERIFY(boxes.Boxes.isEmpty());
    }

    void cancelledLookupChangesNothing() {
        TRecordingBoxes boxes;
        auto form = FinestraSu("A123");
        QTest::keyClicks(form->EditFiltroCodice, "4");  // pending rebuild for A1234
        const int prima = form->Ricostruzioni();
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        form->ActionSearch->trigger();
        QCOMPARE(form->EditFiltroCodice->text(), QString("A1234"));
        QCOMPARE(form->Ricostruzioni(), prima);
        QVERIFY(form->TimerDelay->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(form->Ricostruzioni(), prima + 1, 3000);
    }

    void helpSummary() {
        TRecordingBoxes boxes;
        auto form = Finestra();
        form->ActionHelpExecute();
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(boxes.Boxes[0].Kind, QString("Informazione"));
        QCOMPARE(boxes.Boxes[0].Text,
                 "ZelScanFile 24/05/2025 - 1\r\n\r\nParametri CMD riconosciuti:\r\n- NESSUNO\r\n\r\n"
                 "Parametri INI riconosciuti:\r\n- UTENTE = 1\r\n- DITTA = 01\r\n- PERCORSODATABASE = " +
                     FAmb.Utenti + "\r\n\r\nModalità funzionamento: INI\r\n\r\n" + TastiFinestra + TastiGriglia);
        auto cmd = Finestra({"UTENTE=1", "DITTA=01", "extra=a=b"});
        cmd->ActionHelpExecute();
        QVERIFY(boxes.Boxes.last().Text.contains(
            "Parametri CMD riconosciuti:\r\n- UTENTE = 1\r\n- DITTA = 01\r\n- EXTRA = a=b\r\n\r\nParametri INI riconosciuti:\r\n- UTENTE = 1"));
        QVERIFY(boxes.Boxes.last().Text.endsWith("Modalità funzionamento: CMD\r\n\r\n" + TastiFinestra + TastiGriglia));
        // called with a subject, the window has no subject field and no lookup
        auto esterna = Finestra({"UTENTE=1", "DITTA=01", "SOGGETTO=C12"});
        esterna->ActionHelpExecute();
        QVERIFY(boxes.Boxes.last().Text.endsWith(
            "Modalità funzionamento: CMD\r\n\r\nTasti della finestra:\r\n- Ctrl+I = Up File\r\n- Ctrl+R = Aggiorna\r\n"
            "- F1 = Aiuto\r\n- Ctrl+Q, Esc = Esci\r\n- Tab, Shift+Tab = Controllo successivo, precedente\r\n\r\n" +
            TastiGriglia));
    }

    // The help summary, in the box the user sees, shows every line and its button whole.
    void helpSummaryShowsWhole() {
        auto form = Finestra();
        QStringList tagliati{"no box"};
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            tagliati = TestiTagliati(*box);
            box->accept();
        });
        form->ActionHelpExecute();
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join('\n')));
    }

    // Tab walks every control of the window, the grid included, and wraps; Shift+Tab goes back,
    // and Ctrl+Tab leaves the grid too. Each button reached shows its hint with its keys.
    void tabWalksEveryControl() {
        TRecordingBoxes boxes;
        auto form = FinestraSu("A123");
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QList<QWidget*> ordine{form->EditFiltroCodice, form->ButtonSearch, form->ButtonUpFile, form->ButtonRefresh};
        for (QToolButton* b : form->DBNavigator->findChildren<QToolButton*>()) ordine << b;
        ordine << form->ButtonHelp << form->ButtonEsci << form->TreeViewMain << form->PtqGrid;
        QCOMPARE(ordine.size(), 12);
        auto nome = [&](QWidget* w) { return ordine.contains(w) ? QString::number(ordine.indexOf(w)) : QString("?"); };
        form->EditFiltroCodice->setFocus(Qt::TabFocusReason);
        QStringList avanti{nome(QApplication::focusWidget())}, suggerimenti;
        for (int i = 0; i < ordine.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            avanti << nome(QApplication::focusWidget());
            if (qobject_cast<QToolButton*>(QApplication::focusWidget())) {
                QTest::qWaitFor([] { return QToolTip::isVisible(); }, 1000);
                suggerimenti << (QToolTip::isVisible() ? QToolTip::text() : QString("(nessuno)"));
            }
        }
        QCOMPARE(avanti.join(' '), QString("0 1 2 3 4 5 6 7 8 9 10 11 0"));
        QCOMPARE(suggerimenti, (QStringList{"Cerca cliente (Ctrl+F)", "Up File (Ctrl+I)", "Aggiorna (Ctrl+R)", "Prima foto",
                                            "Foto precedente", "Foto successiva", "Ultima foto", "Aiuto (F1)",
                                            "Esci (Ctrl+Q, Esc)"}));
        QStringList indietro{nome(QApplication::focusWidget())};
        for (int i = 0; i < ordine.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            indietro << nome(QApplication::focusWidget());
        }
        QCOMPARE(indietro.join(' '), QString("0 11 10 9 8 7 6 5 4 3 2 1 0"));
        form->PtqGrid->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form->PtqGrid, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), form->EditFiltroCodice);
        form->PtqGrid->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form->PtqGrid, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), form->TreeViewMain);
        QVERIFY(boxes.Boxes.isEmpty());
    }

    // The window's keys work from wherever the focus is; Esc and Ctrl+Q close as the button does.
    void windowKeys_data() {
        QTest::addColumn<QString>("da");
        QTest::addColumn<int>("tasto");
        QTest::addColumn<int>("modificatori");
        QTest::addColumn<QString>("effetto");
        for (const char* da : {"albero", "griglia", "soggetto"}) {
            auto riga = [&](const char* nome, Qt::Key tasto, Qt::KeyboardModifiers mod, const char* effetto) {
                QTest::addRow("%s from the %s", nome, da) << QString(da) << int(tasto) << int(mod) << QString(effetto);
            };
            riga("Ctrl+F", Qt::Key_F, Qt::ControlModifier, "ricerca");
            riga("Ctrl+R", Qt::Key_R, Qt::ControlModifier, "ricostruzione");
            riga("F1", Qt::Key_F1, Qt::NoModifier, "aiuto");
            riga("Ctrl+I", Qt::Key_I, Qt::ControlModifier, "invio");
            riga("Alt+S", Qt::Key_S, Qt::AltModifier, "soggetto");
            riga("Ctrl+Q", Qt::Key_Q, Qt::ControlModifier, "chiusa");
            riga("Esc", Qt::Key_Escape, Qt::NoModifier, "chiusa");
        }
    }
    void windowKeys() {
        QFETCH(QString, da);
        QFETCH(int, tasto);
        QFETCH(int, modificatori);
        QFETCH(QString, effetto);
        TRecordingBoxes boxes;
        auto form = FinestraSu("A123");
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QWidget* partenza = da == "albero" ? static_cast<QWidget*>(form->TreeViewMain)
                            : da == "griglia" ? static_cast<QWidget*>(form->PtqGrid)
                                              : static_cast<QWidget*>(form->EditFiltroCodice);
        partenza->setFocus(Qt::TabFocusReason);
        const int prima = form->Ricostruzioni();
        bool ricerca = false;
        QTimer::singleShot(0, form.get(), [&] {
            if (auto* d = qobject_cast<TFormRicerca*>(QApplication::activeModalWidget())) {
                ricerca = true;
                QTest::keyClick(d, Qt::Key_Escape);
            }
        });
        QTest::keyClick(partenza, Qt::Key(tasto), Qt::KeyboardModifiers(modificatori));
        QCOMPARE(ricerca, effetto == "ricerca");
        QCOMPARE(form->Ricostruzioni(), prima + (effetto == "ricostruzione" ? 1 : 0));
        QCOMPARE(boxes.Boxes.size(), effetto == "aiuto" || effetto == "invio" ? 1 : 0);
        if (effetto == "aiuto") QVERIFY(boxes.Boxes[0].Text.startsWith("ZelScanFile 24/05/2025 - 1\r\n"));
        if (effetto == "invio") QCOMPARE(boxes.Ultimo(), QString("Avviso: Nessun file selezionato"));
        if (effetto == "soggetto") QCOMPARE(QApplication::focusWidget(), form->EditFiltroCodice);
        QCOMPARE(form->isVisible(), effetto != "chiusa");
    }

    // A held Esc (the auto-repeat of a key that has just closed a box) does not close the window.
    void heldEscDoesNotClose() {
        TRecordingBoxes boxes;
        auto form = FinestraSu("A123");
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->TreeViewMain->setFocus();
        QTest::simulateEvent(form->TreeViewMain, true, Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1b)), true);
        QTest::simulateEvent(form->TreeViewMain, false, Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1b)), true);
        QVERIFY(form->isVisible());
        QTest::keyClick(form->TreeViewMain, Qt::Key_Escape);
        QVERIFY(!form->isVisible());
    }

    // Called with a subject, the hidden lookup and subject field take no keys.
    void externalCallIgnoresTheFilterKeys() {
        TRecordingBoxes boxes;
        auto form = Finestra({"UTENTE=1", "DITTA=01", "SOGGETTO=C12"});
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        bool ricerca = false;
        QTimer::singleShot(0, form.get(), [&] {
            if (QWidget* d = QApplication::activeModalWidget()) {
                ricerca = true;
                d->close();
            }
        });
        QTest::keyClick(form->TreeViewMain, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(form->TreeViewMain, Qt::Key_S, Qt::AltModifier);
        QVERIFY(!ricerca);
        QCOMPARE(QApplication::focusWidget(), form->TreeViewMain);
        QVERIFY(boxes.Boxes.isEmpty());
    }

    // in the external-call mode the keyboard starts on the tree: a stray Space sends nothing
    void externalCallStartsWithTheFocusOnTheTree() {
        TRecordingBoxes boxes;
        auto form = Finestra({"UTENTE=1", "DITTA=01", "SOGGETTO=C12"});
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(QApplication::focusWidget(), form->TreeViewMain);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(!form->InvioInCorso());
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
    }

    void externalCallHidesTheFilterAndMaximisesOnce() {
        TRecordingBoxes boxes;
        auto form = Finestra({"UTENTE=1", "DITTA=01", "SOGGETTO=C12"});
        QVERIFY(form->PanelFiltro->isHidden());
        QCOMPARE(form->PanelHeader->y(), 0);
        QTRY_VERIFY(form->isMaximized());
        QCOMPARE(form->TreeViewMain->topLevelItem(0)->text(0), QString("Verdi Impianti"));
        form->showNormal();
        form->hide();
        form->show();  // a later showing rebuilds but does not maximise again
        QTest::qWait(100);
        QVERIFY(!form->isMaximized());
        auto normale = Finestra();
        QTest::qWait(100);
        QVERIFY(!normale->isMaximized());
        QVERIFY(normale->PanelFiltro->isVisible());
    }

    // The grid's title tells a search in force, kept after the dialog closes until F6, and a
    // search that finds nothing.
    void gridTitleTellsTheSearchInForce() {
        TRecordingBoxes boxes;
        auto form = FinestraSu("A123");
        QCOMPARE(form->LabelGriglia->text(), QString("Log del soggetto A123"));
        TPtqGrid* grid = form->PtqGrid;
        grid->setCurrentIndex(grid->model()->index(0, form->IBQuery->FieldIndex("FILEDESTINAZIONE_NOME")));
        grid->setFocus();
        QStringList durante;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<TRPtqGridForm*>(QApplication::activeModalWidget());
            if (!d) return;
            d->EditTipoRicerca->SetItemIndex(2);
            QTest::keyClicks(d->EditStringa, "A123_p");
            QTest::keyClick(d->EditStringa, Qt::Key_Return);
            durante << form->LabelGriglia->text();
        });
        QTest::keyClick(grid, Qt::Key_F5);
        QCOMPARE(durante, QStringList{QString::fromUtf8("Log del soggetto A123 — ricerca attiva")});
        QCOMPARE(form->LabelGriglia->text(), QString::fromUtf8("Log del soggetto A123 — ricerca attiva"));
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<TRPtqGridForm*>(QApplication::activeModalWidget());
            if (!d) return;
            QTest::keyClicks(d->EditStringa, "zzz");
            QTest::keyClick(d->EditStringa, Qt::Key_Return);
        });
        QTest::keyClick(grid, Qt::Key_F5);
        QCOMPARE(form->LabelGriglia->text(), QString::fromUtf8("Log del soggetto A123 — ricerca attiva, nessuna riga trovata"));
        QTest::keyClick(grid, Qt::Key_F6);
        QCOMPARE(form->LabelGriglia->text(), QString("Log del soggetto A123"));
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
    }

    // The grid below the tree lists the subject's log rows, reopened after every build.
    void gridFollowsTheSubject() {
        TRecordingBoxes boxes;
        auto form = FinestraSu("A'1");
        TPtqGrid* grid = form->PtqGrid;
        QVERIFY(grid->isVisible());
        QCOMPARE(grid->CodiceProgetto(), 534);
        QCOMPARE(grid->Situazione(), 1);
        QCOMPARE(grid->Utente(), 1);
        QCOMPARE(grid->NomeTabellaQuery(), QString("ZELSCANLOGLIGHT"));
        QVERIFY(grid->TabellaPiccola());
        QCOMPARE(grid->FDirectoryBin, FAmb.Dir.Root() + "/bin");
        QCOMPARE(grid->FNomeProgetto, QString("01"));
        QVERIFY(grid->AbilitaRicercheF5());
        QVERIFY(form->IBQuery->Active());
        QCOMPARE(form->LabelGriglia->text(), QString::fromUtf8("Log del soggetto A'1 — nessuna riga"));
        const QStringList atteso{"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT", "WHERE", "  ID IS NOT NULL", "  AND", "  DATOINPUT='A''1'"};
        // the grid adds the search condition in force (none: an empty line) and its order
        const QStringList aggiunte{"", "ORDER BY ZELSCANLOGLIGHT.ID"};
        QCOMPARE(form->IBQuery->SQL, atteso + aggiunte);
        QCOMPARE(grid->SQLIniziale(), atteso);
        QTRY_COMPARE(QString::number(grid->model()->rowCount()),
                     ValoreSQL(*form->DBArchivio, "SELECT COUNT(*) FROM ZELSCANLOGLIGHT WHERE DATOINPUT='A''1'"));

        // every status and operation, refused exports included
        form->EditFiltroCodice->setText("A123");
        form->Aggiorna();
        QTRY_COMPARE(QString::number(grid->model()->rowCount()),
                     ValoreSQL(*form->DBArchivio, "SELECT COUNT(*) FROM ZELSCANLOGLIGHT WHERE DATOINPUT='A123'"));
        form->EditFiltroCodice->clear();
        form->Aggiorna();
        QVERIFY(form->IBQuery->Active());
        QCOMPARE(form->IBQuery->SQL, atteso.mid(0, 6) + aggiunte);
        QCOMPARE(form->LabelGriglia->text(), "Log completo (tutti i soggetti)");
        QVERIFY(form->DBNavigator->isEnabled());
        form->close();
        QVERIFY(!form->IBQuery->Active());
        QVERIFY(boxes.Boxes.isEmpty());
    }

    // A title double-click sorts the grid; closing and starting again finds the same order, the
    // stored marks and the coloured title; the splitter keeps its position.
    void sortAndSplitterKeptAcrossStarts() {
        TRecordingBoxes boxes;
        TAmbienteProva amb;
        int albero = 0;
        {
            auto form = AvviaFormMain({}, amb.IniStandard());
            form->show();
            form->EditFiltroCodice->setText("A123");
            form->Aggiorna();
            TPtqGrid* grid = form->PtqGrid;
            QHeaderView* titoli = grid->horizontalHeader();
            const int dataora = grid->Colonne().PosizioneDi("DATAORA");
            const int campo = grid->Colonne().Campo(dataora);
            const QPoint punto(titoli->sectionViewportPosition(campo) + 10, titoli->height() / 2);
            QTest::mousePress(titoli->viewport(), Qt::LeftButton, {}, punto);
            QTest::mouseRelease(titoli->viewport(), Qt::LeftButton, {}, punto);
            QTest::mouseDClick(titoli->viewport(), Qt::LeftButton, {}, punto);
            QTest::mouseDClick(titoli->viewport(), Qt::LeftButton, {}, punto);  // descending
            QCOMPARE(form->IBQuery->SQL.last(), "ORDER BY ZELSCANLOGLIGHT.DATAORA DESC");
            form->SplitterMain->setSizes({150, 200});
            albero = form->SplitterMain->sizes().value(0);
            form->close();
        }
        TFbDatabase db;
        Connetti(db, amb.Archivio);
        QCOMPARE(ValoreSQL(db, "SELECT LIST(NOMECAMPO || '=' || ORDINAMENTO) FROM STOASP1 WHERE CODICEUTENTE=1 "
                               "AND CODICESITUAZIONE=1 AND ORDINAMENTO IS NOT NULL"),
                 "DATAORA=2");
        QCOMPARE(ValoreSQL(db, "SELECT TESTO FROM TABX WHERE NOME='ZelScanFile.PosizioneSplitter' AND UTENTE=1"),
                 QString::number(albero));

        auto form = AvviaFormMain({}, amb.IniStandard());
        form->show();
        form->EditFiltroCodice->setText("A123");
        form->Aggiorna();
        QCOMPARE(form->SplitterMain->sizes().value(0), albero);
        TPtqGrid* grid = form->PtqGrid;
        QCOMPARE(form->IBQuery->SQL.last(), "ORDER BY ZELSCANLOGLIGHT.DATAORA DESC");
        const int dataora = grid->Colonne().PosizioneDi("DATAORA");
        QCOMPARE(grid->ModelloGriglia()->ColoreTitolo(grid->Colonne().Campo(dataora)), std::optional<TColore>(clRosso));
        const QVariant primo = grid->model()->index(0, grid->Colonne().Campo(dataora)).data(Qt::EditRole);
        // the first row has the latest time of the subject
        QCOMPARE(ValoreSQL(db, "SELECT COUNT(*) FROM ZELSCANLOGLIGHT WHERE DATOINPUT='A123' AND DATAORA>'" +
                                   primo.toDateTime().toString("yyyy-MM-dd HH:mm:ss") + "'"),
                 "0");
        QVERIFY(boxes.Boxes.isEmpty());
    }

    // A fetch that fails while the grid fills shows the database's message once; the window, the
    // tree and the rows already shown stay usable.
    void gridErrorsLeaveTheWindowUsable() {
        TRecordingBoxes boxes;
        TAmbienteProva amb;
        {
            TFbDatabase db;
            Connetti(db, amb.Archivio);
            EseguiSQL(db, "ALTER TABLE ZELSCANLOGLIGHT ADD GUASTO COMPUTED BY (CAST(IIF(ID > 3, 'x', '1') AS INTEGER))");
        }
        auto form = AvviaFormMain({}, amb.IniStandard());
        form->show();
        // the whole log, shown first, fails as well; its box comes once the grid has asked for
        // rows, which a busy machine may delay past any fixed wait
        QTRY_COMPARE(boxes.Boxes.size(), 1);
        form->EditFiltroCodice->setText("A123");
        boxes.Boxes.clear();
        form->Aggiorna();
        QVERIFY(form->IBQuery->Active());
        QTRY_COMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(boxes.Boxes[0].Kind, "Errore");
        QVERIFY2(boxes.Boxes[0].Text.contains("conversion error"), qPrintable(boxes.Boxes[0].Text));
        QVERIFY(form->PtqGrid->model()->rowCount() >= 1);
        QVERIFY(form->TreeViewMain->topLevelItemCount() > 0);
        QTest::qWait(50);
        QCOMPARE(boxes.Boxes.size(), 1);  // reported once

        form->close();
    }

    void gridKeysRunTheirCommandOnce() {
        TRecordingBoxes boxes;
        auto form = FinestraSu("A123");
        TPtqGrid* grid = form->PtqGrid;
        grid->show();
        form->TreeViewMain->hide();
        form->IBQuery->Open();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 1));
        grid->setColumnWidth(1, 101);
        QTest::keyClick(grid, Qt::Key_F9);
        QCOMPARE(grid->columnWidth(1), 50);
        QTest::keyClick(grid, Qt::Key_F7);  // nothing
        QCOMPARE(grid->columnWidth(1), 50);

        // F8: the query utility for the grid's table, found beside the program
        const QString dir = QCoreApplication::applicationDirPath();
        QFile::remove(dir + "/Tondrik.exe");
        QVERIFY(QFile::copy(ZEL_TONDRIK_EXE, dir + "/Tondrik.exe"));
        const QString log = FAmb.Dir.Path("tondrik.log");
        qputenv("ZEL_TONDRIK_LOG", log.toLocal8Bit());
        QTest::keyClick(grid, Qt::Key_F8);
        qunsetenv("ZEL_TONDRIK_LOG");
        QFile f(log);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(boxes.Ultimo()));
        const QString argomenti = QString::fromUtf8(f.readAll());
        QVERIFY2(argomenti.contains("ZELSCANLOGLIGHT"), qPrintable(argomenti));
        QVERIFY2(argomenti.contains(FAmb.Archivio), qPrintable(argomenti));
        QVERIFY(boxes.Boxes.isEmpty());
    }

    // F5 on the log's DATOINPUT column narrows the rows as the user types; Enter keeps the
    // condition, F6 removes it.
    void gridSearchOnTheLog() {
        TRecordingBoxes boxes;
        auto form = FinestraSu("");
        TPtqGrid* grid = form->PtqGrid;
        grid->show();
        form->TreeViewMain->hide();
        form->IBQuery->Open();
        auto righe = [&] {
            form->IBQuery->Last();
            return form->IBQuery->FetchedCount();
        };
        const int tutte = righe();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, form->IBQuery->FieldIndex("DATOINPUT")));
        QStringList durante;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<TRPtqGridForm*>(QApplication::activeModalWidget());
            if (!d) return;
            d->EditTipoRicerca->SetItemIndex(2);  // "LIKE %": begins with
            QTest::keyClicks(d->EditStringa, "a12");
            QTest::qWait(1200);  // the search runs a second after the last keystroke at most
            for (form->IBQuery->First(); !form->IBQuery->Eof(); form->IBQuery->Next())
                durante << form->IBQuery->FieldByName("DATOINPUT").AsString();
            QTest::keyClick(d->EditStringa, Qt::Key_Return);
            if (d->isVisible()) d->reject();
        });
        QTest::keyClick(grid, Qt::Key_F5);
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
        QCOMPARE(durante, (QStringList(7, "A123") + QStringList{"A124", "A124", "A125"}));
        QVERIFY(form->IBQuery->SQL.contains("AND(UPPER(ZELSCANLOGLIGHT.DATOINPUT) LIKE 'A12%')"));
        QVERIFY(!grid->RicercaInCorso());
        QTest::keyClick(grid, Qt::Key_F6);
        QVERIFY(!form->IBQuery->SQL.join('\n').contains("A12"));
        QCOMPARE(righe(), tutte);
        QVERIFY(boxes.Boxes.isEmpty());
    }

    void archiveWithoutGridSettingsEndsTheStartUp() {
        TTestDir dir;
        const QString archivio = dir.NuovoDatabase("senza.fdb", {"archive_schema"});
        const QString utenti = dir.NuovoUtentiDemo(archivio);
        const QString ini = dir.Path("p.ini");
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(("[CONFIG]\nUTENTE=1\nDITTA=01\nPercorsoDatabase=" + utenti + "\n").toUtf8());
        f.close();
        TRecordingBoxes boxes;
        QVERIFY(!AvviaFormMain({}, ini));
        QCOMPARE(boxes.Boxes.size(), 1);
        QVERIFY2(boxes.Boxes[0].Text.startsWith("Esecuzione non consentita:\r\nDynamic SQL Error"), qPrintable(boxes.Boxes[0].Text));
        QVERIFY(boxes.Boxes[0].Text.contains("SETGRID"));
    }
};

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
