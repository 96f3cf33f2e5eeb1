#pragma once
// The grid's personalisation dialog: the user edits the caption, the colour and the visibility of
// the grid's columns in the rows of its layout table, for one project, situation and user.
#include "db/FbDataSet.h"
#include "db/FbTransaction.h"

#include <QDialog>
#include <functional>

class QColorDialog;
class QPushButton;
class QTableView;
class TDelegatoAspetto;
class TModelloAspetto;

class TPPtqGridForm : public QDialog {
    Q_OBJECT
public:
    // Loads the rows at once; database errors propagate.
    TPPtqGridForm(QWidget* owner, const QString& tabellaAspettoGriglia, int progetto, int utente, int situazione,
                  TFbDatabase* database);
    ~TPPtqGridForm() override;

    const int Situazione;
    const int Utente;
    const int Progetto;
    const QString TabellaAspettoGriglia;

    // (Re)loads the rows and rebuilds the modify statement.
    void CaricaGriglia();

    // The click of "Aspetto Base": set by the grid to its reset.
    std::function<void()> OnAspettoBase;

    TFbQuery IBQuery1;
    TFbUpdateSQL IBUpdateSQL1;
    TFbTransaction IBTransaction1;
    QTableView* DBGrid1() const { return FDBGrid1; }
    QColorDialog* ColorDialog1() const { return FColorDialog1; }
    QPushButton* SpeedButton1() const { return FSpeedButton1; }
    QPushButton* ButtonColoreDefault() const { return FButtonColoreDefault; }
    QPushButton* ButtonAspettoBase() const { return FButtonAspettoBase; }
    QPushButton* ButtonChiudi() const { return FButtonChiudi; }

    // The buttons' handlers; the wiring only calls these.
    void CambiaColore();
    void ColoreDefault();
    void Chiudi();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void CreaControlli();
    void ImpostaColore(const QVariant& colore);
    void LasciaRiga();
    // Each column as wide as its title and cells need, the dialog wide enough to show them all.
    void AdattaColonne();
    TModelloAspetto* FModello = nullptr;
    TDelegatoAspetto* FDelegato = nullptr;
    QTableView* FDBGrid1 = nullptr;
    QColorDialog* FColorDialog1 = nullptr;
    QPushButton* FSpeedButton1 = nullptr;
    QPushButton* FButtonColoreDefault = nullptr;
    QPushButton* FButtonAspettoBase = nullptr;
    QPushButton* FButtonChiudi = nullptr;
    bool FCentrata = false;
};

// The statement that reads the dialog's rows, and the WHERE lines of the modify statement that
// writes a row back by its position.
QStringList SQLRigheAspetto(const QString& tabella, int situazione, int utente, int progetto);
QStringList WhereModificaAspetto(int situazione, int utente, int progetto);
