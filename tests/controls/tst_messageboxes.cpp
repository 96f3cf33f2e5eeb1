// The program's message boxes as the user sees them: each kind, in Italian, shows its
// buttons and its whole text with the platform's fonts, a long message and a short one alike.
#include "controls/MessageBoxes.h"
#include "controls/TraduzioneQt.h"
#include "tests/support/TestiTagliati.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestMessageBoxes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(CaricaTraduzioneQt(*qApp)); }

    void everyTextShowsWhole_data() {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("testo");
        const QString lungo = QString::fromUtf8(
            "Esecuzione non consentita:\r\nImpossibile aprire il database /srv/archivi/ditta01/archivio_della_ditta.fdb: "
            "I/O error during \"open\" operation for file \"/srv/archivi/ditta01/archivio_della_ditta.fdb\"\r\n"
            "-Error while trying to open file\r\n-No such file or directory");
        for (const char* tipo : {"Errore", "Avviso", "Informazione", "Conferma"}) {
            QTest::newRow(QByteArray(tipo) + ", short") << tipo << "Invio effettuato";
            QTest::newRow(QByteArray(tipo) + ", long") << tipo << lungo;
        }
    }
    void everyTextShowsWhole() {
        QFETCH(QString, tipo);
        QFETCH(QString, testo);
        QStringList tagliati{"no box"};
        QString titolo;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            titolo = box->windowTitle();
            tagliati = TestiTagliati(*box);
            box->reject();
        });
        IMessageBoxes& boxes = MessageBoxes();
        if (tipo == "Errore") boxes.Errore(nullptr, testo);
        else if (tipo == "Avviso") boxes.Avviso(nullptr, testo);
        else if (tipo == "Informazione") boxes.Informazione(nullptr, testo);
        else boxes.Conferma(nullptr, testo);
        QCOMPARE(titolo, tipo == "Avviso" ? "Attenzione" : tipo);
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join('\n')));
    }
};

QTEST_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
