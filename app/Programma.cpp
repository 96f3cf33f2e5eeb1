#include "app/Programma.h"

#include "app/FormMain.h"
#include "controls/MessageBoxes.h"
#include "db/Errore.h"

std::unique_ptr<TFormMain> AvviaFormMain(const QStringList& argomenti, const QString& fileIni) {
    auto form = std::make_unique<TFormMain>(argomenti, fileIni);
    try {
        form->CheckInit();
    } catch (const Exception& e) {
        MessageBoxes().Errore(nullptr, "Esecuzione non consentita:\r\n" + e.Message());
        return nullptr;
    }
    return form;
}
