// Stand-in for the suite's query utility: shows the rows of one table of a database.
// With "--check" before the command, or with ZEL_TONDRIK_LOG=<file> in the environment, it only
// writes the arguments it understood (to standard output, or to that file) and ends with code 0.
// A bad command line ends with code 2 after its message on the error output and, without
// "--check", in an error box.
#include "controls/MessageBoxes.h"
#include "controls/TraduzioneQt.h"
#include "db/Errore.h"
#include "db/FbDataSetModel.h"
#include "db/FbDatabase.h"
#include "db/FbTable.h"
#include "db/FbTransaction.h"
#include "grid/LarghezzeBase.h"
#include "tools/tondrik/ArgomentiTondrik.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
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

int Mostra(int argc, char** argv, const TArgomentiTondrik& argomenti) {
    QApplication app(argc, argv);
    CaricaTraduzioneQt(app);
    TFbDatabase database;
    database.SetDatabaseName(argomenti.DatabaseName);
    database.Params() = QStringList{"user_name=SYSDBA", "password=quillbent"};
    database.SetLoginPrompt(false);
    TFbTransaction transazione(&database);
    TFbTable tabella;
    tabella.SetDatabase(&database);
    tabella.SetTransaction(&transazione);
    tabella.TableName = argomenti.Tabella;
    try {
        database.Open();
        transazione.Start();
        tabella.Open();
    } catch (const Exception& e) {
        fprintf(stderr, "Tondrik: %s\n", qPrintable(e.Message()));
        MessageBoxes().Errore(nullptr, e.Message());
        return 1;
    }
    TFbDataSetModel modello;
    modello.SetDataSet(&tabella);
    QTableView vista;
    vista.setModel(&modello);
    vista.setEditTriggers(QAbstractItemView::NoEditTriggers);
    vista.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // the columns start as wide as the grid's: their titles and their fields' values whole
    for (int c = 0; c < modello.columnCount(); ++c) vista.setColumnWidth(c, LarghezzaBase(vista, c, tabella.FieldDefs()[c]));
    vista.setWindowTitle("Tondrik - " + argomenti.Tabella);
    vista.resize(900, 500);
    vista.show();
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
        // started by a program, nobody reads the error output: the user sees a box too (the
        // check option runs unattended and only writes)
        if (!controllo) {
            QApplication app(argc, argv);
            CaricaTraduzioneQt(app);
            MessageBoxes().Errore(nullptr, "Tondrik: " + errore + "\r\n\r\n" + uso);
        }
        return 2;
    }
    const QString fileLog = qEnvironmentVariable("ZEL_TONDRIK_LOG");
    if (controllo || !fileLog.isEmpty()) return Controlla(letti, fileLog);
    return Mostra(argc, argv, letti);
}
