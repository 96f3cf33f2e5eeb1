#include "grid/PtqGrid.h"

#include "controls/Acceleratori.h"
#include "controls/CursoreOccupato.h"
#include "controls/MessageBoxes.h"
#include "db/Errore.h"
#include "db/FbDataSetModel.h"
#include "grid/ComandiRicerca.h"
#include "grid/CostruttoriSQL.h"
#include "grid/ModelloGriglia.h"
#include "grid/PreferenzeGriglia.h"
#include "grid/RigheGriglia.h"
#include "grid/StampaGriglia.h"
#include "grid/TabelleGriglia.h"

#include <QContextMenuEvent>
#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QShortcut>
#include <QTimer>

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
    FRighe = new TRigheGriglia(*this);
    // a source opened again starts from widths its titles and values need; a stored layout
    // applies after that (the view has reset its columns first)
    connect(FModelloGriglia, &QAbstractItemModel::modelReset, this, [this] { Colonne().ImpostaLarghezzeBase(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& corrente) {
        if (corrente.isValid()) FColonnaCorrente = corrente.column();
    });
    horizontalHeader()->setSectionsMovable(true);
    // presses and double-clicks on the titles reach the headers' viewports
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
    // shown once the view's own code has returned: a modal box must not run inside it
    connect(
        FModelloGriglia, &TModelloGriglia::ErroreCaricamento, this,
        [this](const QString& messaggio) { MostraErrore(EDatabaseError(messaggio)); }, Qt::QueuedConnection);
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

QModelIndex TPtqGrid::moveCursor(CursorAction azione, Qt::KeyboardModifiers modificatori) {
    if (azione == MoveEnd && modificatori.testFlag(Qt::ControlModifier)) {
        const TCursoreOccupato occupato;  // a large source takes a while
        FRighe->CaricaTutte();
    }
    return TTabellaDati::moveCursor(azione, modificatori);
}

void TPtqGrid::resizeEvent(QResizeEvent* event) {
    TTabellaDati::resizeEvent(event);
    FModello->BatchSize = FRighe->RigheDaChiedere();
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
        MostraErrore(e);
    }
    return true;
}

void TPtqGrid::MostraErrore(const Exception& errore, QWidget* sopra, const QString& premessa) {
    if (dynamic_cast<const EDatabaseError*>(&errore)) {
        if (FSorgenteDati && FSorgenteDati->Database()) FSorgenteDati->Database()->DropIfLost();
        if (TFbDatabase* impostazioni = DatabaseImpostazioniEffettivo()) impostazioni->DropIfLost();
    }
    MessageBoxes().Errore(sopra ? sopra : this, premessa + errore.Message());
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

int TPtqGrid::ColonnaCorrente() const { return currentIndex().isValid() ? currentIndex().column() : FColonnaCorrente; }

void TPtqGrid::SetRicercaAttiva(bool attiva) {
    if (attiva == FRicercaAttiva) return;
    FRicercaAttiva = attiva;
    emit RicercaAttivaCambiata();
}

void TPtqGrid::TornaAllaCella(int riga, int campo) {
    if (riga < 0 || campo < 0) return;
    FRighe->CaricaFino(riga);
    if (model()->rowCount() > 0) setCurrentIndex(model()->index(qMin(riga, model()->rowCount() - 1), campo));
}

bool TPtqGrid::RicercaAperta() const { return RPtqGridForm && RPtqGridForm->isVisible(); }

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
