#include "controls/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace {
// Room between two columns of options, so that each option reads as its own.
constexpr int SpazioColonne = 12;
}  // namespace

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), FPulsanti(new QButtonGroup(this)), FGriglia(new QGridLayout(this)) {
    FGriglia->setContentsMargins(6, 0, 6, 2);
    FGriglia->setVerticalSpacing(2);
    FGriglia->setHorizontalSpacing(SpazioColonne);
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
    // new options take the place of the old ones in the Tab order (a new control goes at its end)
    const QList<QAbstractButton*> vecchi = FPulsanti->buttons();
    const auto vecchio = [&vecchi](QWidget* w) { return vecchi.contains(qobject_cast<QAbstractButton*>(w)); };
    QWidget* precedente = vecchi.isEmpty() ? nullptr : vecchi.first()->previousInFocusChain();
    while (precedente && (precedente->focusPolicy() == Qt::NoFocus || vecchio(precedente)))
        precedente = precedente == window() ? nullptr : precedente->previousInFocusChain();
    for (QAbstractButton* pulsante : vecchi) {
        FPulsanti->removeButton(pulsante);
        delete pulsante;
    }
    for (int c = 0; c < FGriglia->columnCount(); ++c) FGriglia->setColumnStretch(c, 0);
    const int righe = FItems.isEmpty() ? 0 : (int(FItems.size()) + FColumns - 1) / FColumns;
    for (int i = 0; i < FItems.size(); ++i) {
        auto* pulsante = new QRadioButton(FItems[i], this);
        FPulsanti->addButton(pulsante, i);
        FGriglia->addWidget(pulsante, i % righe, i / righe);
        FGriglia->setColumnStretch(i / righe, 1);  // the columns share the width
        if (precedente) {
            QWidget::setTabOrder(precedente, pulsante);
            precedente = pulsante;
        }
    }
    SetItemIndex(scelto);
}
