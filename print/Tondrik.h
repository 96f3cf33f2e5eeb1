#pragma once
// The suite's query utility Tondrik.exe and the commands it understands.
#include <QCoreApplication>
#include <QObject>
#include <QString>

class TTondrikComando {
public:
    virtual ~TTondrikComando() = default;
    virtual QString GetNomeComando() const = 0;
    virtual QString GetParametri() const = 0;
    QString CmdLine() const { return GetNomeComando() + " " + GetParametri(); }
};

// Shows one table of a database. The table name and the user are passed unquoted; the database,
// bin folder and project name are quoted together with their keys.
class TTondrikComando_VisualizzaConQuery : public TTondrikComando {
public:
    QString GetNomeComando() const override { return QStringLiteral("VisualizzaConQuery"); }
    QString GetParametri() const override;

    QString Tabella() const { return FTabella; }
    void SetTabella(const QString& value) { FTabella = value; }
    QString DatabaseName() const { return FDatabaseName; }
    void SetDatabaseName(const QString& value) { FDatabaseName = value; }
    QString BinDir() const { return FBinDir; }
    void SetBinDir(const QString& value) { FBinDir = value; }
    QString NomeProgetto() const { return FNomeProgetto; }
    void SetNomeProgetto(const QString& value) { FNomeProgetto = value; }
    qint32 Utente() const { return FUtente; }
    void SetUtente(qint32 value) { FUtente = value; }

private:
    QString FTabella;
    QString FDatabaseName;
    QString FBinDir;
    QString FNomeProgetto;
    qint32 FUtente = 0;
};

class TTondrikFacade : public QObject {
    Q_OBJECT
public:
    // The utility is "Tondrik.exe" in `cartellaProgramma` (this program's folder unless a test
    // says otherwise), or in its subfolder "Combit" when that folder exists.
    explicit TTondrikFacade(QObject* owner = nullptr,
                            const QString& cartellaProgramma = QCoreApplication::applicationDirPath());

    QString ExeUtility() const { return FExeUtility; }
    TTondrikComando* Comando() const { return FComando; }
    void SetComando(TTondrikComando* comando) { FComando = comando; }  // not owned

    // Raises "Utility "<path>" non trovata" when the utility's file does not exist.
    void Check() const;
    // The utility's path (unquoted), a blank and the command's CmdLine.
    QString RigaComando() const;
    // Starts the utility minimised and waits for it to end; false when it could not start.
    bool Esegui();

private:
    QString FExeUtility;
    TTondrikComando* FComando = nullptr;
};
