#include "controls/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& voci, int colonne, QWidget* owner)
    : QGroupBox(caption, owner), FGruppo(new QButtonGroup(this)) {
    auto* griglia = new QGridLayout(this);
    for (int i = 0; i < voci.size(); ++i) {
        auto* voce = new QRadioButton(voci[i], this);
        FGruppo->addButton(voce, i);
        griglia->addWidget(voce, i / colonne, i % colonne);
    }
}

int TRadioGroup::ItemIndex() const { return FGruppo->checkedId(); }

void TRadioGroup::SetItemIndex(int indice) {
    if (QAbstractButton* voce = FGruppo->button(indice)) {
        voce->setChecked(true);
        return;
    }
    // Only without exclusivity can the checked button be cleared.
    FGruppo->setExclusive(false);
    for (QAbstractButton* voce : FGruppo->buttons()) voce->setChecked(false);
    FGruppo->setExclusive(true);
}

QRadioButton* TRadioGroup::Voce(int indice) const { return qobject_cast<QRadioButton*>(FGruppo->button(indice)); }

int TRadioGroup::Count() const { return int(FGruppo->buttons().size()); }
