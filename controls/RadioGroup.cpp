#include "controls/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), FPulsanti(new QButtonGroup(this)), FGriglia(new QGridLayout(this)) {
    FGriglia->setContentsMargins(6, 0, 6, 2);
    FGriglia->setSpacing(2);
    connect(FPulsanti, &QButtonGroup::idToggled, this, [this](int id, bool scelto) {
        if (scelto) emit ItemIndexChanged(id);
    });
}

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : TRadioGroup(parent) {
    setTitle(caption);
    FColumns = qMax(1, columns);
    SetItems(items);
}

void TRadioGroup::SetItems(const QStringList& items) {
    FItems = items;
    Ricostruisci();
}

void TRadioGroup::SetColumns(int columns) {
    FColumns = qMax(1, columns);
    Ricostruisci();
}

int TRadioGroup::ItemIndex() const { return FPulsanti->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* pulsante = FPulsanti->button(index)) {
        pulsante->setChecked(true);
    } else if (QAbstractButton* scelto = FPulsanti->checkedButton()) {
        FPulsanti->setExclusive(false);
        scelto->setChecked(false);
        FPulsanti->setExclusive(true);
    }
}

void TRadioGroup::Ricostruisci() {
    const int scelto = ItemIndex();
    for (QAbstractButton* pulsante : FPulsanti->buttons()) {
        FPulsanti->removeButton(pulsante);
        delete pulsante;
    }
    const int righe = FItems.isEmpty() ? 0 : (int(FItems.size()) + FColumns - 1) / FColumns;
    for (int i = 0; i < FItems.size(); ++i) {
        auto* pulsante = new QRadioButton(FItems[i], this);
        FPulsanti->addButton(pulsante, i);
        FGriglia->addWidget(pulsante, i % righe, i / righe);
    }
    SetItemIndex(scelto);
}
