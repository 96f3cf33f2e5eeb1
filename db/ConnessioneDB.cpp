#include "db/ConnessioneDB.h"

#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "db/IniFile.h"

#include <QFileInfo>

namespace PercorsiDB {

QString ParteDisco(const QString& path) {
    if (path.size() >= 2 && path[1] == ':') return path.left(2);
    if (path.startsWith("\\\\")) {
        const int afterServer = path.indexOf('\\', 2);
        if (afterServer < 0) return path;
        const int afterShare = path.indexOf('\\', afterServer + 1);
        return afterShare < 0 ? path : path.left(afterShare);
    }
    return {};
}

namespace {
int FineCartella(const QString& path) {
    int end = qMax(path.lastIndexOf('\\'), path.lastIndexOf(':'));
#ifndef Q_OS_WIN
    end = qMax(end, path.lastIndexOf('/'));  // Unix paths name their folders with "/"
#endif
    return end;
}
}  // namespace

QString ParteCartella(const QString& path) { return path.left(FineCartella(path) + 1); }

QString ParteNomeFile(const QString& path) { return path.mid(FineCartella(path) + 1); }

bool IsUNC(const QString& path) {
    static const QString invalid = QStringLiteral("<>:\"/\\|?*");
    return path.size() > 2 && path.startsWith("\\\\") && !invalid.contains(path[2]) && path[2].unicode() >= 32;
}

QString RelativoA(const QString& path, const QString& disco) {
    const QString own = ParteDisco(path);
    if (own.isEmpty() || own.compare(disco, Qt::CaseInsensitive) != 0) return path;
    QString rest = path.mid(own.size());
    if (rest.startsWith('\\')) rest.remove(0, 1);
    return rest;
}

QString ConSeparatore(const QString& text) { return text.endsWith('\\') ? text : text + '\\'; }

}  // namespace PercorsiDB

using namespace PercorsiDB;

void LeggiDBConnectionInfo(TDBConnectionInfo& info, const QString& iniFile, const QString& section) {
    const TIniFile ini(iniFile);
    info.NomeServer = ini.ReadString(section, "Nome Server");
    info.PercorsoDatabase = ini.ReadString(section, "PercorsoDatabase");
    info.LetteraDiscoServer = ini.ReadString(section, "Lettera Disco Server");
    info.Alias = ini.ReadString(section, "Alias");
}

QString ComponiNomeDatabase(const TDBConnectionInfo& info) {
    if (!info.NomeServer.isEmpty() && !info.Alias.isEmpty()) return info.NomeServer + ':' + info.Alias;

    if (!info.NomeServer.isEmpty()) {
        QString disco;
        if (!info.LetteraDiscoServer.isEmpty()) disco = info.LetteraDiscoServer + ':';
        else if (!info.PercorsoDatabase.isEmpty()) disco = ParteDisco(info.PercorsoDatabase);
        else
            throw Exception("Riferimenti file .ini incompleti (specificare \"Lettera Disco Server\" o \"PercorsoDatabase\")");
        const QString prefisso = "\\\\" + info.NomeServer + '\\' + ConSeparatore(disco);
        // PercorsoDatabase names the database file on the server, here as without a server name
        if (!info.PercorsoDatabase.isEmpty()) return prefisso + RelativoA(info.PercorsoDatabase, disco);
        QString cartella = ParteCartella(info.FileName);
        cartella = IsUNC(info.FileName) ? RelativoA(cartella, ParteDisco(cartella)) : RelativoA(cartella, disco);
        return prefisso + ConSeparatore(cartella) + ParteNomeFile(info.FileName);
    }

    const QString percorso = info.PercorsoDatabase.isEmpty() ? info.FileName : info.PercorsoDatabase;
    if (!IsUNC(percorso)) return percorso;
    const QString discoUNC = ParteDisco(percorso);
    const int dopoServer = percorso.indexOf('\\', 2);
    const QString server = percorso.mid(2, dopoServer - 2);
    QString condivisione = discoUNC.mid(dopoServer + 1);
    if (!condivisione.contains(':')) {
        if (condivisione.endsWith('\\')) condivisione.chop(1);
        condivisione += ':';
    }
    const QString cartella = RelativoA(ParteCartella(percorso), discoUNC);
    return "\\\\" + server + '\\' + ConSeparatore(condivisione) + ConSeparatore(cartella) + ParteNomeFile(percorso);
}

void ApriConnessione(TFbDatabase& database, const TDBConnectionInfo& info) {
    try {
        database.Close();
    } catch (const EDatabaseError&) {
        // a lost connection cannot end cleanly; Close has dropped it, and the new one is what counts
    }
    database.SetLoginPrompt(false);
    database.Params().clear();
    database.Params() << "user_name=SYSDBA" << "password=quillbent";
    const QString nome = ComponiNomeDatabase(info);
    database.SetDatabaseName(nome);
    database.Open();
}

void ConnettiDatabase(TFbDatabase& database, const QString& path) {
    TDBConnectionInfo info;
    info.FileName = path;
    const QString datiIni = ParteCartella(path) + "dati.ini";
    if (QFileInfo::exists(datiIni)) LeggiDBConnectionInfo(info, datiIni, "CONFIG");
    ApriConnessione(database, info);
}

QString SostituisciApice(const QString& testo, const QString& sostituto) {
    QString out = testo;
    return out.replace('\'', sostituto);
}
