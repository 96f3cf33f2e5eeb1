// Qt's own texts in Italian: the standard buttons of the program's boxes read as its messages do.
#include "controls/TraduzioneQt.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestTraduzioneQt : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(CaricaTraduzioneQt(*qApp)); }

    void standardButtonsReadItalian_data() {
        QTest::addColumn<int>("pulsante");
        QTest::addColumn<QString>("testo");
        QTest::newRow("Yes") << int(QMessageBox::Yes) << "&Sì";
        QTest::newRow("No") << int(QMessageBox::No) << "&No";
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << "Annulla";
        QTest::newRow("Close") << int(QMessageBox::Close) << "Chiudi";
        QTest::newRow("OK") << int(QMessageBox::Ok) << "OK";
    }
    void standardButtonsReadItalian() {
        QFETCH(int, pulsante);
        QFETCH(QString, testo);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::StandardButton(pulsante));
        QCOMPARE(box.button(QMessageBox::StandardButton(pulsante))->text(), testo);
    }

    void textFieldMenuReadsItalian() {
        QLineEdit campo;
        std::unique_ptr<QMenu> menu(campo.createStandardContextMenu());
        QStringList voci;
        for (const QAction* a : menu->actions())
            if (!a->isSeparator()) voci << a->text().section('\t', 0, 0);
        QVERIFY2(voci.contains("&Copia"), qPrintable(voci.join('|')));
        QVERIFY2(voci.contains("&Incolla"), qPrintable(voci.join('|')));
    }
};

QTEST_MAIN(TestTraduzioneQt)
#include "tst_traduzioneqt.moc"
