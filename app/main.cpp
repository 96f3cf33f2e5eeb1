// ZelScanFile: the scan log of a subject as a tree, and the re-send of a logged file.
#include "app/FormMain.h"
#include "app/Programma.h"
#include "lookup/DataModuleMedia.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QStringList argomenti = QCoreApplication::arguments().mid(1);
    // --check: start-up only, for scripts that verify an installation; no window is shown
    const bool soloVerifica = argomenti.removeAll("--check") > 0;
    TDataModuleMedia media(&app);
    std::unique_ptr<TFormMain> form = AvviaFormMain(argomenti, TAvvio::GetIniFileName());
    if (!form) return 1;
    if (soloVerifica) return 0;
    form->show();
    return app.exec();
}
