#include "grid/ComandiRicerca.h"

#include "controls/EditData.h"
#include "controls/MessageBoxes.h"
#include "controls/RadioGroup.h"
#include "db/Errore.h"
#include "grid/PosizioneRicerca.h"
#include "grid/PtqGrid.h"
#include "grid/RPtqGrid.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <exception>
#include <memory>

namespace {

const QString Apostrofo = QStringLiteral("'");

QStringList Origini(const TFbFieldDefs& defs) {
    QStringList origini;
    for (const TFbFieldDef& def : defs) origini << def.Origin;
    return origini;
}

}  // namespace

TComandiRicerca::TComandiRicerca(TPtqGrid& griglia) : QObject(&griglia), G(griglia) {
    connect(G.FTimer, &QTimer::timeout, this, [this] { Protetto(&TComandiRicerca::EseguiRicerca); });
}

TRPtqGridForm* TComandiRicerca::Dialogo() const { return static_cast<TRPtqGridForm*>(G.RPtqGridForm.data()); }

TLuogoPosizione TComandiRicerca::Luogo() const {
    return {G.DatabaseImpostazioniEffettivo(), G.FTabellaPosizioneFinestre, G.FCodiceProgetto, G.FSituazione, G.FUtente};
}

void TComandiRicerca::Inizio() {
    if (G.FOnInizioRicerca) G.FOnInizioRicerca(&G);
    G.FRicercaInCorso = true;
}

void TComandiRicerca::Fine() {
    if (G.FOnFineRicerca) G.FOnFineRicerca(&G);
    G.FRicercaInCorso = false;
}

// --- F5 -----------------------------------------------------------------------------------------

void TComandiRicerca::AttivaRicerche() {
    TFbDataSet* sorgente = G.FSorgenteDati;
    if (!sorgente || sorgente->FieldCount() == 0) return;
    const int colonna = qBound(0, G.ColonnaCorrente(), sorgente->FieldCount() - 1);
    const TFbFieldDef campo = sorgente->FieldDefs()[colonna];
    const bool query = G.FTipoTabella == 0 && G.FQuery;

    Inizio();
    if (query && !G.FTabellaPiccola && !G.FAbilitaRicF5Sempre && !CampoIndicizzato(campo.Name, G.FListaCampiIndicizzati)) {
        MessageBoxes().Avviso(&G, QString::fromUtf8("Attenzione: Non è possibile eseguire la ricerca su un campo "
                                                          "non indicizzato di una tabella di grandi dimensioni"));
        Fine();
        return;
    }
    std::unique_ptr<TRPtqGridForm> dialogo;
    try {
        if (query) G.SalvaAspettoSuStorico();
        G.FCampoSelezionato = campo.Name.toUpper();
        G.FOrigineCampoSelezionato =
            EspressioneCampo(G.FCampoSelezionato, campo.Origin, G.FCampiPersonalizzati, G.FCampiPersonalizzatiDecodifica);
        FClasse = query ? ClasseCampo(campo.Type) : TClasseCampo::Testo;
        FConOra = campo.Type == TFbFieldType::TimeStamp;

        dialogo = std::make_unique<TRPtqGridForm>(&G);
        G.RPtqGridForm = dialogo.get();
        if (query) dialogo->EditGenerica->setEnabled(true);
        CaricaPosizioneRicerca(*dialogo, Luogo());
        if (query) AdattaAlCampo(*dialogo);
        dialogo->setFont(G.font());
        dialogo->setWindowTitle("Ricerca su " + G.model()->headerData(colonna, Qt::Horizontal).toString());

        // Escape from any control of the dialog, also in Generica mode, reaches the dialog itself
        dialogo->installEventFilter(this);
        CollegaStringa(*dialogo);
        // an option changed, by the mouse or the keyboard, searches again with the text in force
        connect(dialogo->EditTipoRicerca, &TRadioGroup::ItemIndexChanged, this, &TComandiRicerca::CambioOpzione);
        connect(dialogo->EditUpper, &QCheckBox::toggled, this, &TComandiRicerca::CambioOpzione);
        connect(dialogo->EditOrdinamento, &TRadioGroup::ItemIndexChanged, this, &TComandiRicerca::CambioOpzione);
        connect(dialogo->ButtonAggRete, &QToolButton::clicked, this, &TComandiRicerca::AvviaRicerca);
        connect(dialogo->ButtonEsegui, &QToolButton::clicked, this, [this] { Protetto(&TComandiRicerca::RicercaGenerica); });
        connect(dialogo->EditGenerica, &QCheckBox::clicked, this, &TComandiRicerca::CambiaGenerica);
        connect(dialogo.get(), &QDialog::finished, this, [this] { G.FRicercaInCorso = false; });
    } catch (...) {
        Fine();
        throw;
    }

    dialogo->exec();

    // A pending tick must not run without the dialog.
    G.FTimer->stop();
    std::exception_ptr errore;
    try {
        SalvaPosizioneRicerca(*dialogo, Luogo());
    } catch (...) {
        errore = std::current_exception();
    }
    G.FStringaRicerca = dialogo->EditStringa->text();
    G.FUpperRicerca = dialogo->EditUpper->isChecked();
    G.FTipoRicerca = dialogo->EditTipoRicerca->ItemIndex();
    dialogo.reset();
    Fine();
    if (query) {
        G.FCampoSelezionato.clear();
        G.RecuperaAspettodaStorico();
    }
    if (errore) std::rethrow_exception(errore);
}

void TComandiRicerca::AdattaAlCampo(TRPtqGridForm& d) {
    switch (FClasse) {
    case TClasseCampo::Numerico: {
        const int indice = d.EditTipoRicerca->ItemIndex();
        d.EditTipoRicerca->SetColumns(2);
        d.EditTipoRicerca->SetItems({">=", "LIKE %%"});
        d.EditTipoRicerca->SetItemIndex(indice == 2 ? 0 : indice);
        break;
    }
    case TClasseCampo::Data:
        d.EditData1->setGeometry(d.EditStringa->x(), d.EditStringa->y(), d.EditStringa->width(), d.EditData1->height());
        d.EditStringa->hide();  // the first date takes its place
        d.EditData1->show();
        d.EditData2->show();
        d.Label1->setText("Inserisci una data compresa tra:");
        d.Label2->show();
        d.EditData1->setFocus();
        d.EditData1->installEventFilter(this);
        d.EditData2->installEventFilter(this);
        d.EditTipoRicerca->hide();
        break;
    case TClasseCampo::Blob:
        d.EditUpper->setEnabled(false);
        break;
    case TClasseCampo::Testo:
        break;
    }
}

void TComandiRicerca::CollegaStringa(TRPtqGridForm& d) {
    FCambioStringa = connect(d.EditStringa, &QLineEdit::textChanged, this, &TComandiRicerca::AvviaRicerca);
    d.EditStringa->installEventFilter(this);
}

void TComandiRicerca::ScollegaStringa(TRPtqGridForm& d) {
    disconnect(FCambioStringa);
    d.EditStringa->removeEventFilter(this);
}

void TComandiRicerca::CambiaGenerica(bool generica) {
    TRPtqGridForm* d = Dialogo();
    if (!d) return;
    G.FTimer->stop();  // a column search still pending must not run on the text typed for all fields
    const bool data = FClasse == TClasseCampo::Data;
    if (generica) {
        d->EditStringa->show();
        d->EditData1->hide();
        ScollegaStringa(*d);
        G.FTitoloFinestraRicerca = d->windowTitle();
        d->setWindowTitle("Ricerca su TUTTI i campi");
    } else {
        // typing searches the column again, and a date column gets its date field back
        d->setWindowTitle(G.FTitoloFinestraRicerca);
        CollegaStringa(*d);
        if (data) {
            d->EditStringa->hide();
            d->EditData1->show();
        }
    }
    d->EditTipoRicerca->setEnabled(!generica);
    d->EditUpper->setEnabled(!generica && FClasse != TClasseCampo::Blob);
    d->ButtonAggRete->setEnabled(!generica);
    d->EditOrdinamento->setEnabled(!generica);
    d->ButtonEsegui->setEnabled(generica);
}

void TComandiRicerca::CambioOpzione() {
    TRPtqGridForm* d = Dialogo();
    if (!d || d->EditGenerica->isChecked()) return;
    const bool testo = FClasse == TClasseCampo::Data ? !d->EditData1->text().isEmpty() : !d->EditStringa->text().isEmpty();
    if (testo) AvviaRicerca();
}

void TComandiRicerca::AvviaRicerca() {
    if (G.FAbilitaTimer) {
        G.FTimer->stop();
        G.FTimer->start();
    } else {
        Protetto(&TComandiRicerca::EseguiRicerca);
    }
}

void TComandiRicerca::Protetto(void (TComandiRicerca::*azione)()) {
    try {
        (this->*azione)();
    } catch (const Exception& e) {
        G.MostraErrore(e, Dialogo());
    }
}

void TComandiRicerca::Annulla(TRPtqGridForm& d) {
    G.FTimer->stop();
    try {
        if (G.FTipoTabella == 0 && G.FQuery) RiapriBase();
    } catch (const Exception& e) {
        G.MostraErrore(e, &d);
    }
    d.reject();
}

bool TComandiRicerca::eventFilter(QObject* watched, QEvent* event) {
    // only key presses count: the other events also reach here while the dialog is being destroyed
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    TRPtqGridForm* d = Dialogo();
    if (!d) return QObject::eventFilter(watched, event);
    auto* tasto = static_cast<QKeyEvent*>(event);
    if (tasto->key() == Qt::Key_Escape) {
        Annulla(*d);
        return true;
    }
    const bool invio = tasto->key() == Qt::Key_Return || tasto->key() == Qt::Key_Enter;
    if (watched == d) {
        // in Generica mode Enter, from whichever control, runs "Esegui"
        if (!invio || !d->EditGenerica->isChecked()) return QObject::eventFilter(watched, event);
        Protetto(&TComandiRicerca::RicercaGenerica);
        return true;
    }
    switch (tasto->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        try {
            EseguiRicerca();
        } catch (const Exception& e) {
            G.MostraErrore(e, d);
            return true;
        }
        d->accept();
        Fine();
        return true;
    default:
        if (tasto->text() == Apostrofo) {
            if (auto* campo = qobject_cast<QLineEdit*>(watched)) campo->insert(ApostrofoRicerca);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
}

// --- The search ---------------------------------------------------------------------------------

void TComandiRicerca::EseguiRicerca() {
    G.FTimer->stop();
    TRPtqGridForm* d = Dialogo();
    if (!d) return;
    if (G.FTipoTabella == 1 && G.FTable) {
        FiltraTabella();
        G.RecuperaAspettodaStorico();
        return;
    }
    TFbQuery* query = G.FQuery;
    if (G.FTipoTabella != 0 || !query) return;
    if (FClasse == TClasseCampo::Data && !DataRicercaCompleta(d->EditData1->text())) return;

    G.FWhere = ConnettoreRicerca(G.FSQLIniziale);
    TRicerca r;
    r.Espressione = G.FOrigineCampoSelezionato;
    r.Classe = FClasse;
    r.ConOra = FConOra;
    r.Testo = d->EditStringa->text();
    r.Upper = d->EditUpper->isChecked();
    if (FClasse == TClasseCampo::Data) {
        const QSignalBlocker senzaRicerca(d->EditTipoRicerca);  // the date search sets its own type
        d->EditTipoRicerca->SetItemIndex(0);
    }
    r.Tipo = d->EditTipoRicerca->ItemIndex();
    r.Ordinamento = d->EditOrdinamento->ItemIndex();
    r.Data1 = d->EditData1->text();
    r.Data2 = d->EditData2->text();
    // built before the query closes: a second date that is no date leaves the grid as it was
    const QString condizione = CondizioneRicerca(r, G.FWhere);
    QStringList ordinamento;
    if (!condizione.isEmpty()) {
        if (r.Ordinamento == 0) {
            ordinamento = OrdinamentoGrigliaInRicerca(G.FOrdinamento, G.FOrderBy,
                                                      OriginiSQL(query->Database(), G.FSQLIniziale));
        } else if (const QString riga = OrdinamentoRicerca(r); !riga.isEmpty()) {
            ordinamento << riga;
        }
    }

    // a condition is kept only once its query has opened: one the database refuses brings back the
    // rows of the last good one, and the next openings keep using that
    const QStringList precedente = query->SQL;
    const bool aperta = query->Active();
    const bool attiva = G.RicercaAttiva();
    query->Close();
    query->SQL = G.FSQLIniziale;
    if (!condizione.isEmpty()) query->SQL << condizione << ordinamento;
    G.SetRicercaAttiva(!condizione.isEmpty());
    try {
        query->Open();
    } catch (const Exception&) {
        G.SetRicercaAttiva(attiva);
        query->SQL = precedente;
        try {
            if (aperta) query->Open();
        } catch (const Exception&) {
            // the first error is the one to tell
        }
        throw;
    }
    if (!condizione.isEmpty()) G.FWhere = "AND";
    G.FSQLFiltro = condizione;
}

void TComandiRicerca::FiltraTabella() {
    TFbTable& tabella = *G.FTable;
    tabella.OnFilterRecord = [this](const TFbDataSet& d, const TFbRow& riga) { return FiltraRecord(d, riga); };
    tabella.Close();
    tabella.Filtered = false;
    tabella.Filtered = true;
    if (!tabella.MasterSource) tabella.IndexFieldNames = G.FCampoSelezionato;
    G.SetRicercaAttiva(true);
    tabella.Open();
    tabella.First();
}

void TComandiRicerca::RiapriBase() {
    G.SetRicercaAttiva(false);
    G.FQuery->Reopen(G.FSQLIniziale);
    G.FSQLFiltro.clear();
}

bool TComandiRicerca::FiltraRecord(const TFbDataSet& dataSet, const TFbRow& riga) {
    if (TRPtqGridForm* d = Dialogo()) {
        G.FStringaRicerca = d->EditStringa->text();
        G.FUpperRicerca = d->EditUpper->isChecked();
        G.FTipoRicerca = d->EditTipoRicerca->ItemIndex();
    }
    if (G.FCampoSelezionato.isEmpty()) return false;
    const int campo = dataSet.FieldIndex(G.FCampoSelezionato);
    const QString valore = campo >= 0 ? TestoValore(riga.value(campo)) : QString();
    return AccettaValore(valore, G.FStringaRicerca, G.FUpperRicerca, G.FTipoRicerca);
}

// --- All fields ---------------------------------------------------------------------------------

void TComandiRicerca::RicercaGenerica() {
    TRPtqGridForm* d = Dialogo();
    if (!d) return;
    Inizio();
    G.SalvaAspettoSuStorico();
    const QString testo = d->EditStringa->text().toUpper();
    if (G.FTipoTabella == 0 && G.FQuery) {
        TFbQuery& query = *G.FQuery;
        const QStringList righe = RigheRicercaGenerica(G.FSQLIniziale, Origini(query.FieldDefs()), testo);
        G.SetRicercaAttiva(!righe.isEmpty());
        query.Reopen(G.FSQLIniziale + righe);
        G.FSQLFiltro.clear();
    } else if (G.FTipoTabella == 1 && G.FTable) {
        FiltraTabella();
        MessageBoxes().Informazione(d, G.FTable->Field(0).AsString());
        G.RecuperaAspettodaStorico();
    }
}

// --- F6 -----------------------------------------------------------------------------------------

void TComandiRicerca::AnnullaRicerca() {
    // the cell the user is on stays current, so the next F5 searches the same column
    const int riga = G.currentIndex().row();
    const int campo = G.ColonnaCorrente();
    Inizio();
    try {
        G.SalvaAspettoSuStorico();
        if (G.FTipoTabella == 0 && G.FQuery) {
            RiapriBase();
        } else if (G.FTipoTabella == 1 && G.FTable) {
            G.SetRicercaAttiva(false);
            G.FTable->Close();
            G.FTable->Filtered = false;
            G.FTable->Open();
            G.RecuperaAspettodaStorico();
        }
    } catch (...) {
        Fine();
        throw;
    }
    Fine();
    G.TornaAllaCella(qMax(riga, 0), campo);
}
