// Stand-in for the suite's report launcher, built as "Felgora.exe" beside the program.
#include "controls/MessageBoxes.h"
#include "tools/felgora/Felgora.h"

#include <QApplication>

namespace {

// Without a screen (the offscreen platform of scripts and tests) nobody could close a box: the
// message is on the error output already and the launcher ends with its exit code.
class TBoxesSenzaSchermo : public IMessageBoxes {
public:
    void Errore(QWidget*, const QString&) override {}
    void Avviso(QWidget*, const QString&) override {}
    void Informazione(QWidget*, const QString&) override {}
    bool Conferma(QWidget*, const QString&) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SostituisciFontArial();
    TBoxesSenzaSchermo senzaSchermo;
    if (QGuiApplication::platformName() == "offscreen") SetMessageBoxes(&senzaSchermo);
    QStringList argomenti = QApplication::arguments();
    argomenti.removeFirst();
    const int codice = EseguiFelgora(argomenti, QApplication::applicationDirPath());
    SetMessageBoxes(nullptr);
    return codice;
}
