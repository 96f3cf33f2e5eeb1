#pragma once
// The print options dialog: heading lines and page options for a print job, with the buttons
// that run its preview and, from the dialog's own popup, the report designer.
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class TPtqGridStampa;
class TRadioGroup;

class TStPtqGridForm : public QDialog {
    Q_OBJECT
public:
    // The job stays the caller's; the caption is "Stampa " + its table.
    TStPtqGridForm(QWidget* owner, TPtqGridStampa* ptqGridStampa);

    TPtqGridStampa* PtqGridStampa() const { return FPtqGridStampa; }

    // Copies the controls into the job.
    void LeggiOpzioni();

    // The handlers of the dialog's actions; a failed run is reported in an error box and the
    // dialog stays open.
    void ButtonAnteprimaClick();
    void Aprieditazionereportassistenzatecnica1Click();
    void ButtonChiudiClick();

    QGroupBox* GroupIntestazione;
    QLabel* Label1;
    QLineEdit* EditIntestazione1;
    QLabel* Label2;
    QLineEdit* EditIntestazione2;
    TRadioGroup* RadioAllineaIntestazione;
    QGroupBox* GroupOpzioni;
    TRadioGroup* RadioOrientamentoPagina;
    QCheckBox* CheckNumeraPagine;
    QCheckBox* CheckTroncaTesti;
    QCheckBox* CheckForzaUltimaColonna;
    QLabel* Label3;
    TRadioGroup* RadioDimensioneFont;
    QPushButton* ButtonAnteprima;
    QPushButton* ButtonChiudi;
    QMenu* PopupMenu1;
    QAction* Aprieditazionereportassistenzatecnica1;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Runs one step of the job, showing its error.
    void Esegui(void (TPtqGridStampa::*passo)());
    TPtqGridStampa* FPtqGridStampa;
};
