// ZelScanFile: the scan log of a subject as a tree, and the re-send of a logged file.
#include "app/FormMain.h"
#include "app/Programma.h"
#include "controls/SegnaliUscita.h"
#include "controls/MessageBoxes.h"
#include "controls/TraduzioneQt.h"
#include "lookup/DataModuleMedia.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QStringList argomenti = QCoreApplication::arguments().mid(1);
    // --check: start-up only, for scripts that verify an installation; no window is shown, and
    // no box waits for an answer: the messages go to stderr
    const bool soloVerifica = argomenti.removeAll("--check") > 0;
    if (soloVerifica) SetMessageBoxes(MessageBoxesSuStderr());
    // the user and archive connections are made on a worker while the translation, the images
    // and the window are made; their errors are reported after the window's creation, as ever
    auto avvio = std::make_unique<TAvvio>(argomenti, TAvvio::GetIniFileName());
    avvio->AvviaVerifica();
    CaricaTraduzioneQt(app);
    TDataModuleMedia media(&app);
    std::unique_ptr<TFormMain> form = AvviaFormMain(std::move(avvio));
    if (!form) return 1;
    if (soloVerifica) return 0;
    // after the start-up's connections, so that these handlers replace the database client's
    TSegnaliUscita segnali([&form] { form->ChiudiPerSegnale(); });
    form->show();
    return app.exec();
}
