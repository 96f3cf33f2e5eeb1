// The personalisation dialog over the grid's layout rows, its warning, and the reset to the base
// layout, driven with keys and clicks on real databases.
#include "controls/Acceleratori.h"
#include "db/FbTransaction.h"
#include "grid/AvPtqGr.h"
#include "grid/ColoriGriglia.h"
#include "grid/ModelloAspetto.h"
#include "grid/PPtqGrid.h"
#include "grid/PersonalizzazioneGriglia.h"
#include "controls/RadioGroup.h"
#include "grid/PtqGrid.h"
#include "grid/RPtqGrid.h"
#include "grid/TabelleGriglia.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/TestDb.h"
#include "tests/support/TestiTagliati.h"

#include <QColorDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>
#include <functional>
#include <tuple>

namespace {

constexpr int Progetto = 534;
constexpr int Situazione = 1;
constexpr int Utente = 5;

// Runs `azione` on the next modal dialog of type T once it shows (the caller then opens it).
template <typename T>
void AlProssimoModale(std::function<void(T*)> azione) {
    auto* attesa = new QTimer;
    attesa->setInterval(10);
    QObject::connect(attesa, &QTimer::timeout, [attesa, azione] {
        T* dialogo = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialogo || !dialogo->isVisible()) return;
        attesa->stop();
        attesa->deleteLater();
        azione(dialogo);
    });
    attesa->start();
}

QPoint CentroCella(QTableView* vista, int riga, int colonna) {
    return vista->visualRect(vista->model()->index(riga, colonna)).center();
}

QColor ColoreCella(QTableView* vista, int riga, int colonna) {
    const QImage immagine = vista->viewport()->grab().toImage();
    return immagine.pixelColor(CentroCella(vista, riga, colonna) + QPoint(3, 0));
}

}  // namespace

class TestPersonalizzazione : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TFbTransaction FTr{&FDb};

    // Three layout rows for the project, situation and user, plus one of another user.
    void RigheAspetto() {
        EseguiSQL(FDb, "DELETE FROM STOASP1");
        EseguiSQL(FDb, "DELETE FROM STOPOS1");
        const char* righe[] = {
            "(534,1,5,'ID',64,0,'Numero',0,1,0,'ZELSCANLOGLIGHT.ID')",
            "(534,1,5,'DATOINPUT',120,1,'DATOINPUT',0,1,NULL,'ZELSCANLOGLIGHT.DATOINPUT')",
            "(534,1,5,'NR_MACCHINA',80,2,'NR_MACCHINA',0,1,255,'ZELSCANLOGLIGHT.NR_MACCHINA')",
            "(534,1,6,'ID',64,0,'Altro utente',0,1,0,'ZELSCANLOGLIGHT.ID')",
        };
        for (const char* r : righe)
            EseguiSQL(FDb, QString("INSERT INTO STOASP1 (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,NOMECAMPO,"
                                   "LARGHEZZA,POSIZIONE,NOMECOLONNA,ORDINAMENTO,VISIBILE,COLORECOLONNA,ORIGINE) VALUES ") + r);
        EseguiSQL(FDb, "INSERT INTO STOPOS1 (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,POSX,POSY) VALUES (534,1,5,10,20)");
        EseguiSQL(FDb, "INSERT INTO STOPOS1 (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,POSX,POSY) VALUES (534,1,6,10,20)");
    }

    QString Valore(const QString& campo, const QString& nomeCampo, int utente = Utente) {
        return ValoreSQL(FDb, QString("SELECT %1 FROM STOASP1 WHERE CODICEPROGETTO=534 AND CODICESITUAZIONE=1 "
                                      "AND CODICEUTENTE=%2 AND NOMECAMPO='%3'").arg(campo).arg(utente).arg(nomeCampo));
    }
    QString NullSeNull(const QString& campo, const QString& nomeCampo) {
        return Valore("COALESCE(CAST(" + campo + " AS VARCHAR(20)),'NULL')", nomeCampo);
    }

    std::unique_ptr<TPPtqGridForm> NuovoDialogo() {
        auto form = std::make_unique<TPPtqGridForm>(nullptr, "STOASP1", Progetto, Utente, Situazione, &FDb);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) qWarning("dialog not exposed");
        return form;
    }

    // The dialog's row for a field name.
    int Riga(TPPtqGridForm& form, const QString& nomeCampo) {
        auto* modello = form.DBGrid1()->model();
        for (int r = 0; r < modello->rowCount(); ++r)
            if (modello->index(r, 0).data().toString() == nomeCampo) return r;
        return -1;
    }
    void VaiA(TPPtqGridForm& form, const QString& nomeCampo, const QString& colonna) {
        auto* modello = form.DBGrid1()->model();
        int c = 0;
        while (modello->headerData(c, Qt::Horizontal).toString() != colonna) ++c;
        form.DBGrid1()->setCurrentIndex(modello->index(Riga(form, nomeCampo), c));
    }

private slots:
    void initTestCase() {
        Connetti(FDb, FDir.NuovoArchivioDemo());
        CheckTabPtqGrid(&FDb);
        InstallaRifiutoCommit(FDb);
    }

    void init() { RigheAspetto(); }

    void dialogLayoutAndStatements() {
        auto form = NuovoDialogo();
        QCOMPARE(form->IBQuery1.SQL,
                 (QStringList{"SELECT NomeCampo, NomeColonna, ColoreColonna, Visibile, Posizione FROM \"STOASP1\"",
                              "WHERE (CodiceSituazione=1)", "AND (CodiceUtente=5)", "AND (CodiceProgetto=534)"}));
        QCOMPARE(form->IBUpdateSQL1.ModifySQL,
                 (QStringList{"UPDATE \"STOASP1\"", "SET", "NOMECAMPO=:NOMECAMPO,", "NOMECOLONNA=:NOMECOLONNA,",
                              "COLORECOLONNA=:COLORECOLONNA,", "VISIBILE=:VISIBILE,", "POSIZIONE=:POSIZIONE",
                              "WHERE (CodiceSituazione=1)", "AND(CodiceUtente=5)", "AND(Posizione=:Posizione)",
                              "AND(CodiceProgetto=534)"}));
        QCOMPARE(form->size(), QSize(681, 377));
        QStringList captions, lettere;
        int y = -1;
        for (QPushButton* b : {form->SpeedButton1(), form->ButtonColoreDefault(), form->ButtonAspettoBase(), form->ButtonChiudi()}) {
            captions << SenzaAcceleratore(b->text());
            lettere << QKeySequence::mnemonic(b->text()).toString();
            QCOMPARE(b->size(), QSize(100, 28));
            QVERIFY(b->y() > y);
            y = b->y();
        }
        QCOMPARE(captions, (QStringList{"Cambia Colore", "Colore Default", "Aspetto Base", "Chiudi"}));
        QCOMPARE(lettere, (QStringList{"Alt+C", "Alt+D", "Alt+A", "Alt+I"}));
        QCOMPARE(form->ButtonChiudi()->parentWidget()->width(), 116);

        QTableView* vista = form->DBGrid1();
        QCOMPARE(vista->model()->rowCount(), 3);
        QVERIFY(vista->isColumnHidden(4));  // POSIZIONE
        QVERIFY(!(vista->model()->flags(vista->model()->index(0, 0)) & Qt::ItemIsEditable));
        for (int c = 1; c <= 3; ++c) QVERIFY(vista->model()->flags(vista->model()->index(0, c)) & Qt::ItemIsEditable);
    }

    void captionTypedAndPostedOnLeavingTheRow() {
        auto form = NuovoDialogo();
        VaiA(*form, "DATOINPUT", "NOMECOLONNA");
        form->DBGrid1()->setFocus();
        QTest::keyClick(form->DBGrid1(), 'S');  // typing opens the cell's editor
        QWidget* editor = form->DBGrid1()->indexWidget(form->DBGrid1()->currentIndex());
        QVERIFY(editor);
        QTest::keyClicks(editor, "erie");
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClick(form->DBGrid1(), Qt::Key_Down);  // leaving the row posts it
        QCOMPARE(form->IBQuery1.State(), TDataSetState::Browse);
        QTest::mouseClick(form->ButtonChiudi(), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(Valore("NOMECOLONNA", "DATOINPUT"), QString("Serie"));
        QCOMPARE(Valore("NOMECOLONNA", "ID", 6), QString("Altro utente"));
        QCOMPARE(Valore("POSIZIONE", "DATOINPUT"), QString("1"));
    }

    // Colour 0 is drawn like no colour, and the picker opens on black for both.
    void colourZeroLikeNull() {
        auto form = NuovoDialogo();
        QTableView* vista = form->DBGrid1();
        const QColor sfondo = vista->palette().color(QPalette::Window);
        vista->setCurrentIndex(vista->model()->index(Riga(*form, "NR_MACCHINA"), 0));  // focus away from the swatches
        QCOMPARE(ColoreCella(vista, Riga(*form, "ID"), 2), sfondo);
        QCOMPARE(ColoreCella(vista, Riga(*form, "DATOINPUT"), 2), sfondo);
        vista->setCurrentIndex(vista->model()->index(Riga(*form, "ID"), 0));
        QCOMPARE(ColoreCella(vista, Riga(*form, "NR_MACCHINA"), 2), QColor(Qt::red));
        QCOMPARE(ColoreCampione(QVariant(), vista->palette()), sfondo);

        for (const char* campo : {"ID", "DATOINPUT"}) {
            VaiA(*form, campo, "COLORECOLONNA");
            QColor iniziale;
            AlProssimoModale<QColorDialog>([&](QColorDialog* d) {
                iniziale = d->currentColor();
                d->reject();
            });
            QTest::mouseClick(form->SpeedButton1(), Qt::LeftButton);
            QCOMPARE(iniziale, QColor(Qt::black));
            QCOMPARE(form->IBQuery1.State(), TDataSetState::Browse);  // cancelling changes nothing
        }
    }

    void pickedColourAndDefaultColourStored() {
        auto form = NuovoDialogo();
        VaiA(*form, "ID", "COLORECOLONNA");
        AlProssimoModale<QColorDialog>([](QColorDialog* d) {
            d->setCurrentColor(QColor(0x10, 0x20, 0x30));
            d->accept();
        });
        QTest::mouseClick(form->SpeedButton1(), Qt::LeftButton);
        QCOMPARE(ColoreCella(form->DBGrid1(), Riga(*form, "ID"), 2), QColor(0x10, 0x20, 0x30));
        VaiA(*form, "NR_MACCHINA", "COLORECOLONNA");
        QTest::mouseClick(form->ButtonColoreDefault(), Qt::LeftButton);
        QTest::mouseClick(form->ButtonChiudi(), Qt::LeftButton);
        QCOMPARE(NullSeNull("COLORECOLONNA", "ID"), QString::number(0x302010));
        QCOMPARE(NullSeNull("COLORECOLONNA", "NR_MACCHINA"), QString("NULL"));
    }

    void noRowAddedNoRowDeleted() {
        auto form = NuovoDialogo();
        QTableView* vista = form->DBGrid1();
        const int ultima = vista->model()->rowCount() - 1;
        vista->setCurrentIndex(vista->model()->index(ultima, 1));
        vista->setFocus();
        QTest::keyClick(vista, Qt::Key_Down);
        QTest::keyClick(vista, Qt::Key_Down);
        QTest::keyClick(vista, Qt::Key_Delete);
        QCOMPARE(vista->model()->rowCount(), 3);
        QCOMPARE(vista->currentIndex().row(), ultima);
        QTest::mouseClick(form->ButtonChiudi(), Qt::LeftButton);
        QCOMPARE(ValoreSQL(FDb, "SELECT COUNT(*) FROM STOASP1 WHERE CODICEUTENTE=5"), QString("3"));
    }

    // Escape drops the edit still open on the current row; the rows posted before are kept.
    void escapeDiscardsTheOpenEdit() {
        auto form = NuovoDialogo();
        VaiA(*form, "ID", "NOMECOLONNA");
        form->DBGrid1()->model()->setData(form->DBGrid1()->currentIndex(), "Primo");
        VaiA(*form, "DATOINPUT", "NOMECOLONNA");  // posts the first row
        form->DBGrid1()->model()->setData(form->DBGrid1()->currentIndex(), "Secondo");
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        form.reset();
        QCOMPARE(Valore("NOMECOLONNA", "ID"), QString("Primo"));
        QCOMPARE(Valore("NOMECOLONNA", "DATOINPUT"), QString("DATOINPUT"));
    }

    // Closing with Escape or the close box commits the rows posted before; a commit the database
    // refuses is told once, and nothing of the dialog is kept.
    void closingReportsARefusedCommit_data() {
        QTest::addColumn<bool>("chiusura");
        QTest::newRow("Escape") << false;
        QTest::newRow("close box") << true;
    }
    void closingReportsARefusedCommit() {
        QFETCH(bool, chiusura);
        TRecordingBoxes boxes;
        auto form = NuovoDialogo();
        VaiA(*form, "ID", "NOMECOLONNA");
        form->DBGrid1()->model()->setData(form->DBGrid1()->currentIndex(), "Perso");
        VaiA(*form, "DATOINPUT", "NOMECOLONNA");  // posts the row
        RifiutaCommit(FDb, true);
        if (chiusura) form->close();
        else QTest::keyClick(form.get(), Qt::Key_Escape);
        RifiutaCommit(FDb, false);
        QVERIFY(!form->isVisible());
        form.reset();
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(boxes.Boxes[0].Kind, "Errore");
        QVERIFY2(boxes.Boxes[0].Text.startsWith("Modifiche non salvate\r\n") && boxes.Boxes[0].Text.contains("commit rifiutato"),
                 qPrintable(boxes.Boxes[0].Text));
        QCOMPARE(Valore("NOMECOLONNA", "ID"), QString("Numero"));
    }

    // A caption longer than the column takes: the post fails with one box, the row stays in edit.
    void failedPostToldOnce() {
        TRecordingBoxes boxes;
        auto form = NuovoDialogo();
        QTableView* vista = form->DBGrid1();
        VaiA(*form, "DATOINPUT", "NOMECOLONNA");
        vista->setFocus();
        QTest::keyClick(vista, 'X');
        QWidget* editor = vista->indexWidget(vista->currentIndex());
        QVERIFY(editor);
        QTest::keyClicks(editor, QString(40, 'y'));
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClick(vista, Qt::Key_Down);
        QTest::qWait(50);  // the return to the row is queued
        QCOMPARE(boxes.Boxes.size(), 1);
        QVERIFY2(boxes.Boxes[0].Text.contains("truncation"), qPrintable(boxes.Boxes[0].Text));
        QCOMPARE(form->IBQuery1.State(), TDataSetState::Edit);
        QCOMPARE(vista->currentIndex().row(), Riga(*form, "DATOINPUT"));
        // corrected, it posts
        vista->model()->setData(vista->currentIndex(), "Serie");
        QTest::mouseClick(form->ButtonChiudi(), Qt::LeftButton);
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(Valore("NOMECOLONNA", "DATOINPUT"), QString("Serie"));
    }

    // A text that is no value of the field is refused with a message, and the cell opens again
    // with what was typed, however the edit ended.
    void invalidValueKeptInEdit_data() {
        QTest::addColumn<int>("fine");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Tab") << int(Qt::Key_Tab);
        QTest::newRow("down arrow") << int(Qt::Key_Down);
    }
    void invalidValueKeptInEdit() {
        QFETCH(int, fine);
        TRecordingBoxes boxes;
        auto form = NuovoDialogo();
        QTableView* vista = form->DBGrid1();
        VaiA(*form, "ID", "VISIBILE");
        vista->setFocus();
        QTest::keyClick(vista, 'a');
        QWidget* editor = vista->indexWidget(vista->currentIndex());
        QVERIFY(editor);
        QTest::keyClicks(editor, "bc");
        QTest::keyClick(editor, Qt::Key(fine));
        QTRY_COMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(boxes.Ultimo(), QString("Avviso: Valore \"abc\" non valido per il campo VISIBILE"));
        const QModelIndex cella = form->DBGrid1()->model()->index(Riga(*form, "ID"), 3);
        QCOMPARE(vista->currentIndex(), cella);
        auto* riaperto = qobject_cast<QLineEdit*>(vista->indexWidget(cella));
        QVERIFY(riaperto);
        QCOMPARE(riaperto->text(), QString("abc"));
        // a value the field takes goes through
        riaperto->setText("0");
        QTest::keyClick(riaperto, Qt::Key_Return);
        QTest::mouseClick(form->ButtonChiudi(), Qt::LeftButton);
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(Valore("VISIBILE", "ID"), QString("0"));
    }

    void warningDialog() {
        TAvPtqGrForm avviso;
        QCOMPARE(avviso.windowTitle(), QString("Avviso"));
        QCOMPARE(avviso.size(), QSize(419, 362));
        QCOMPARE(avviso.Esito, quint16(2));
        QCOMPARE(avviso.Label1()->text(),
                 QString("ATTENZIONE CON QUESTA OPERAZIONE SI PERDONO TUTTE LE PERSONALIZZAZIONI DELL'ASPETTO DELLA GRIGLIA.\n"
                         "PREMERE CANCEL SE NON SI STA CAPENDO COSA SI STA FACENDO"));
        QVERIFY(avviso.Label1()->font().bold());
        QCOMPARE(avviso.Label1()->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(SenzaAcceleratore(avviso.BitBtn1()->text()), QString("OK"));
        QCOMPARE(SenzaAcceleratore(avviso.BitBtn2()->text()), QString("Cancel"));
        QCOMPARE(QKeySequence::mnemonic(avviso.BitBtn1()->text()), QKeySequence(Qt::ALT | Qt::Key_O));
        QCOMPARE(QKeySequence::mnemonic(avviso.BitBtn2()->text()), QKeySequence(Qt::ALT | Qt::Key_C));
        QVERIFY(avviso.BitBtn1()->isDefault());

        QStringList tagliati{"no dialog"};
        AlProssimoModale<TAvPtqGrForm>([&](TAvPtqGrForm* d) {
            tagliati = TestiTagliati(*d);  // the text and the buttons show whole
            QTest::keyClick(d, Qt::Key_Return);
        });
        avviso.exec();
        QCOMPARE(avviso.Esito, quint16(1));
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join('\n')));
    }

    // Only "OK" confirms: Enter on "Cancel" presses "Cancel", never the default "OK".
    void warningKeys_data() {
        QTest::addColumn<int>("tab");  // Tabs from "OK" before the key
        QTest::addColumn<int>("tasto");
        QTest::addColumn<int>("modificatori");
        QTest::addColumn<int>("esito");
        QTest::newRow("Enter on OK") << 0 << int(Qt::Key_Return) << int(Qt::NoModifier) << 1;
        QTest::newRow("Enter on Cancel") << 1 << int(Qt::Key_Return) << int(Qt::NoModifier) << 2;
        QTest::newRow("keypad Enter on Cancel") << 1 << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 2;
        QTest::newRow("Space on Cancel") << 1 << int(Qt::Key_Space) << int(Qt::NoModifier) << 2;
        QTest::newRow("Esc on OK") << 0 << int(Qt::Key_Escape) << int(Qt::NoModifier) << 2;
        QTest::newRow("Alt+C on OK") << 0 << int(Qt::Key_C) << int(Qt::AltModifier) << 2;
        QTest::newRow("Alt+O on Cancel") << 1 << int(Qt::Key_O) << int(Qt::AltModifier) << 1;
        QTest::newRow("Enter back on OK") << 2 << int(Qt::Key_Return) << int(Qt::NoModifier) << 1;
    }
    void warningKeys() {
        QFETCH(int, tab);
        QFETCH(int, tasto);
        QFETCH(int, modificatori);
        QFETCH(int, esito);
        TAvPtqGrForm avviso;
        AlProssimoModale<TAvPtqGrForm>([&](TAvPtqGrForm* d) {
            QVERIFY(QTest::qWaitForWindowActive(d));
            QCOMPARE(QApplication::focusWidget(), d->BitBtn1());
            for (int i = 0; i < tab; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), tab % 2 ? d->BitBtn2() : d->BitBtn1());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(tasto), Qt::KeyboardModifiers(modificatori));
        });
        QTimer::singleShot(5000, &avviso, &QDialog::reject);  // never hang the run
        avviso.exec();
        QCOMPARE(int(avviso.Esito), esito);
    }

    // Tab leaves the table for the buttons and comes back to it; Enter on a button, or Alt and
    // its underlined letter, presses that button, and Enter in the table presses none.
    void keyboardReachesEveryButton() {
        auto form = NuovoDialogo();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const QList<QWidget*> ordine{form->DBGrid1(), form->SpeedButton1(), form->ButtonColoreDefault(),
                                     form->ButtonAspettoBase(), form->ButtonChiudi()};
        auto nome = [&] { return QString::number(ordine.indexOf(QApplication::focusWidget())); };
        form->DBGrid1()->setFocus(Qt::TabFocusReason);
        QStringList avanti{nome()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            avanti << nome();
        }
        QCOMPARE(avanti.join(' '), QString("0 1 2 3 4 0"));
        QTest::keyClick(form->DBGrid1(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(nome(), QString("4"));
    }

    void enterOnEachButton_data() {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<bool>("lettera");  // Alt and the letter instead of Tab and Enter
        for (const char* p : {"Cambia Colore", "Colore Default", "Aspetto Base", "Chiudi"}) {
            QTest::addRow("Enter on %s", p) << QString(p) << false;
            QTest::addRow("letter of %s", p) << QString(p) << true;
        }
    }
    void enterOnEachButton() {
        QFETCH(QString, pulsante);
        QFETCH(bool, lettera);
        auto form = NuovoDialogo();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        int basi = 0;
        form->OnAspettoBase = [&basi] { ++basi; };
        bool picker = false;
        if (pulsante == "Cambia Colore")
            AlProssimoModale<QColorDialog>([&picker](QColorDialog* d) {
                picker = true;
                d->reject();
            });
        VaiA(*form, "NR_MACCHINA", "COLORECOLONNA");
        form->DBGrid1()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form->DBGrid1(), Qt::Key_Return);  // in the table: no button
        QVERIFY(form->isVisible());
        QCOMPARE(basi, 0);
        QPushButton* scelto = nullptr;
        for (QPushButton* b : {form->SpeedButton1(), form->ButtonColoreDefault(), form->ButtonAspettoBase(), form->ButtonChiudi()})
            if (SenzaAcceleratore(b->text()) == pulsante) scelto = b;
        if (lettera) {
            QTest::keyClick(form->DBGrid1(), Qt::Key(QKeySequence::mnemonic(scelto->text())[0].key()), Qt::AltModifier);
        } else {
            for (int i = 0; i < 6 && QApplication::focusWidget() != scelto; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), scelto);
            QTest::keyClick(scelto, Qt::Key_Return);
        }
        const QModelIndex colore = form->DBGrid1()->model()->index(Riga(*form, "NR_MACCHINA"), 2);
        auto stato = [&] {
            return QStringList{picker ? "selettore" : "-", basi ? "base" : "-",
                               // once closed the dialog's rows are gone: the colour is read while it is open
                               form->isVisible() && colore.data(Qt::EditRole).isNull() ? "default" : "-",
                               form->isVisible() ? "-" : "chiuso"}
                .join(' ');
        };
        const QString atteso = pulsante == "Cambia Colore"    ? "selettore - - -"
                               : pulsante == "Aspetto Base"   ? "- base - -"
                               : pulsante == "Colore Default" ? "- - default -"
                                                              : "- - - chiuso";
        QTRY_COMPARE(stato(), atteso);  // a letter presses its button with a short animation
        QTest::qWait(200);
        QCOMPARE(stato(), atteso);
        if (pulsante == "Chiudi") QCOMPARE(Valore("COLORECOLONNA", "NR_MACCHINA"), QString("255"));
    }

    void resetStatements() {
        QCOMPARE(SQLCancellaAspetto("STOASP1", -1, 5, 534),
                 (QStringList{"DELETE FROM \"STOASP1\"", "WHERE (CodiceSituazione=-1)", "AND (CodiceUtente=5)",
                              "AND (CodiceProgetto=534)"}));
        QCOMPARE(SQLCancellaPosizioni(1, 5, 534),
                 (QStringList{"DELETE FROM STOPOS1", "WHERE", "  CODICESITUAZIONE=1", "  AND", "  CODICEUTENTE=5",
                              "  AND", "  CODICEPROGETTO=534"}));
    }
};

// The grid's side: the popup item opens the dialog over the grid's layout, "Aspetto Base" resets it.
class TestPersonalizzaGriglia : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TFbTransaction FTr{&FDb};

    struct TGriglia {
        TFbQuery Query;
        TPtqGrid Grid;
    };
    std::unique_ptr<TGriglia> NuovaGriglia() {
        auto g = std::make_unique<TGriglia>();
        g->Query.SetDatabase(&FDb);
        g->Query.SetTransaction(&FTr);
        g->Query.SQL = QStringList{"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT"};
        // the owner's before-open handler, as the grid expects it: it puts the search in force back
        g->Query.BeforeOpen = [grid = &g->Grid, q = &g->Query](TFbDataSet*) {
            if (grid->RicercaInCorso()) return;
            q->SQL = QStringList{"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT"};
            grid->SQLIniziale() = q->SQL;
            grid->RecuperaAspettodaStorico();
        };
        g->Grid.SetCodiceProgetto(Progetto);
        g->Grid.SetSituazione(Situazione);
        g->Grid.SetUtente(Utente);
        g->Grid.SetNomeTabellaQuery("ZELSCANLOGLIGHT");
        g->Grid.SetSorgenteDati(&g->Query);
        g->Grid.SQLIniziale() = g->Query.SQL;
        g->Grid.resize(600, 300);
        g->Grid.show();
        g->Query.Open();
        return g;
    }
    QString Conta(const QString& tabella, int utente = Utente) {
        return ValoreSQL(FDb, QString("SELECT COUNT(*) FROM %1 WHERE CODICEPROGETTO=534 AND CODICESITUAZIONE=1 "
                                      "AND CODICEUTENTE=%2").arg(tabella).arg(utente));
    }

private slots:
    void initTestCase() {
        Connetti(FDb, FDir.NuovoArchivioDemo());
        CheckTabPtqGrid(&FDb);
    }

    void init() {
        EseguiSQL(FDb, "DELETE FROM STOASP1");
        EseguiSQL(FDb, "DELETE FROM STOPOS1");
        EseguiSQL(FDb, "INSERT INTO STOPOS1 (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,POSX) VALUES (534,1,5,10)");
        EseguiSQL(FDb, "INSERT INTO STOPOS1 (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,POSX) VALUES (534,1,6,10)");
    }

    void itemEnabledOnlyWithOpenData() {
        auto g = NuovaGriglia();
        g->Grid.AggiornaVoci();
        QVERIFY(g->Grid.Voce("Personalizza Griglia")->isEnabled());
        g->Query.Close();
        g->Grid.AggiornaVoci();
        QVERIFY(!g->Grid.Voce("Personalizza Griglia")->isEnabled());
    }

    // The dialog edits the rows the grid saved; closing it applies them to the grid at once.
    void dialogOverTheSavedLayout() {
        auto g = NuovaGriglia();
        g->Grid.setFont(QFont(g->Grid.font().family(), 14));
        QString caption;
        int righe = 0;
        int punti = 0;
        bool aperto = false;
        AlProssimoModale<TPPtqGridForm>([&](TPPtqGridForm* d) {
            caption = d->windowTitle();
            righe = d->DBGrid1()->model()->rowCount();
            punti = d->font().pointSize();
            aperto = g->Grid.FormPersonalizzazione() == d;
            auto* modello = d->DBGrid1()->model();
            for (int r = 0; r < righe; ++r) {
                const QString campo = modello->index(r, 0).data().toString();
                if (campo == "DATOINPUT") modello->setData(modello->index(r, 1), "Serie");
                if (campo == "STATUS") modello->setData(modello->index(r, 3), "0");
            }
            QTest::mouseClick(d->ButtonChiudi(), Qt::LeftButton);
        });
        QVERIFY(g->Grid.EseguiComando("Personalizza Griglia"));
        QCOMPARE(caption, QString("Personalizzazione Griglia"));
        QCOMPARE(righe, 7);
        QCOMPARE(punti, 10);
        QVERIFY(aperto);
        QVERIFY(!g->Grid.FormPersonalizzazione());
        const int status = g->Query.FieldIndex("STATUS");
        const int datoInput = g->Query.FieldIndex("DATOINPUT");
        QVERIFY(g->Grid.isColumnHidden(status));
        QCOMPARE(g->Grid.model()->headerData(datoInput, Qt::Horizontal).toString(), QString("Serie"));
    }

    // As the grid opens it, the dialog shows every button caption whole and sizes its columns to
    // their titles and cells, widening until all of them show; the same with the largest font the
    // grid gives it (10 points), where the buttons grow past their least size.
    void captionsAndColumnsFit_data() {
        QTest::addColumn<int>("punti");
        QTest::newRow("platform font") << 0;
        QTest::newRow("10 points") << 10;
    }
    void captionsAndColumnsFit() {
        QFETCH(int, punti);
        auto g = NuovaGriglia();
        if (punti) g->Grid.setFont(QFont(g->Grid.font().family(), punti));
        QStringList tagliati{"no dialog"}, titoli, celle;
        int scorrimento = -1;
        QSize dimensione;
        QList<QSize> pulsanti;
        AlProssimoModale<TPPtqGridForm>([&](TPPtqGridForm* d) {
            tagliati = TestiTagliati(*d);
            const QTableView* vista = d->DBGrid1();
            titoli = TitoliTagliati(*vista->horizontalHeader());
            const QAbstractItemView& celleVista = *vista;  // where the cells' measure is public
            for (int c = 0; c < vista->model()->columnCount(); ++c) {
                if (!vista->isColumnHidden(c) && celleVista.sizeHintForColumn(c) > vista->columnWidth(c))
                    celle << vista->model()->headerData(c, Qt::Horizontal).toString();
            }
            scorrimento = vista->horizontalScrollBar()->maximum();
            dimensione = d->size();
            for (QPushButton* b : {d->SpeedButton1(), d->ButtonColoreDefault(), d->ButtonAspettoBase(), d->ButtonChiudi()})
                pulsanti << b->size();
            QTest::mouseClick(d->ButtonChiudi(), Qt::LeftButton);
        });
        QVERIFY(g->Grid.EseguiComando("Personalizza Griglia"));
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join('\n')));
        QVERIFY2(titoli.isEmpty(), qPrintable(titoli.join('\n')));
        QVERIFY2(celle.isEmpty(), qPrintable("cells cut in " + celle.join(", ")));
        QCOMPARE(scorrimento, 0);
        QVERIFY(dimensione.width() >= 681 && dimensione.height() >= 377);
        for (const QSize& p : pulsanti) {
            QVERIFY(p.width() >= 100 && p.height() >= 28);
            QCOMPARE(p, pulsanti.first());  // all alike
        }
    }

    // Cancel, Escape and the close box: nothing deleted, the edit in progress kept.
    void resetCancelled_data() {
        QTest::addColumn<int>("modo");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("close box") << 2;
        QTest::newRow("Tab to Cancel, Enter") << 3;
    }
    void resetCancelled() {
        QFETCH(int, modo);
        auto g = NuovaGriglia();
        QString inCorso;
        bool inModifica = false;
        AlProssimoModale<TPPtqGridForm>([&](TPPtqGridForm* d) {
            auto* modello = d->DBGrid1()->model();
            d->DBGrid1()->setCurrentIndex(modello->index(0, 1));
            modello->setData(modello->index(0, 1), "In corso");
            AlProssimoModale<TAvPtqGrForm>([modo](TAvPtqGrForm* a) {
                if (modo == 0) {
                    QTest::mouseClick(a->BitBtn2(), Qt::LeftButton);
                } else if (modo == 1) {
                    QTest::keyClick(a, Qt::Key_Escape);
                } else if (modo == 2) {
                    a->close();
                } else {
                    QTest::keyClick(a->focusWidget(), Qt::Key_Tab);
                    QTest::keyClick(a->focusWidget(), Qt::Key_Return);
                }
            });
            QTest::mouseClick(d->ButtonAspettoBase(), Qt::LeftButton);
            inCorso = d->DBGrid1()->model()->index(0, 1).data().toString();
            inModifica = d->IBQuery1.State() == TDataSetState::Edit;
            QTest::mouseClick(d->ButtonChiudi(), Qt::LeftButton);
        });
        g->Grid.EseguiComando("Personalizza Griglia");
        QCOMPARE(inCorso, QString("In corso"));
        QVERIFY(inModifica);
        QCOMPARE(Conta("STOPOS1"), QString("1"));
        QCOMPARE(Conta("STOASP1"), QString("7"));
        QCOMPARE(ValoreSQL(FDb, "SELECT COUNT(*) FROM STOASP1 WHERE NOMECOLONNA='In corso'"), QString("1"));
    }

    // OK: only the base layout just written by the grid is left, and no stored position; the rows
    // of other users, situations and projects are untouched.
    void resetConfirmed() {
        const QString altre = "INSERT INTO STOASP1 (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,NOMECAMPO,NOMECOLONNA) "
                              "VALUES (%1,%2,%3,'ID','Altra')";
        const QString altrePosizioni = "INSERT INTO STOPOS1 (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,POSX) VALUES (%1,%2,%3,10)";
        for (const auto& [p, s, u] : {std::tuple{534, 1, 6}, std::tuple{534, 2, 5}, std::tuple{534, -1, 5}, std::tuple{535, 1, 5}}) {
            EseguiSQL(FDb, altre.arg(p).arg(s).arg(u));
            if (u == 5) EseguiSQL(FDb, altrePosizioni.arg(p).arg(s).arg(u));
        }
        auto g = NuovaGriglia();
        QStringList titoli;
        AlProssimoModale<TPPtqGridForm>([&](TPPtqGridForm* d) {
            auto* modello = d->DBGrid1()->model();
            for (int r = 0; r < modello->rowCount(); ++r) modello->setData(modello->index(r, 1), "Titolo");
            d->DBGrid1()->setCurrentIndex(modello->index(1, 1));  // posts the first row
            AlProssimoModale<TAvPtqGrForm>([](TAvPtqGrForm* a) { QTest::keyClick(a, Qt::Key_Return); });
            QTest::mouseClick(d->ButtonAspettoBase(), Qt::LeftButton);
            for (int r = 0; r < modello->rowCount(); ++r) titoli << modello->index(r, 1).data().toString();
            QTest::mouseClick(d->ButtonChiudi(), Qt::LeftButton);
        });
        g->Grid.EseguiComando("Personalizza Griglia");
        QCOMPARE(titoli.size(), 7);
        QVERIFY(!titoli.contains("Titolo"));
        QVERIFY(titoli.contains("DATOINPUT"));
        QCOMPARE(Conta("STOASP1"), QString("7"));
        QCOMPARE(ValoreSQL(FDb, "SELECT COUNT(*) FROM STOASP1 WHERE NOMECOLONNA=NOMECAMPO"), QString("7"));
        QCOMPARE(Conta("STOPOS1"), QString("0"));
        QCOMPARE(Conta("STOPOS1", 6), QString("1"));
        QVERIFY(!g->Grid.RecuperoAspettoBaseInCorso);
        QCOMPARE(ValoreSQL(FDb, "SELECT COUNT(*) FROM STOASP1 WHERE NOMECOLONNA='Altra'"), QString("4"));
        QCOMPARE(ValoreSQL(FDb, "SELECT COUNT(*) FROM STOPOS1 WHERE CODICEUTENTE=5"), QString("3"));
    }

    // A search in force when the layout is reset: the grid shows every row again and knows it, so
    // a later reopening finds no condition to put back either.
    void resetDropsTheSearchInForce() {
        TRecordingBoxes boxes;
        auto g = NuovaGriglia();
        g->Grid.SetTabellaPiccola(true);
        const int tutte = ValoreSQL(FDb, "SELECT COUNT(*) FROM ZELSCANLOGLIGHT").toInt();
        g->Query.Last();
        QCOMPARE(g->Query.FetchedCount(), tutte);
        g->Grid.setCurrentIndex(g->Grid.model()->index(0, g->Query.FieldIndex("DATOINPUT")));
        AlProssimoModale<TRPtqGridForm>([](TRPtqGridForm* r) {
            r->EditTipoRicerca->SetItemIndex(2);  // begins with
            QTest::keyClicks(r->EditStringa, "A123");
            QTest::keyClick(r->EditStringa, Qt::Key_Return);
        });
        g->Grid.AttivaRicerche();
        g->Query.Last();
        const int filtrate = g->Query.FetchedCount();
        QVERIFY(filtrate > 0 && filtrate < tutte);

        AlProssimoModale<TPPtqGridForm>([](TPPtqGridForm* d) {
            AlProssimoModale<TAvPtqGrForm>([](TAvPtqGrForm* a) { QTest::mouseClick(a->BitBtn1(), Qt::LeftButton); });
            QTest::mouseClick(d->ButtonAspettoBase(), Qt::LeftButton);
            QTest::mouseClick(d->ButtonChiudi(), Qt::LeftButton);
        });
        g->Grid.EseguiComando("Personalizza Griglia");
        g->Query.Last();
        QCOMPARE(g->Query.FetchedCount(), tutte);
        g->Query.Close();
        g->Query.Open();
        g->Query.Last();
        QCOMPARE(g->Query.FetchedCount(), tutte);
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestPersonalizzazione dialogo;
    TestPersonalizzaGriglia griglia;
    return QTest::qExec(&dialogo, argc, argv) | QTest::qExec(&griglia, argc, argv);
}

#include "tst_personalizzazione.moc"
