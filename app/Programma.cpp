#include "app/Programma.h"

#include "app/FormMain.h"
#include "controls/MessageBoxes.h"
#include "db/Errore.h"

bool EseguiControlliAvvio(const std::function<void()>& controlli) {
    QString messaggio;
    try {
        controlli();
        return true;
    } catch (const Exception& e) {
        messaggio = e.Message();
    } catch (const std::exception& e) {
        messaggio = QString::fromLocal8Bit(e.what());
    } catch (...) {
        messaggio = QStringLiteral("Errore sconosciuto");
    }
    MessageBoxes().Errore(nullptr, "Esecuzione non consentita:\r\n" + messaggio);
    return false;
}

std::unique_ptr<TFormMain> AvviaFormMain(const QStringList& argomenti, const QString& fileIni) {
    return AvviaFormMain(std::make_unique<TAvvio>(argomenti, fileIni));
}

std::unique_ptr<TFormMain> AvviaFormMain(std::unique_ptr<TAvvio> avvio) {
    std::unique_ptr<TFormMain> form;
    const bool avviato = EseguiControlliAvvio([&] {
        form = std::make_unique<TFormMain>(std::move(avvio));
        form->CheckInit();
    });
    if (!avviato) return nullptr;
    return form;
}
