#pragma once
// The print job of the grid: writes the report definition for the user's visible columns and the
// launcher's command file, starts the report launcher, waits for it and removes both files.
#include "db/FbDatabase.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class TPtqGridStampa : public QObject {
    Q_OBJECT
public:
    // `cartellaProgramma` is this program's folder unless a test says otherwise: the report
    // definition's folder when there is no bin folder, and where the launcher is looked for.
    explicit TPtqGridStampa(QObject* owner = nullptr,
                            const QString& cartellaProgramma = QCoreApplication::applicationDirPath());
    // Deletes the report definition when one is still there.
    ~TPtqGridStampa() override;

    // File name of the report definition, "StPtqGrid_" + creation time stamp + ".LST".
    const QString pNomeReport;
    qint32 Progetto = 0;
    qint32 Situazione = 0;
    qint32 Utente = 0;
    QString Tabella;
    QString SQLRif;  // the grid query's SQL, each line followed by CR LF
    QString BinDir;
    QPointer<TFbDatabase> DatabaseRif;  // where STOASP1 is read; not owned
    QString Intestazione_Riga1;
    QString Intestazione_Riga2;
    quint8 Intestazione_Allineamento = 0;  // 0 left, 1 centred
    QString OrientamentoPagina = QStringLiteral("VERTICALE");  // or "ORIZZONTALE"
    qint32 DimensioneFontDati = 10;
    bool FlagNumeraPagine = false;
    bool FlagTroncaTesti = false;
    bool FlagForzaUltimaColonna = false;

    void Anteprima();   // the print preview
    void EditaReport();  // the report designer

    // Full path of the report definition: below BinDir's "report" folder, or beside the program.
    QString PercorsoReport() const;
    // The layout statement: visible STOASP1 columns of the job's project, situation and user.
    QStringList SQLLayout() const;
    void CancellaReport() const;
    // Writes the report definition at PercorsoReport, reading the layout in a transaction of its own.
    void GeneraReport();
    // Definition, command file, launcher run, then both files removed. Mode 0 preview, 1 edit.
    void LanciaReport(int modo);

private:
    QString FCartellaProgramma;
};
