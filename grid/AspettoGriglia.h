#pragma once
// The column layout each user leaves on a grid, one row per column in the layout table (STOASP1
// by default): the statements that read, delete and write it, the test that tells whether the
// grid's layout differs from the stored one, the save and the restore.
#include "grid/ColonneGriglia.h"
#include "grid/OrdinamentoGriglia.h"
#include "grid/TabelleGriglia.h"

#include <QVariant>

class TFbDatabase;

// One stored layout row.
struct TRigaAspetto {
    QString NomeCampo;
    QString Origine;
    int Posizione = 0;
    int Larghezza = 0;
    QString NomeColonna;
    TColore Colore = 0;
    bool Visibile = true;
    QVariant Ordinamento;  // null: not a sort column
};

// Declared lengths of the texts the save cuts, taken from the layout table's result fields.
struct TLunghezzeAspetto {
    int NomeCampo = 0;
    int Origine = 0;
    int NomeColonna = 0;
};

// The statements, line by line: the read of the save (ordered by position) and of the restore
// (in the database's order), the delete and the prepared insert of the save.
QStringList LineeLetturaAspetto(const TChiaveImpostazioni& chiave, bool perPosizione);
QStringList LineeCancellaAspetto(const TChiaveImpostazioni& chiave);
QStringList LineeInserisciAspetto(const TChiaveImpostazioni& chiave);

// Whether the grid's columns differ from the stored rows (in position order): another count;
// another name, position or width at the first column that differs; or a sort mark other than
// the one the save would write. Captions, colours and visibility take no part.
bool AspettoCambiato(const QVector<TRigaAspetto>& righe, const QVector<TColonnaAspetto>& colonne,
                     const TOrdinamentoGriglia& ordinamento);

// Reads the rows of `chiave`; `lunghezze`, when given, receives the declared text lengths.
QVector<TRigaAspetto> LeggiAspetto(TFbDatabase* database, const TChiaveImpostazioni& chiave, bool perPosizione,
                                   TLunghezzeAspetto* lunghezze = nullptr);

// Writes the layout when it differs from the stored one: deletes the key's rows and inserts one
// per column, committed together. True when it wrote. Database errors reach the caller with the
// transaction left uncommitted.
bool SalvaAspetto(TFbDatabase* database, const TChiaveImpostazioni& chiave, const QVector<TColonnaAspetto>& colonne,
                  const TOrdinamentoGriglia& ordinamento);

// The order of `campi` (the fields in their present order) that the stored rows ask for: each
// row's field at the row's position, the rows taken in position order whatever order they were
// read in. Rows whose field is gone, whose position lies beyond the last column or is taken by an
// earlier row place nothing; the fields left over fill the free places in their present order.
QStringList OrdineColonne(const QStringList& campi, QVector<TRigaAspetto> righe);

// Applies stored rows to the columns: the fields take the order above, then each row's width,
// caption, colour and visibility go to the column of its field. A row whose field is gone or
// whose position lies beyond the last column is skipped.
void ApplicaAspetto(const QVector<TRigaAspetto>& righe, TColonneGriglia& colonne);
