#include "app/Programma.h"

#include "app/FormMain.h"
#include "app/PreparazioneMotore.h"
#include "controls/MessageBoxes.h"
#include "db/Errore.h"

std::unique_ptr<TFormMain> AvviaFormMain(const QStringList& argomenti, const QString& fileIni) {
    QFuture<void> motore = PreparaMotoreDatabase(fileIni);
    auto form = std::make_unique<TFormMain>(argomenti, fileIni);
    motore.waitForFinished();
    try {
        form->CheckInit();
    } catch (const Exception& e) {
        MessageBoxes().Errore(nullptr, "Esecuzione non consentita:\r\n" + e.Message());
        return nullptr;
    }
    return form;
}
