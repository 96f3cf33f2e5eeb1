// The lookup dialog over the demo archive: refreshes, the typing delay, returning a row, cancelling.
#include "controls/Acceleratori.h"
#include "db/FbDataSet.h"
#include "lookup/DataModuleMedia.h"
#include "lookup/DatiRicerca.h"
#include "lookup/FormRicerca.h"
#include "lookup/SQLRicerca.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/TestDb.h"
#include "tests/support/TestiTagliati.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

class TestFormRicerca : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TDataModuleMedia FMedia;
    TDatiRicerca FClienti;
    int FConNome = 0;  // customers with a name

    void Prepara(TFormRicerca& dlg, TDatiRicerca* dati = nullptr) {
        dlg.SetDatiRicerca(dati ? dati : &FClienti);
        dlg.SetDBArchivio(&FDb);
    }

    // The returned column of every row of the grid, fetching all of them.
    static QStringList Codici(TFormRicerca& dlg) {
        QAbstractItemModel* m = dlg.DBGrid()->model();
        while (m->canFetchMore({})) m->fetchMore({});
        QStringList codici;
        for (int r = 0; r < m->rowCount(); ++r) codici << m->index(r, 0).data().toString();
        return codici;
    }

    // Types into the search field as the user does, and waits for the refresh that follows.
    static void Digita(TFormRicerca& dlg, const QString& testo) {
        QSignalSpy aggiornato(&dlg, &TFormRicerca::Aggiornato);
        QTest::keyClicks(dlg.EditRicerca(), testo);
        QVERIFY(aggiornato.wait(2000));
    }

    static QImage Argb(const QPixmap& pm) { return pm.toImage().convertToFormat(QImage::Format_ARGB32); }

private slots:
    void initTestCase() {
        Connetti(FDb, FDir.NuovoArchivioDemo());
        // names are stored with "´" in place of the apostrophe by the suite's programs
        EseguiSQL(FDb, "INSERT INTO CLIENTI (CODICE, RAGSOC, CITTA) VALUES ('C007', 'D´Amico Trasporti', 'Pavia')");
        EseguiSQL(FDb, "INSERT INTO CLIENTI (CODICE, RAGSOC, CITTA) VALUES ('C008', NULL, 'Lodi')");
        DemoData::AggiungiClienti(FDb, 1200);
        FConNome = ValoreSQL(FDb, "SELECT COUNT(*) FROM CLIENTI WHERE RAGSOC IS NOT NULL").toInt();
        QCOMPARE(FConNome, 1207);
        FClienti.SetTabellaRicerca("CLIENTI");
        FClienti.SetCampoRicerca("RAGSOC");
        FClienti.SetCampoRitorno("CODICE");
    }

    void looksAsDescribed() {
        TFormRicerca dlg;
        dlg.show();  // no request yet: shown empty
        const QPoint scarto = dlg.frameGeometry().center() - dlg.screen()->availableGeometry().center();
        QVERIFY2(scarto.manhattanLength() <= 2, "centred on the screen");
        QCOMPARE(dlg.windowTitle(), "Ricerca");
        QCOMPARE(dlg.size(), QSize(784, 561));
        QCOMPARE(dlg.font().pixelSize(), 13);
        QVERIFY(QStringList({"Tahoma", "DejaVu Sans"}).contains(QFontInfo(dlg.font()).family()));
        QCOMPARE(Argb(dlg.windowIcon().pixmap(16, 16)), Argb(FMedia.Immagine(TDataModuleMedia::imgCerca)));
        QCOMPARE(dlg.EditRicerca()->placeholderText(), "Digitare il testo da ricercare");
        QCOMPARE(dlg.EditRicerca()->height(), 24);
        QCOMPARE(SenzaAcceleratore(dlg.ButtonRitorna()->text()), "Ritorna");
        QCOMPARE(SenzaAcceleratore(dlg.ButtonAnnulla()->text()), "Annulla");
        QCOMPARE(QKeySequence::mnemonic(dlg.ButtonRitorna()->text()), QKeySequence(Qt::ALT | Qt::Key_R));
        QCOMPARE(QKeySequence::mnemonic(dlg.ButtonAnnulla()->text()), QKeySequence(Qt::ALT | Qt::Key_A));
        QCOMPARE(Argb(dlg.ButtonRitorna()->icon().pixmap(16, 16)), Argb(FMedia.Immagine(TDataModuleMedia::imgRitorna)));
        QCOMPARE(Argb(dlg.ButtonAnnulla()->icon().pixmap(16, 16)), Argb(FMedia.Immagine(TDataModuleMedia::imgAnnulla)));
        QCOMPARE(dlg.TimerRicerca()->interval(), 200);
        QVERIFY(dlg.TimerRicerca()->isSingleShot());
        QVERIFY(!dlg.TimerRicerca()->isActive());
        QCOMPARE(dlg.findChild<QWidget*>("PanelBottom")->height(), 56);
        for (const char* filler : {"FillerLeft", "FillerRight"}) QCOMPARE(dlg.findChild<QWidget*>(filler)->width(), 8);
        QCOMPARE(dlg.findChild<QWidget*>("FillerTop")->height(), 8);
        QCOMPARE(dlg.EditRicerca()->mapTo(&dlg, QPoint(0, 0)), QPoint(8, 8));
        QCOMPARE(dlg.findChild<QWidget*>("PanelBottom")->geometry().bottom(), 560);
        QCOMPARE(dlg.ButtonAnnulla()->geometry().right(), 784 - 8 - 1);
        const QTableView* grid = dlg.DBGrid();
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(grid->showGrid());
    }

    void showingListsTheFirstRows() {
        TRecordingBoxes boxes;
        TFormRicerca dlg;
        Prepara(dlg);
        QSignalSpy aggiornato(&dlg, &TFormRicerca::Aggiornato);
        dlg.show();
        QCOMPARE(aggiornato.count(), 1);
        QCOMPARE(dlg.Query()->SQL, SQLRicerca(FClienti, QString()));
        const QAbstractItemModel* m = dlg.DBGrid()->model();
        QCOMPARE(m->columnCount(), 2);
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), "CODICE");
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), "RAGSOC");
        QCOMPARE(dlg.DBGrid()->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
        const QStringList codici = Codici(dlg);
        QCOMPARE(codici.size(), 1000);   // at most 1000 of the 1207 named customers
        QVERIFY(!codici.contains("C008"));  // no name, never listed
        QCOMPARE(dlg.DBGrid()->currentIndex().row(), 0);
        QCOMPARE(dlg.Ritorno(), ValoreSQL(FDb, "SELECT FIRST 1 CODICE FROM CLIENTI WHERE RAGSOC IS NOT NULL ORDER BY RAGSOC"));
        QVERIFY(boxes.Boxes.isEmpty());
    }

    // The search field's hint, the buttons and the list's column titles show whole.
    void captionsFit() {
        TFormRicerca dlg;
        Prepara(dlg);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QStringList tagliati = TestiTagliati(dlg) + TitoliTagliati(*dlg.DBGrid()->horizontalHeader());
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join('\n')));
        const QLineEdit* campo = dlg.EditRicerca();
        QVERIFY(campo->fontMetrics().horizontalAdvance(campo->placeholderText()) < campo->width());
    }

    void searchFindsContainedText_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("codici");
        QTest::newRow("maiuscole e minuscole") << "VERDI imp" << QStringList{"C12"};
        QTest::newRow("apostrofo cerca l'accento") << "D'Amico" << QStringList{"C007"};
        QTest::newRow("accento") << "D´Amico" << QStringList{"C007"};
        QTest::newRow("parte del nome") << "amico" << QStringList{"C002", "C007"};
        QTest::newRow("nessuno") << "zzzz" << QStringList{};
        QTest::newRow("due punti non sono un parametro") << "a:b" << QStringList{};
    }
    void searchFindsContainedText() {
        QFETCH(QString, testo);
        QFETCH(QStringList, codici);
        TFormRicerca dlg;
        Prepara(dlg);
        dlg.EditRicerca()->setText(testo);
        dlg.Aggiorna();
        QCOMPARE(dlg.Query()->SQL, SQLRicerca(FClienti, testo));
        QCOMPARE(Codici(dlg), codici);
    }

    void nonEmptySearchHasNoRowLimit() {
        // blanks only are a search text: every name holding a blank, well over a thousand
        TFormRicerca dlg;
        Prepara(dlg);
        dlg.EditRicerca()->setText(" ");
        dlg.Aggiorna();
        const int attese = ValoreSQL(FDb, "SELECT COUNT(*) FROM CLIENTI WHERE RAGSOC CONTAINING ' '").toInt();
        QVERIFY(attese > 1000);
        QCOMPARE(Codici(dlg).size(), attese);
    }

    void threeQuickKeysGiveOneRefresh() {
        TFormRicerca dlg;
        Prepara(dlg);
        dlg.show();
        QSignalSpy aggiornato(&dlg, &TFormRicerca::Aggiornato);
        QTest::keyClick(dlg.EditRicerca(), 'V');
        QTest::qWait(60);
        QTest::keyClick(dlg.EditRicerca(), 'e');
        QTest::qWait(60);
        QTest::keyClick(dlg.EditRicerca(), 'r');
        QElapsedTimer dopoTerzo;
        dopoTerzo.start();
        QVERIFY(dlg.TimerRicerca()->isActive());
        QVERIFY(aggiornato.wait(2000));
        const qint64 attesa = dopoTerzo.elapsed();
        QVERIFY2(attesa >= 195 && attesa < 1000, qPrintable(QString("refresh after %1 ms").arg(attesa)));
        QCOMPARE(aggiornato.count(), 1);
        QTest::qWait(400);
        QCOMPARE(aggiornato.count(), 1);  // none later
        QCOMPARE(Codici(dlg), QStringList{"C12"});
    }

    void clearingReturnsToTheLimitedList() {
        TFormRicerca dlg;
        Prepara(dlg);
        dlg.show();
        Digita(dlg, "Verdi");
        QCOMPARE(Codici(dlg), QStringList{"C12"});
        QSignalSpy aggiornato(&dlg, &TFormRicerca::Aggiornato);
        QTest::keyClick(dlg.EditRicerca(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(dlg.EditRicerca(), Qt::Key_Backspace);
        QVERIFY(aggiornato.wait(2000));
        QVERIFY(dlg.Query()->SQL.contains("FIRST 1000"));
        QVERIFY(dlg.Query()->SQL.contains("  RAGSOC IS NOT NULL"));
        QCOMPARE(Codici(dlg).size(), 1000);
    }

    void textSetByTheProgramStartsNoRefresh() {
        TFormRicerca dlg;
        Prepara(dlg);
        dlg.show();
        QSignalSpy aggiornato(&dlg, &TFormRicerca::Aggiornato);
        dlg.EditRicerca()->setText("Verdi");
        QVERIFY(!dlg.TimerRicerca()->isActive());
        QTest::qWait(400);
        QCOMPARE(aggiornato.count(), 0);
        QCOMPARE(Codici(dlg).size(), 1000);
    }

    void ritornoCarriesThePrefix_data() {
        QTest::addColumn<QString>("prefisso");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("riga");
        QTest::addColumn<QString>("ritorno");
        QTest::newRow("senza prefisso") << "" << "Verdi" << 0 << "C12";
        QTest::newRow("con prefisso") << "CLI:" << "Verdi" << 0 << "CLI:C12";
        QTest::newRow("riga scelta nella griglia") << "CLI:" << "amico" << 1 << "CLI:C007";
        QTest::newRow("senza righe niente prefisso") << "CLI:" << "zzzz" << -1 << "";
    }
    void ritornoCarriesThePrefix() {
        QFETCH(QString, prefisso);
        QFETCH(QString, testo);
        QFETCH(int, riga);
        QFETCH(QString, ritorno);
        TDatiRicerca dati;
        dati.Assign(FClienti);
        dati.SetPrefissoRitorno(prefisso);
        TFormRicerca dlg;
        Prepara(dlg, &dati);
        dlg.EditRicerca()->setText(testo);
        dlg.Aggiorna();
        Codici(dlg);  // every row into the grid, as scrolling does
        if (riga >= 0) dlg.DBGrid()->setCurrentIndex(dlg.DBGrid()->model()->index(riga, 1));
        QCOMPARE(dlg.Ritorno(), ritorno);
    }

    void ritornoWithoutRowsWarnsAndStays() {
        TRecordingBoxes boxes;
        TFormRicerca dlg;
        Prepara(dlg);
        dlg.show();
        Digita(dlg, "zzzz");
        QTest::mouseClick(dlg.ButtonRitorna(), Qt::LeftButton);
        QCOMPARE(boxes.Ultimo(), "Avviso: Nessun record selezionato");
        QVERIFY(dlg.isVisible());
        // double click and Enter in the grid do nothing without rows
        dlg.DBGridDblClick();
        QTest::keyClick(dlg.DBGrid(), Qt::Key_Return);
        QVERIFY(dlg.isVisible());
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(dlg.Ritorno(), "");
        // with rows the same button returns
        QTest::keyClick(dlg.EditRicerca(), Qt::Key_A, Qt::ControlModifier);
        Digita(dlg, "Verdi");
        QTest::mouseClick(dlg.ButtonRitorna(), Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.Ritorno(), "C12");
        QCOMPARE(boxes.Boxes.size(), 1);
    }

    void closingDropsAPendingRefresh() {
        // the row handed back is the one the user saw when closing, even with a keystroke pending
        TFormRicerca dlg;
        Prepara(dlg);
        dlg.show();
        Digita(dlg, "amico");
        QTRY_COMPARE(dlg.DBGrid()->model()->rowCount(), 2);
        dlg.DBGrid()->setCurrentIndex(dlg.DBGrid()->model()->index(1, 0));
        QSignalSpy aggiornato(&dlg, &TFormRicerca::Aggiornato);
        QTest::keyClick(dlg.EditRicerca(), 'x');
        QTest::mouseClick(dlg.ButtonRitorna(), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!dlg.TimerRicerca()->isActive());
        QTest::qWait(400);
        QCOMPARE(aggiornato.count(), 0);
        QCOMPARE(dlg.Ritorno(), "C007");
    }

    void enterInTheFieldOnlyMovesToTheGrid_data() {
        QTest::addColumn<int>("tasto");
        QTest::newRow("Invio") << int(Qt::Key_Return);
        QTest::newRow("Invio del tastierino") << int(Qt::Key_Enter);
    }
    void enterInTheFieldOnlyMovesToTheGrid() {
        QFETCH(int, tasto);
        TFormRicerca dlg;
        Prepara(dlg);
        dlg.show();
        Digita(dlg, "amico");
        QSignalSpy finito(&dlg, &QDialog::finished);
        QTest::keyClick(dlg.EditRicerca(), Qt::Key(tasto));
        QVERIFY(dlg.isVisible());
        QCOMPARE(finito.count(), 0);
        QCOMPARE(dlg.focusWidget(), dlg.DBGrid());
        QTest::keyClick(dlg.DBGrid(), Qt::Key_Down);
        QTest::keyClick(dlg.DBGrid(), Qt::Key(tasto));
        QCOMPARE(finito.count(), 1);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.Ritorno(), "C007");
    }

    // Tab walks field, list, "Ritorna", "Annulla" and wraps; Shift+Tab goes back, and Ctrl+Tab
    // leaves the list too.
    void tabReachesEveryControl() {
        TFormRicerca dlg;
        Prepara(dlg);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        Digita(dlg, "amico");
        const QList<QWidget*> ordine{dlg.EditRicerca(), dlg.DBGrid(), dlg.ButtonRitorna(), dlg.ButtonAnnulla()};
        auto nome = [&] { return QString::number(ordine.indexOf(QApplication::focusWidget())); };
        dlg.EditRicerca()->setFocus(Qt::TabFocusReason);
        QStringList avanti{nome()}, indietro;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            avanti << nome();
        }
        QCOMPARE(avanti.join(' '), QString("0 1 2 3 0"));
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            indietro << nome();
        }
        QCOMPARE(indietro.join(' '), QString("3 2 1 0"));
        dlg.DBGrid()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dlg.DBGrid(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), dlg.ButtonRitorna());
        QVERIFY(dlg.isVisible());
    }

    // Enter and Space on a button press that button; Alt and the underlined letter press it from
    // anywhere in the dialog.
    void keysOnTheButtons_data() {
        QTest::addColumn<QString>("fuoco");
        QTest::addColumn<int>("tasto");
        QTest::addColumn<int>("modificatori");
        QTest::addColumn<int>("esito");
        QTest::newRow("Enter on Ritorna") << "ritorna" << int(Qt::Key_Return) << int(Qt::NoModifier) << int(QDialog::Accepted);
        QTest::newRow("Enter on Annulla") << "annulla" << int(Qt::Key_Return) << int(Qt::NoModifier) << int(QDialog::Rejected);
        QTest::newRow("keypad Enter on Annulla") << "annulla" << int(Qt::Key_Enter) << int(Qt::KeypadModifier)
                                                 << int(QDialog::Rejected);
        QTest::newRow("Space on Annulla") << "annulla" << int(Qt::Key_Space) << int(Qt::NoModifier) << int(QDialog::Rejected);
        QTest::newRow("Alt+R in the field") << "campo" << int(Qt::Key_R) << int(Qt::AltModifier) << int(QDialog::Accepted);
        QTest::newRow("Alt+A in the list") << "lista" << int(Qt::Key_A) << int(Qt::AltModifier) << int(QDialog::Rejected);
    }
    void keysOnTheButtons() {
        QFETCH(QString, fuoco);
        QFETCH(int, tasto);
        QFETCH(int, modificatori);
        QFETCH(int, esito);
        TFormRicerca dlg;
        Prepara(dlg);
        QString ritorno;
        QTimer::singleShot(0, this, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dlg));
            Digita(dlg, "amico");
            ritorno = dlg.Ritorno();
            const QHash<QString, QWidget*> controlli{{"campo", dlg.EditRicerca()},
                                                     {"lista", dlg.DBGrid()},
                                                     {"ritorna", dlg.ButtonRitorna()},
                                                     {"annulla", dlg.ButtonAnnulla()}};
            // the buttons are reached as a user reaches them, by Tab from the list
            dlg.DBGrid()->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < 2 && QApplication::focusWidget() != controlli.value(fuoco); ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (fuoco == "campo") dlg.EditRicerca()->setFocus(Qt::TabFocusReason);
            QCOMPARE(QApplication::focusWidget(), controlli.value(fuoco));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(tasto), Qt::KeyboardModifiers(modificatori));
        });
        QTimer::singleShot(5000, &dlg, [&dlg] { static_cast<QDialog&>(dlg).done(-1); });  // never hang the run
        QCOMPARE(dlg.exec(), esito);
        if (esito == QDialog::Accepted) QCOMPARE(dlg.Ritorno(), ritorno);
    }

    void doubleClickReturnsTheRow() {
        TFormRicerca dlg;
        Prepara(dlg);
        int risultato = -1;
        QTimer::singleShot(0, this, [&] {
            auto* aperto = qobject_cast<TFormRicerca*>(QApplication::activeModalWidget());
            QVERIFY(aperto == &dlg);
            Digita(dlg, "amico");
            QTableView* grid = dlg.DBGrid();
            QTRY_COMPARE(grid->model()->rowCount(), 2);  // the grid fetches the rows it shows
            const QRect cella = grid->visualRect(grid->model()->index(1, 1));
            // a person's double click: press and release, then the double click and its release
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cella.center());
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cella.center());
            QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, cella.center());
        });
        QTimer::singleShot(5000, &dlg, &QDialog::reject);  // never hang the run
        risultato = dlg.exec();
        QCOMPARE(risultato, int(QDialog::Accepted));
        QCOMPARE(dlg.Ritorno(), "C007");
        QVERIFY(dlg.Query()->Active());  // still open for the caller until the dialog is freed
    }

    void cancelling_data() {
        QTest::addColumn<QString>("come");
        QTest::newRow("Annulla") << "Annulla";
        QTest::newRow("chiusura della finestra") << "chiusura";
        QTest::newRow("Esc") << "Esc";
    }
    void cancelling() {
        QFETCH(QString, come);
        TFormRicerca dlg;
        Prepara(dlg);
        QTimer::singleShot(0, this, [&] {
            Digita(dlg, "Verdi");
            if (come == "Annulla") QTest::mouseClick(dlg.ButtonAnnulla(), Qt::LeftButton);
            else if (come == "chiusura") dlg.close();
            else QTest::keyClick(dlg.DBGrid(), Qt::Key_Escape);
        });
        QTimer::singleShot(5000, &dlg, &QDialog::accept);  // never hang the run
        QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    }

    void databaseErrorDuringRefreshIsShown() {
        TRecordingBoxes boxes;
        TDatiRicerca dati;
        dati.Assign(FClienti);
        dati.SetTabellaRicerca("CLIENTI_INESISTENTI");
        TFormRicerca dlg;
        Prepara(dlg, &dati);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, dlg.Aggiorna());  // called directly, the error reaches the caller
        // a refresh of the dialog's own events reports it and goes on
        dati.Assign(FClienti);
        dlg.show();
        QVERIFY(boxes.Boxes.isEmpty());
        dati.SetTabellaRicerca("CLIENTI_INESISTENTI");
        QTest::keyClick(dlg.EditRicerca(), 'x');
        QTRY_COMPARE_WITH_TIMEOUT(boxes.Boxes.size(), 1, 2000);
        QCOMPARE(boxes.Ultimo(), "Errore: Dynamic SQL Error\n-SQL error code = -204\n-Table unknown\n"
                                 "-CLIENTI_INESISTENTI\n-At line 5, column 3");
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.Ritorno(), "");
        QTest::mouseClick(dlg.ButtonRitorna(), Qt::LeftButton);
        QCOMPARE(boxes.Ultimo(), "Avviso: Nessun record selezionato");
        // the dialog recovers once the request is right
        dati.Assign(FClienti);
        QTest::keyClick(dlg.EditRicerca(), Qt::Key_Backspace);
        Digita(dlg, "Verdi");
        QCOMPARE(dlg.Ritorno(), "C12");
    }

    // the first refresh failing leaves nothing to search in: the error, and the dialog ends cancelled
    void databaseErrorAtTheFirstRefreshEndsTheDialog() {
        TRecordingBoxes boxes;
        TDatiRicerca dati;
        dati.Assign(FClienti);
        dati.SetTabellaRicerca("CLIENTI_INESISTENTI");
        TFormRicerca dlg;
        Prepara(dlg, &dati);
        QTimer::singleShot(5000, &dlg, &QDialog::accept);  // never hang the run
        QElapsedTimer t;
        t.start();
        const int esito = dlg.exec();
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(esito, int(QDialog::Rejected));
        QVERIFY(t.elapsed() < 5000);
        QCOMPARE(boxes.Ultimo(), "Errore: Dynamic SQL Error\n-SQL error code = -204\n-Table unknown\n"
                                 "-CLIENTI_INESISTENTI\n-At line 6, column 3");
        QVERIFY(dlg.isHidden());
    }

    void withoutRequestNothingIsSearched() {
        TRecordingBoxes boxes;
        TFormRicerca dlg;
        dlg.SetDBArchivio(&FDb);
        dlg.show();
        QCOMPARE(dlg.DBGrid()->model()->rowCount(), 0);
        QCOMPARE(dlg.Ritorno(), "");
        QVERIFY(boxes.Boxes.isEmpty());
    }
};

QTEST_MAIN(TestFormRicerca)
#include "tst_formricerca.moc"
