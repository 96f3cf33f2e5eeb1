// Stand-in for the suite's report launcher, built as "Felgora.exe" beside the program.
#include "controls/MessageBoxes.h"
#include "tools/felgora/Felgora.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SostituisciFontArial();
    QStringList argomenti = QApplication::arguments();
    argomenti.removeFirst();
    // Without a screen (the offscreen platform of scripts and tests), and for a PDF written
    // unattended, nobody could close a box: the message is on the error output already and the
    // launcher ends with its exit code.
    if (QGuiApplication::platformName() == "offscreen" || argomenti.contains("--pdf")) SetMessageBoxes(MessageBoxesMute());
    const int codice = EseguiFelgora(argomenti, QApplication::applicationDirPath());
    SetMessageBoxes(nullptr);
    return codice;
}
