#include "print/Tondrik.h"

#include "db/Errore.h"
#include "print/ProcessoEsterno.h"

#include <QFileInfo>

QString TTondrikComando_VisualizzaConQuery::GetParametri() const {
    return "Tabella=" + FTabella + " \"DatabaseName=" + FDatabaseName + "\" \"BinDir=" + FBinDir +
           "\" \"NomeProgetto=" + FNomeProgetto + "\" Utente=" + QString::number(FUtente);
}

TTondrikFacade::TTondrikFacade(QObject* owner, const QString& cartellaProgramma)
    : QObject(owner), FExeUtility(CartellaProgrammiSuite(cartellaProgramma) + "Tondrik.exe") {}

void TTondrikFacade::Check() const {
    if (!QFileInfo(FExeUtility).isFile()) throw Exception("Utility \"" + FExeUtility + "\" non trovata");
}

QString TTondrikFacade::RigaComando() const {
    return FExeUtility + " " + (FComando ? FComando->CmdLine() : QString());
}

bool TTondrikFacade::Esegui() {
    if (!FComando) return false;
    return EseguiEAttendi(RigaComando(), TFinestraAvvio::Minimizzata, FExeUtility);
}
