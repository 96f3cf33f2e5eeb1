#include "tools/felgora/RigheStampa.h"

#include "db/Errore.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"

TRigheSQL::TRigheSQL(TFbDatabase* database, const QStringList& sql)
    : FTransazione(std::make_unique<TFbTransaction>(database)), FSQL(std::make_unique<TFbSQL>(database, FTransazione.get())) {
    FTransazione->Params() = QStringList{"concurrency", "read", "nowait"};
    FSQL->SetParamCheck(false);  // the text reaches the server as it stands
    FSQL->SetSQL(sql);
}

TRigheSQL::~TRigheSQL() {
    FSQL.reset();
    if (FTransazione->Active()) {
        try {
            FTransazione->Rollback();
        } catch (const Exception&) {
        }
    }
}

void TRigheSQL::Apri() {
    if (!FTransazione->Active()) FTransazione->Start();
    FSQL->Prepare();
    if (!FSQL->IsSelect()) throw Exception("L'istruzione SQL della stampa non è una SELECT");
    FCampi.clear();
    for (const TFbFieldDef& campo : FSQL->FieldDefs()) FCampi << campo.Name;
    FSQL->ExecQuery();
    FPrimaRiga = true;
}

bool TRigheSQL::Prossima() {
    if (FPrimaRiga) {
        FPrimaRiga = false;
        return !FSQL->Eof();
    }
    return FSQL->Next();
}

QString TRigheSQL::Valore(int campo) const { return FSQL->Field(campo).AsString(); }
