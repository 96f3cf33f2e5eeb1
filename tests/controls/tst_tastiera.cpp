// The keyboard helpers: captions without their accelerator markers, tables that Tab leaves and
// hints shown on keyboard focus, driven by keys on real widgets.
#include "controls/Acceleratori.h"
#include "controls/InvioSulPulsante.h"
#include "controls/SuggerimentoFuoco.h"
#include "controls/TabellaDati.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A line edit, a 3 × 3 editable table and a button, in that focus order.
struct TFinestra {
    QWidget Finestra;
    QLineEdit* Campo = new QLineEdit(&Finestra);
    TTabellaDati* Tabella = new TTabellaDati(&Finestra);
    QPushButton* Pulsante = new QPushButton("Pulsante", &Finestra);
    QStandardItemModel Modello{3, 3};

    TFinestra() {
        auto* layout = new QVBoxLayout(&Finestra);
        layout->addWidget(Campo);
        layout->addWidget(Tabella);
        layout->addWidget(Pulsante);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) Modello.setItem(r, c, new QStandardItem(QString("%1%2").arg(r).arg(c)));
        Tabella->setModel(&Modello);
        Finestra.show();
    }
};

}  // namespace

class TestTastiera : public QObject {
    Q_OBJECT
private slots:
    void senzaAcceleratore_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("testo");
        QTest::newRow("no marker") << "Chiudi" << "Chiudi";
        QTest::newRow("marker inside") << "Ch&iudi" << "Chiudi";
        QTest::newRow("marker first") << "&Ricerca su campo Corrente" << "Ricerca su campo Corrente";
        QTest::newRow("double ampersand") << "Bianchi && Figli" << "Bianchi & Figli";
        QTest::newRow("marker and double ampersand") << "&Soci && C." << "Soci & C.";
        QTest::newRow("trailing blank kept") << "Ricerca su chiave " << "Ricerca su chiave ";
        QTest::newRow("lone ampersand at the end") << "A&" << "A&";
        QTest::newRow("empty") << "" << "";
    }
    void senzaAcceleratore() {
        QFETCH(QString, caption);
        QFETCH(QString, testo);
        QCOMPARE(SenzaAcceleratore(caption), testo);
    }

    // The arrows stay in the table; Tab and Shift+Tab, with or without Ctrl, leave it.
    void tabLeavesTheTable_data() {
        QTest::addColumn<int>("tasto");
        QTest::addColumn<int>("modificatori");
        QTest::addColumn<QString>("fuoco");
        QTest::addColumn<QPoint>("cella");  // column, row of the current cell afterwards
        QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << "pulsante" << QPoint(1, 1);
        QTest::newRow("Shift+Tab") << int(Qt::Key_Tab) << int(Qt::ShiftModifier) << "campo" << QPoint(1, 1);
        QTest::newRow("Backtab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << "campo" << QPoint(1, 1);
        QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << int(Qt::ControlModifier) << "pulsante" << QPoint(1, 1);
        QTest::newRow("Ctrl+Shift+Tab") << int(Qt::Key_Tab) << int(Qt::ControlModifier | Qt::ShiftModifier) << "campo"
                                        << QPoint(1, 1);
        QTest::newRow("Ctrl+Backtab") << int(Qt::Key_Backtab) << int(Qt::ControlModifier | Qt::ShiftModifier) << "campo"
                                      << QPoint(1, 1);
        QTest::newRow("right arrow") << int(Qt::Key_Right) << int(Qt::NoModifier) << "tabella" << QPoint(2, 1);
        QTest::newRow("down arrow") << int(Qt::Key_Down) << int(Qt::NoModifier) << "tabella" << QPoint(1, 2);
        QTest::newRow("left arrow") << int(Qt::Key_Left) << int(Qt::NoModifier) << "tabella" << QPoint(0, 1);
    }
    void tabLeavesTheTable() {
        QFETCH(int, tasto);
        QFETCH(int, modificatori);
        QFETCH(QString, fuoco);
        QFETCH(QPoint, cella);
        TFinestra f;
        QVERIFY(QTest::qWaitForWindowActive(&f.Finestra));
        f.Tabella->setFocus();
        f.Tabella->setCurrentIndex(f.Modello.index(1, 1));
        QTest::keyClick(f.Tabella, Qt::Key(tasto), Qt::KeyboardModifiers(modificatori));
        const QHash<QString, QWidget*> controlli{{"campo", f.Campo}, {"tabella", f.Tabella}, {"pulsante", f.Pulsante}};
        QCOMPARE(QApplication::focusWidget(), controlli.value(fuoco));
        QCOMPARE(QPoint(f.Tabella->currentIndex().column(), f.Tabella->currentIndex().row()), cella);
        QCOMPARE(f.Modello.item(1, 1)->text(), QString("11"));  // no key started an edit
    }

    // Tab and Shift+Tab in a cell being edited keep the value typed and leave the table.
    void tabFromAnEditor_data() {
        QTest::addColumn<int>("modificatori");
        QTest::addColumn<QString>("fuoco");
        QTest::addColumn<int>("tasto");
        QTest::newRow("Tab") << int(Qt::NoModifier) << "pulsante" << int(Qt::Key_Tab);
        // Shift+Tab arrives as Backtab from the platforms' keyboards
        QTest::newRow("Shift+Tab") << int(Qt::ShiftModifier) << "campo" << int(Qt::Key_Backtab);
    }
    void tabFromAnEditor() {
        QFETCH(int, modificatori);
        QFETCH(QString, fuoco);
        QFETCH(int, tasto);
        TFinestra f;
        QVERIFY(QTest::qWaitForWindowActive(&f.Finestra));
        f.Tabella->setFocus();
        f.Tabella->setCurrentIndex(f.Modello.index(1, 1));
        QTest::keyClick(f.Tabella, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit*>(editor) && editor != f.Campo);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, "nuovo");
        QTest::keyClick(editor, Qt::Key(tasto), Qt::KeyboardModifiers(modificatori));
        QCOMPARE(QApplication::focusWidget(), fuoco == "campo" ? static_cast<QWidget*>(f.Campo) : f.Pulsante);
        QCOMPARE(f.Modello.item(1, 1)->text(), QString("nuovo"));
        QCOMPARE(f.Tabella->currentIndex(), f.Modello.index(1, 1));
        QTRY_VERIFY(!f.Tabella->findChild<QLineEdit*>());  // no other cell was opened
    }

    // Enter presses the button that has the focus and no other; in the table, or in a cell being
    // edited, it presses none.
    void enterOnTheFocusedButton_data() {
        QTest::addColumn<QString>("dove");
        QTest::addColumn<int>("tasto");
        QTest::addColumn<QString>("premuti");
        QTest::newRow("Enter on the first") << "primo" << int(Qt::Key_Return) << "primo";
        QTest::newRow("Enter on the second") << "secondo" << int(Qt::Key_Return) << "secondo";
        QTest::newRow("keypad Enter on the second") << "secondo" << int(Qt::Key_Enter) << "secondo";
        QTest::newRow("Enter in the table") << "tabella" << int(Qt::Key_Return) << "";
        QTest::newRow("Enter in a cell being edited") << "cella" << int(Qt::Key_Return) << "";
    }
    void enterOnTheFocusedButton() {
        QFETCH(QString, dove);
        QFETCH(int, tasto);
        QFETCH(QString, premuti);
        QDialog dialogo;
        auto* tabella = new TTabellaDati(&dialogo);
        QStandardItemModel modello(2, 2);
        tabella->setModel(&modello);
        auto* pannello = new QWidget(&dialogo);  // buttons inside a panel, as the dialogs have them
        auto* primo = new QPushButton("Primo", pannello);
        auto* secondo = new QPushButton("Secondo", pannello);
        auto* pulsanti = new QHBoxLayout(pannello);
        QStringList visti;
        for (QPushButton* b : {primo, secondo}) {
            pulsanti->addWidget(b);
            InvioSulPulsante(b);
            connect(b, &QPushButton::clicked, [&visti, b] { visti << b->text().toLower(); });
        }
        auto* layout = new QVBoxLayout(&dialogo);
        layout->addWidget(tabella);
        layout->addWidget(pannello);
        dialogo.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialogo));
        tabella->setFocus(Qt::TabFocusReason);
        tabella->setCurrentIndex(modello.index(0, 0));
        if (dove == "cella") {
            QTest::keyClick(tabella, Qt::Key_F2);
            QTest::keyClicks(QApplication::focusWidget(), "x");
        } else if (dove != "tabella") {
            QTest::keyClick(tabella, Qt::Key_Tab);
            if (dove == "secondo") QTest::keyClick(primo, Qt::Key_Tab);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(tasto),
                        tasto == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QTest::qWait(20);
        QCOMPARE(visti.join(','), premuti);
        QVERIFY(dialogo.isVisible());
        QVERIFY(!primo->isDefault() && !secondo->isDefault());
    }

    // The hint shows when Tab, Shift+Tab or a shortcut brings the focus, not on a click.
    void hintOnKeyboardFocus() {
        QWidget finestra;
        auto* prima = new QToolButton(&finestra);
        auto* pulsante = new QToolButton(&finestra);
        auto* dopo = new QToolButton(&finestra);
        prima->setToolTip("Prima");
        pulsante->setToolTip("Up File (Ctrl+I)");
        dopo->setToolTip("Dopo");
        auto* layout = new QHBoxLayout(&finestra);
        for (QToolButton* b : {prima, pulsante, dopo}) {
            layout->addWidget(b);
            MostraSuggerimentoAlFuoco(b);
        }
        finestra.show();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        prima->setFocus();
        QVERIFY(!QToolTip::isVisible());
        QTest::keyClick(prima, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), pulsante);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString("Up File (Ctrl+I)"));
        QTest::keyClick(pulsante, Qt::Key_Tab);
        QTRY_COMPARE(QToolTip::text(), QString("Dopo"));
        QTest::keyClick(dopo, Qt::Key_Tab, Qt::ShiftModifier);
        QTRY_COMPARE(QToolTip::text(), QString("Up File (Ctrl+I)"));
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        prima->setFocusPolicy(Qt::StrongFocus);
        QTest::mouseClick(prima, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), prima);
        QTest::qWait(50);
        QVERIFY(!QToolTip::isVisible());
    }
};

QTEST_MAIN(TestTastiera)
#include "tst_tastiera.moc"
