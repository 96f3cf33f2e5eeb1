// Stand-in for the suite's report launcher, built as "Felgora.exe" beside the program.
#include "tools/felgora/Felgora.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SostituisciFontArial();
    QStringList argomenti = QApplication::arguments();
    argomenti.removeFirst();
    return EseguiFelgora(argomenti, QApplication::applicationDirPath());
}
