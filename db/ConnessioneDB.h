#pragma once
// Where a database lives, the connection text the client library takes, and opening connections.
#include <QString>

class TFbDatabase;

struct TDBConnectionInfo {
    QString FileName;            // the database file as the client machine sees it; never read from an INI file
    QString NomeServer;          // "Nome Server"
    QString LetteraDiscoServer;  // "Lettera Disco Server", without the colon
    QString PercorsoDatabase;    // "PercorsoDatabase": path of the database on the server
    QString Alias;               // "Alias" known to the server
};

// Reads the four location keys of `section`; a missing file or section leaves them empty. FileName is untouched.
void LeggiDBConnectionInfo(TDBConnectionInfo& info, const QString& iniFile, const QString& section);

// The connection text; raises Exception when a server is named without its drive.
QString ComponiNomeDatabase(const TDBConnectionInfo& info);

// (Re)opens `database` on the composed connection text as SYSDBA.
void ApriConnessione(TFbDatabase& database, const TDBConnectionInfo& info);

// Opens `database` on a database file path, honouring a "dati.ini" in the same folder.
void ConnettiDatabase(TFbDatabase& database, const QString& path);

// `testo` with every single quote replaced by `sostituto` ("''" inside SQL literals, "´" in search texts).
QString SostituisciApice(const QString& testo, const QString& sostituto);

// Text rules of paths the composition uses (exposed for tests).
namespace PercorsiDB {
QString ParteDisco(const QString& path);
QString ParteCartella(const QString& path);
QString ParteNomeFile(const QString& path);
bool IsUNC(const QString& path);
QString RelativoA(const QString& path, const QString& disco);
QString ConSeparatore(const QString& text);
}  // namespace PercorsiDB
