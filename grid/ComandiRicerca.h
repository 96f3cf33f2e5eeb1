#pragma once
// The grid's search commands: "Ricerca su campo Corrente" (F5) with its dialog, the search run
// as the user types, the all-fields search, the record filter of table sources and
// "Annulla ricerca" (F6). Works on the grid's search state; the statements come from RicercaGriglia.
#include "db/FbField.h"
#include "grid/RicercaGriglia.h"

#include <QObject>

class TFbDataSet;
class TPtqGrid;
class TRPtqGridForm;
struct TLuogoPosizione;

class TComandiRicerca : public QObject {
    Q_OBJECT
public:
    explicit TComandiRicerca(TPtqGrid& griglia);

    void AttivaRicerche();
    void AnnullaRicerca();
    // Applies the dialog's current contents to the source.
    void EseguiRicerca();
    // The all-fields search ("Esegui").
    void RicercaGenerica();
    // The record filter installed on a table source.
    bool FiltraRecord(const TFbDataSet& dataSet, const TFbRow& riga);

protected:
    // The dialog key handler: Enter searches and closes, an apostrophe is typed as "´"; Escape,
    // from any control of the dialog, closes it and drops the condition.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TRPtqGridForm* Dialogo() const;
    TLuogoPosizione Luogo() const;
    void Inizio();
    void Fine();
    void AdattaAlCampo(TRPtqGridForm& dialogo);
    void CollegaStringa(TRPtqGridForm& dialogo);
    void ScollegaStringa(TRPtqGridForm& dialogo);
    void CambiaGenerica(bool generica);
    void AvviaRicerca();  // the search trigger: after a second of quiet, or at once
    void CambioOpzione();  // a search option changed: searches again when there is a text
    void Protetto(void (TComandiRicerca::*azione)());  // runs an action of the open dialog, errors in a box
    // Escape: the dialog closes and the query goes back to its base text.
    void Annulla(TRPtqGridForm& dialogo);
    void FiltraTabella();
    void RiapriBase();

    TPtqGrid& G;
    TClasseCampo FClasse = TClasseCampo::Testo;
    bool FConOra = false;
    QMetaObject::Connection FCambioStringa;
};
