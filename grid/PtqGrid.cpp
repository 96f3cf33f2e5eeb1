#include "grid/PtqGrid.h"

#include "controls/Acceleratori.h"
#include "controls/MessageBoxes.h"
#include "db/Errore.h"
#include "db/FbDataSetModel.h"
#include "db/FbTransaction.h"
#include "grid/ComandiRicerca.h"
#include "grid/AspettoGriglia.h"
#include "grid/CostruttoriSQL.h"
#include "grid/PPtqGrid.h"
#include "grid/ModelloGriglia.h"
#include "grid/PreferenzeGriglia.h"
#include "grid/StampaGriglia.h"
#include "grid/TabelleGriglia.h"
#include "print/Tondrik.h"

#include <QContextMenuEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QTimer>
#include <memory>

namespace {

// The grid's popup items in menu order, each caption with its underlined letter. `Disponibile` is
// off for the commands whose dialogs are not part of the grid yet: their items stay disabled
// whatever the rules say.
struct TVoceGriglia {
    const char* Testo;
    QKeySequence Tasto;
    void (TPtqGrid::*Comando)();
    bool Disponibile;
    QString Caption() const { return SenzaAcceleratore(QString::fromUtf8(Testo)); }
};

const TVoceGriglia VociGriglia[] = {
    {"&Ricerca su campo Corrente", QKeySequence(Qt::Key_F5), &TPtqGrid::AttivaRicerche, true},
    {"&Annulla ricerca", QKeySequence(Qt::Key_F6), &TPtqGrid::AnnullaRicerca, true},
    {"Ricerca su chiave ", QKeySequence(Qt::Key_F7), nullptr, true},
    {"&Query", QKeySequence(Qt::Key_F8), &TPtqGrid::LanciaQuery, true},
    {"&Dimezza larghezza colonna", QKeySequence(Qt::Key_F9), &TPtqGrid::DimezzaColonna, true},
    {"&Personalizza Griglia", QKeySequence(), &TPtqGrid::PersonalizzaGriglia, true},
    {"&Stampa", QKeySequence(), &TPtqGrid::StampaGriglia, true},
};
constexpr int VoceRicercaSuChiave = 2;
constexpr int VoceQuery = 3;
constexpr int VoceStampa = 6;

const TVoceGriglia* DescrizioneVoce(const QString& caption) {
    for (const TVoceGriglia& voce : VociGriglia) {
        if (caption == voce.Caption()) return &voce;
    }
    return nullptr;
}

}  // namespace

TPtqGrid::TPtqGrid(QWidget* owner, QMenu* menuProprietario) : TTabellaDati(owner) {
    FTimer = new QTimer(this);
    FTimer->setInterval(1000);
    FModello = new TFbDataSetModel(this);
    FModelloGriglia = new TModelloGriglia(FModello, this);
    setModel(FModelloGriglia);
    horizontalHeader()->setSectionsMovable(true);
    // presses and double-clicks on the titles reach the headers' viewports
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
    // shown once the view's own code has returned: a modal box must not run inside it
    connect(
        FModelloGriglia, &TModelloGriglia::ErroreCaricamento, this,
        [this](const QString& messaggio) {
            // a server that went away is dropped, so the next opening connects again
            if (FSorgenteDati && FSorgenteDati->Database()) FSorgenteDati->Database()->DropIfLost();
            MessageBoxes().Errore(this, messaggio);
        },
        Qt::QueuedConnection);
    FRicerca = new TComandiRicerca(*this);
    Loaded(menuProprietario);
}

TPtqGrid::~TPtqGrid() {
    // The source outlives the grid: it must not call into a grid that is gone.
    Sgancia();
}

void TPtqGrid::SetScorciatoieAttive(bool attive) {
    for (QShortcut* s : FScorciatoie) s->setEnabled(attive);
}

void TPtqGrid::Loaded(QMenu* menuProprietario) {
    if (menuProprietario) {
        FMenuInUso = menuProprietario;
        auto* separatore = new QAction(this);
        separatore->setSeparator(true);
        FMenuInUso->addAction(separatore);
    } else {
        FMenuPopup = new QMenu(this);
        FMenuInUso = FMenuPopup;
    }
    connect(FMenuInUso, &QMenu::aboutToShow, this, [this] {
        if (FVecchioOnPopUpMenu) FVecchioOnPopUpMenu();
        AggiornaVoci();
    });
    for (const TVoceGriglia& voce : VociGriglia) {
        auto* azione = new QAction(QString::fromUtf8(voce.Testo), this);
        azione->setShortcut(voce.Tasto);
        azione->setShortcutContext(Qt::WidgetShortcut);
        azione->setEnabled(voce.Disponibile);
        const QString caption = voce.Caption();
        connect(azione, &QAction::triggered, this, [this, caption] { EseguiComando(caption); });
        if (!voce.Tasto.isEmpty()) {
            auto* scorciatoia = new QShortcut(voce.Tasto, this, nullptr, nullptr, Qt::WidgetShortcut);
            connect(scorciatoia, &QShortcut::activated, this, [this, caption] { EseguiComando(caption); });
            FScorciatoie << scorciatoia;
        }
        FMenuInUso->addAction(azione);
        FVoci << azione;
    }
    FVoci[VoceRicercaSuChiave]->setVisible(false);
    FVoci[VoceRicercaSuChiave]->setEnabled(false);
    VoceMenuStampa = FVoci[VoceStampa];
    // the Menu key arrives as a context-menu event; Shift+F10, the other key users expect, opens
    // the same popup
    auto* menuDaTastiera = new QShortcut(TastoMenu(), this, nullptr, nullptr, Qt::WidgetShortcut);
    connect(menuDaTastiera, &QShortcut::activated, this, [this] { MostraMenu(PuntoCellaCorrente()); });

    FOrdinamento.Inizializza();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

QMenu* TPtqGrid::MenuPopup() const { return FMenuInUso; }

QAction* TPtqGrid::Voce(const QString& caption) const {
    for (QAction* azione : FVoci) {
        if (SenzaAcceleratore(azione->text()) == caption) return azione;
    }
    return nullptr;
}

void TPtqGrid::MostraMenu(const QPoint& globale) { FMenuInUso->popup(globale); }

QPoint TPtqGrid::PuntoCellaCorrente() {
    const QModelIndex corrente = currentIndex();
    if (!corrente.isValid()) return viewport()->mapToGlobal(QPoint(0, 0));
    scrollTo(corrente);
    // the menu opens below the cell's left half, over the row under it
    const QRect cella = visualRect(corrente).intersected(viewport()->rect());
    return viewport()->mapToGlobal(QPoint(cella.left() + cella.width() / 4, cella.bottom()));
}

void TPtqGrid::contextMenuEvent(QContextMenuEvent* event) {
    // from the keyboard the platform names a point of its own: the popup opens at the current cell
    MostraMenu(event->reason() == QContextMenuEvent::Keyboard ? PuntoCellaCorrente() : event->globalPos());
    event->accept();
}

void TPtqGrid::SetAbilitaRicercheF5(bool value) {
    FAbilitaRicercheF5 = value;
    FVoci[0]->setEnabled(value && VociGriglia[0].Disponibile);
}

void TPtqGrid::AggiornaVoci() {
    const bool aperto = FSorgenteDati && FSorgenteDati->Active();
    for (int i = VoceRicercaSuChiave; i < FVoci.size(); ++i) FVoci[i]->setEnabled(aperto && VociGriglia[i].Disponibile);

    const bool senzaNome = FNomeTabellaQuery.isEmpty();
    if ((FTipoTabella == 2 && senzaNome) || (FTipoTabella == 0 && senzaNome && NomeTabellaDaSQL(FSQLIniziale).isEmpty()))
        FVoci[VoceQuery]->setEnabled(false);

    VoceMenuStampa->setVisible(FTipoTabella == 0);
    if (FTipoTabella == 0 && senzaNome) VoceMenuStampa->setEnabled(false);
}

bool TPtqGrid::EseguiComando(const QString& caption) {
    QAction* azione = Voce(caption);
    const TVoceGriglia* voce = DescrizioneVoce(caption);
    if (!azione || !voce) return false;
    AggiornaVoci();
    if (!azione->isEnabled() || !voce->Comando) return false;
    try {
        (this->*voce->Comando)();
    } catch (const Exception& e) {
        MessageBoxes().Errore(this, e.Message());
    }
    return true;
}

// --- Binding ------------------------------------------------------------------------------------

void TPtqGrid::Sgancia() {
    TFbDataSet* agganciato = FQuery ? static_cast<TFbDataSet*>(FQuery) : static_cast<TFbDataSet*>(FTable);
    if (!agganciato) return;
    agganciato->AfterOpen = FVecchioAfterOpen;
    agganciato->BeforeOpen = FVecchioBeforeOpen;
}

void TPtqGrid::SetSorgenteDati(TFbDataSet* sorgente) {
    if (sorgente) FSorgenteDati = sorgente;
    Sgancia();
    FQuery = nullptr;
    FTable = nullptr;
    if (auto* query = qobject_cast<TFbQuery*>(FSorgenteDati)) {
        FQuery = query;
        FTipoTabella = 0;
    } else if (auto* table = qobject_cast<TFbTable*>(FSorgenteDati)) {
        FTable = table;
        FTipoTabella = 1;
    }

    FVecchioAfterOpen = nullptr;
    FVecchioBeforeOpen = nullptr;
    TFbDataSet* daAgganciare = FTipoTabella == 0 ? static_cast<TFbDataSet*>(FQuery)
                               : FTipoTabella == 1 ? static_cast<TFbDataSet*>(FTable)
                                                   : nullptr;
    if (daAgganciare) {
        FVecchioAfterOpen = daAgganciare->AfterOpen;
        daAgganciare->AfterOpen = [this](TFbDataSet* d) { DopoApertura(d); };
        FVecchioBeforeOpen = daAgganciare->BeforeOpen;
        daAgganciare->BeforeOpen = [this](TFbDataSet* d) { PreparaOrdinamento(d); };
    }
    FModello->SetDataSet(FSorgenteDati);

    if (FTabellaAspettoGriglia.isEmpty()) FTabellaAspettoGriglia = "STOASP1";
    if (FTabellaPosizioneFinestre.isEmpty()) FTabellaPosizioneFinestre = "STOPOS1";
    if (FTabellaAspettoGriglie.isEmpty()) FTabellaAspettoGriglie = "SETGRID";

    if (TFbDatabase* database = DatabaseImpostazioniEffettivo()) {
        TPreferenzeGriglia preferenze;
        LeggiPreferenzeGriglia(database, FTabellaAspettoGriglie, FUtente, FCodiceProgetto, preferenze,
                               DisabilitaMemPosGriglie);
        FColoreRecordSelezionato = preferenze.ColoreRecordSelezionato;
        FColoreCampoIndicizzato = preferenze.ColoreCampoIndicizzato;
        FColoreCampoOrdinamento = preferenze.ColoreCampoOrdinamento;
        FAbilitaTimer = preferenze.AbilitaTimer;
        FAbilitaRicF5Sempre = preferenze.AbilitaRicF5Sempre;
    }
}

TFbDatabase* TPtqGrid::DatabaseImpostazioniEffettivo() const {
    if (FDatabaseImpostazioni) return FDatabaseImpostazioni;
    if (FTipoTabella == 0) return FQuery ? FQuery->Database() : nullptr;
    if (FTipoTabella == 1) return FTable ? FTable->Database() : nullptr;
    return nullptr;
}

void TPtqGrid::CheckTabPtqGrid() { ::CheckTabPtqGrid(DatabaseImpostazioniEffettivo()); }

TChiaveImpostazioni TPtqGrid::ChiaveAspetto() const {
    return {FTabellaAspettoGriglia, FCodiceProgetto, FSituazione, FUtente};
}

TColonneGriglia TPtqGrid::Colonne() const { return {*const_cast<TPtqGrid*>(this), *FModelloGriglia}; }

bool TPtqGrid::RicercaAperta() const { return RPtqGridForm && RPtqGridForm->isVisible(); }

// --- Layout memory ------------------------------------------------------------------------------

void TPtqGrid::SalvaAspettoSuStorico() {
    if (!FSorgenteDati || !FSorgenteDati->Active()) return;
    TFbDatabase* database = DatabaseImpostazioniEffettivo();
    if (!database) return;
    SalvaAspetto(database, ChiaveAspetto(), Colonne().Colonne(), FOrdinamento);
}

void TPtqGrid::RecuperaAspettodaStorico() {
    if (!FSorgenteDati) return;
    if (!FSorgenteDati->Active()) {
        if (FTipoTabella == 0 && FQuery) FQuery->SQL << FSQLFiltro;
        return;
    }
    if (FTipoTabella == 1 && FTable && !FOrdinamento.FCampoDiOrdinamento.isEmpty() && !RicercaAperta())
        FTable->IndexFieldNames = FOrdinamento.FCampoDiOrdinamento;
    if (TFbDatabase* database = DatabaseImpostazioniEffettivo()) {
        TColonneGriglia colonne = Colonne();
        ApplicaAspetto(LeggiAspetto(database, ChiaveAspetto(), false), colonne);
    }
    ColoraTitoliOrdinamento();
    if (FTipoTabella == 1 && FTable) {
        AggiornaCampiIndicizzati();
        Colonne().ColoraTitoli(ColoriIndicizzati(Colonne().NomiCampi(), FListaCampiIndicizzati, FColoreCampoIndicizzato));
        ColoraTitoliOrdinamento();
    }
}

void TPtqGrid::AggiornaCampiIndicizzati() {
    QStringList campi;
    for (const TFbIndexDef& indice : FTable->IndexDefs()) campi << indice.Fields.join(";");
    FListaCampiIndicizzati = campi.join(";");
}

void TPtqGrid::DopoApertura(TFbDataSet* dataSet) {
    if (FVecchioAfterOpen) FVecchioAfterOpen(dataSet);
    const bool sorgente = (FTipoTabella == 0 && FQuery) || (FTipoTabella == 1 && FTable);
    if (sorgente) {
        RecuperaAspettodaStorico();
        if (!FCampoSelezionato.isEmpty()) SelezionaColonna(Colonne().PosizioneDi(FCampoSelezionato));
    }
    if (FTipoTabella == 1 && FTable) AggiornaCampiIndicizzati();
    if (sorgente) {
        Colonne().ColoraTitoli(ColoriIndicizzati(Colonne().NomiCampi(), FListaCampiIndicizzati, FColoreCampoIndicizzato));
        ColoraTitoliOrdinamento();
    }
    if (DisabilitaMemPosGriglie && FSituazione > 0) {
        // the layout of the positive situation becomes the starting point of this session's rows
        FSituazione = -FSituazione;
        SalvaAspettoSuStorico();
    }
}

// --- Sorting ------------------------------------------------------------------------------------

void TPtqGrid::PreparaOrdinamento(TFbDataSet* dataSet) {
    if (FVecchioBeforeOpen) FVecchioBeforeOpen(dataSet);
    if (TFbDatabase* database = DatabaseImpostazioniEffettivo())
        CaricaOrdinamento(database, ChiaveAspetto(), FCampiPersonalizzati, FCampiPersonalizzatiDecodifica, FOrdinamento);
    // during a search the search writes its own ORDER BY
    if (FTipoTabella == 0 && FQuery && FOrderBy && !RicercaAperta())
        FQuery->SQL << LineeOrdinamentoQuery(FQuery->Database(), FSQLIniziale, FOrdinamento, FCampiPersonalizzati,
                                             ChiavePrimariaOrdDefault, FNomeTabellaQuery);
}

void TPtqGrid::ColoraTitoliOrdinamento() {
    TColonneGriglia colonne = Colonne();
    colonne.ColoraTitoli(FOrdinamento.ColoriTitoli(colonne.Conta(), FColoreCampoOrdinamento));
}

void TPtqGrid::ColoraTitoli() {
    TColonneGriglia colonne = Colonne();
    colonne.AzzeraColoriTitoli();
    if (FTipoTabella == 0 || FTipoTabella == 1)
        colonne.ColoraTitoli(ColoriIndicizzati(colonne.NomiCampi(), FListaCampiIndicizzati, FColoreCampoIndicizzato));
    ColoraTitoliOrdinamento();
}

void TPtqGrid::SelezionaColonna(int posizione) {
    const int campo = Colonne().Campo(posizione);
    if (campo < 0 || model()->rowCount() == 0) return;
    setCurrentIndex(model()->index(qMax(currentIndex().row(), 0), campo));
}

void TPtqGrid::MouseDown(const QPoint& punto) {
    FPosizioneXMouse = punto.x();
    FPosizioneYMouse = punto.y();
}

int TPtqGrid::TitoloSotto(const QPoint& punto) const {
    const QHeaderView* titoli = horizontalHeader();
    if (punto.y() < titoli->y() || punto.y() >= titoli->y() + titoli->height()) return -1;
    if (punto.x() < titoli->x()) return -2;
    const int campo = titoli->logicalIndexAt(punto.x() - titoli->x());
    return campo < 0 ? -2 : titoli->visualIndex(campo);
}

bool TPtqGrid::DblClick() {
    if (!FAbilitaOrdinamento) return false;
    // the Ctrl key as it is now, not as the mouse event saw it
    FOrdinamento.CambiaModalita(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier));
    const int colonna = TitoloSotto(QPoint(FPosizioneXMouse, FPosizioneYMouse));
    if (colonna == -1) return false;
    if (colonna >= 0) {
        try {
            OrdinaPerColonna(colonna);
        } catch (const Exception& e) {
            MessageBoxes().Errore(this, e.Message());
        }
    }
    return true;
}

void TPtqGrid::OrdinaPerColonna(int colonna) {
    TColonneGriglia colonne = Colonne();
    const QString campo = colonne.NomeCampo(colonna);
    const QString origine = colonne.Origine(colonna);
    const QString espressione =
        EspressioneCampo(campo, MaiuscoloAZ(origine), FCampiPersonalizzati, FCampiPersonalizzatiDecodifica);
    const QString nome = FOrdinamento.DoppioClicTitolo(colonna, campo, espressione, origine);
    if (!FTabellaPiccola && !FAbilitaRicF5Sempre && FTipoTabella != 2 && !CampoIndicizzato(nome, FListaCampiIndicizzati)) {
        MessageBoxes().Avviso(this, "Attenzione: Non è possibile eseguire la ricerca su un campo non indicizzato di "
                                    "una tabella di grandi dimensioni");
        return;
    }
    SalvaAspettoSuStorico();
    if (FTipoTabella == 0 && FQuery) {
        // the grid reopens its source itself: the owner's handlers leave the text alone
        const bool ricerca = FRicercaInCorso;
        FRicercaInCorso = true;
        try {
            FQuery->Close();
            FQuery->SQL = FSQLIniziale;
            FQuery->SQL << FSQLFiltro;
            FQuery->Open();
        } catch (...) {
            FRicercaInCorso = ricerca;
            throw;
        }
        FRicercaInCorso = ricerca;
        SelezionaColonna(colonna);
    } else if (FTipoTabella == 1 && FTable) {
        // the table takes a new row order when it opens; its after-open handler restores the layout
        FTable->Close();
        FTable->IndexFieldNames = FOrdinamento.IndexFieldNames();
        FTable->Open();
    }
    ColoraTitoli();
}

void TPtqGrid::mousePressEvent(QMouseEvent* event) {
    MouseDown(viewport()->mapTo(this, event->position().toPoint()));
    TTabellaDati::mousePressEvent(event);
}

void TPtqGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!DblClick()) TTabellaDati::mouseDoubleClickEvent(event);
}

bool TPtqGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport() || watched == verticalHeader()->viewport()) {
        auto* area = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseButtonPress)
            MouseDown(area->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint()));
        else if (event->type() == QEvent::MouseButtonDblClick && DblClick())
            return true;
    }
    return TTabellaDati::eventFilter(watched, event);
}

// --- Search -------------------------------------------------------------------------------------

void TPtqGrid::AttivaRicerche() { FRicerca->AttivaRicerche(); }

void TPtqGrid::AnnullaRicerca() { FRicerca->AnnullaRicerca(); }

// --- Commands -----------------------------------------------------------------------------------

void TPtqGrid::DimezzaColonna() {
    const int colonna = currentIndex().column();
    if (colonna < 0) return;
    setColumnWidth(colonna, columnWidth(colonna) / 2);
}

void TPtqGrid::StampaGriglia() { ::StampaGriglia(*this); }

void TPtqGrid::LanciaQuery() {
    switch (FTipoTabella) {
    case 0: {
        if (!FQuery) return;
        TFbTable tabella;
        tabella.SetDatabase(FQuery->Database());
        tabella.SetTransaction(FQuery->Transaction());
        tabella.TableName = FNomeTabellaQuery.isEmpty() ? NomeTabellaDaSQL(FSQLIniziale) : FNomeTabellaQuery;
        tabella.Open();
        AvviaUtility(tabella.TableName, tabella.Database(), FUtente);
        tabella.Close();
        break;
    }
    case 1:
        if (FTable) AvviaUtility(FTable->TableName, FTable->Database(), 0);
        break;
    case 2:
        if (!FTabellaAppoggio || !FSorgenteDati) return;
        CopiaInTabellaAppoggio();
        AvviaUtility(FTabellaAppoggio->TableName, FTabellaAppoggio->Database(), 0);
        break;
    default:
        break;
    }
}

namespace {

// A source value as text, as the user reads it; a date or number column of the support table
// takes the value itself, which is what its text would read back as.
QVariant ValoreComeTesto(const TFbField& campo, const TFbFieldDef& destinazione) {
    if (campo.IsNull()) return {};
    switch (destinazione.Type) {
    case TFbFieldType::FixedChar:
    case TFbFieldType::String:
    case TFbFieldType::Memo: return campo.AsString();
    default: return campo.AsVariant();
    }
}

}  // namespace

void TPtqGrid::CopiaInTabellaAppoggio() {
    TFbTable& appoggio = *FTabellaAppoggio;
    TFbDataSet& sorgente = *FSorgenteDati;
    if (!appoggio.Transaction()) throw EDatabaseError("Tabella di appoggio " + appoggio.TableName + " senza transazione");
    appoggio.Close();
    if (!appoggio.Transaction()->Active()) appoggio.Transaction()->Start();
    appoggio.EmptyTable();
    appoggio.Open();
    const int posizione = sorgente.RecNo();
    const int campi = qMin(sorgente.FieldCount(), appoggio.FieldCount());
    for (sorgente.First(); !sorgente.Eof(); sorgente.Next()) {
        appoggio.Append();
        for (int i = 0; i < campi; ++i) appoggio.SetFieldValue(i, ValoreComeTesto(sorgente.Field(i), appoggio.FieldDefs()[i]));
        appoggio.Post();
    }
    if (posizione >= 0) sorgente.MoveTo(posizione);
    appoggio.Transaction()->CommitRetaining();
}

void TPtqGrid::AvviaUtility(const QString& tabella, TFbDatabase* database, int utente) {
    TTondrikComando_VisualizzaConQuery comando;
    comando.SetTabella(tabella);
    comando.SetDatabaseName(database ? database->DatabaseName() : QString());
    comando.SetBinDir(FDirectoryBin);
    comando.SetNomeProgetto(FNomeProgetto);
    comando.SetUtente(utente);
    std::unique_ptr<TTondrikFacade> facade(new TTondrikFacade(this));
    facade->SetComando(&comando);
    try {
        facade->Check();
        if (!facade->Esegui()) throw Exception("Esecuzione non riuscita");
    } catch (const Exception& e) {
        MessageBoxes().Avviso(this, e.Message());
    }
}
