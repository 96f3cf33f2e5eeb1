#pragma once
// Where the grid's search dialog was left and with which options: one row of the position table
// (STOPOS1 by default) per project, situation and user, read before the dialog shows and written
// after it closes when something changed.
#include <QString>
#include <QStringList>

class TFbDatabase;
class TFbQuery;
class TFbUpdateSQL;
class TRPtqGridForm;

// The row's key and where it lives.
struct TLuogoPosizione {
    TFbDatabase* Database = nullptr;
    QString Tabella;      // the position table
    int Progetto = 0;
    int Situazione = 0;   // the working situation, negative while layout memory is disabled
    int Utente = 0;
};

// The dialog's remembered values.
struct TPosizioneRicerca {
    int PosX = 0;         // POSX: left edge on the screen
    int PosY = 0;         // POSY: top edge
    int TipoRicerca = 0;  // INFO3: search type index
    bool Upper = false;   // INFO4: 1 ticked, 0 not
    int Ordinamento = 0;  // INFO1: sort option index
    bool operator==(const TPosizioneRicerca&) const = default;
};

// The statement that reads the row.
QStringList SQLPosizioneRicerca(const TLuogoPosizione& luogo);

// The update object of the reading query: the modify statement with the row's WHERE lines, and
// the insert statement.
void PreparaAggiornamentoPosizione(TFbQuery& lettura, const TLuogoPosizione& luogo, TFbUpdateSQL& aggiornamento);

// The stored row, nulls read as 0; false when there is none.
bool LeggiPosizioneRicerca(const TLuogoPosizione& luogo, TPosizioneRicerca& posizione);
// Writes the values when there is no row or they differ from it; true when it wrote.
bool ScriviPosizioneRicerca(const TLuogoPosizione& luogo, const TPosizioneRicerca& posizione);

// The dialog at its remembered place with its remembered options; centred on the screen without a row.
void CaricaPosizioneRicerca(TRPtqGridForm& dialogo, const TLuogoPosizione& luogo);
// Stores the dialog's place and options as they are at closing.
void SalvaPosizioneRicerca(const TRPtqGridForm& dialogo, const TLuogoPosizione& luogo);
