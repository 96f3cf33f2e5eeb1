#include "print/Tondrik.h"

#include "db/Errore.h"
#include "print/ProcessoEsterno.h"

#include <QDir>
#include <QFileInfo>

QString TTondrikComando_VisualizzaConQuery::GetParametri() const {
    return "Tabella=" + FTabella + " \"DatabaseName=" + FDatabaseName + "\" \"BinDir=" + FBinDir +
           "\" \"NomeProgetto=" + FNomeProgetto + "\" Utente=" + QString::number(FUtente);
}

TTondrikFacade::TTondrikFacade(QObject* owner, const QString& cartellaProgramma) : QObject(owner) {
    QString cartella = QDir::toNativeSeparators(cartellaProgramma);
    if (!cartella.endsWith(QDir::separator())) cartella += QDir::separator();
    if (QFileInfo(cartella + "Combit").isDir()) cartella += "Combit" + QString(QDir::separator());
    FExeUtility = cartella + "Tondrik.exe";
}

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
