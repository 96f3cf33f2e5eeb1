#include "app/Programma.h"

#include "app/FormMain.h"
#include "app/PreparazioneMotore.h"
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
    return AvviaFormMain(argomenti, fileIni, PreparaMotoreDatabase(fileIni));
}

std::unique_ptr<TFormMain> AvviaFormMain(const QStringList& argomenti, const QString& fileIni, QFuture<void> motore) {
    std::unique_ptr<TFormMain> form;
    const bool avviato = EseguiControlliAvvio([&] {
        form = std::make_unique<TFormMain>(argomenti, fileIni);
        motore.waitForFinished();
        form->CheckInit();
    });
    motore.waitForFinished();
    if (!avviato) return nullptr;
    return form;
}
