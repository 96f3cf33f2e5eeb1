#include "app/Invio.h"

#include "app/Parametri.h"
#include "db/Errore.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"

TRecordLog LeggiRecordLog(TFbDatabase& archivio, int id) {
    TFbTransaction tr(&archivio);
    TFbSQL sql(&archivio, &tr);
    sql.SetSQL({"SELECT * FROM ZELSCANLOGLIGHT WHERE ID=:ID"});
    sql.SetParam("ID", id);
    TRecordLog rec;
    try {
        tr.Start();
        sql.ExecQuery();
        if (!sql.Eof()) {
            rec.Trovato = true;
            rec.DatoInput = sql.FieldByName("DATOINPUT").AsString();
            rec.NrMacchina = sql.FieldByName("NR_MACCHINA").AsInteger();
        }
        sql.Close();
        tr.Rollback();
    } catch (const EDatabaseError&) {
        archivio.DropIfLost();  // a server that went away: the next check connects again
        throw;
    }
    return rec;
}

QString GetZelScanSrvURL(const TParametri* ini) {
    if (!ini) return {};
    if (ini->Contiene("ZELSCANSRVURL")) return ini->Valore("ZELSCANSRVURL");
    const QString host = ini->Valore("NOME SERVER");
    if (host.isEmpty()) return {};
    bool ok = false;
    int porta = ini->Valore("PORTA").toInt(&ok);
    if (!ok) porta = 8080;
    return QString("http://%1:%2").arg(host, QString::number(porta));  // one pass: a "%2" in the host stays
}
