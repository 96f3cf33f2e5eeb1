#include "grid/AvPtqGr.h"

#include "controls/Centratura.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace {
constexpr int AltezzaStrisciaPulsanti = 41;
}

TAvPtqGrForm::TAvPtqGrForm(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Avviso"));
    setModal(true);

    // upper part: the picture above the two lines of text
    auto* panel3 = new QWidget(this);
    FImage1 = new QLabel(panel3);
    FImage1->setAlignment(Qt::AlignCenter);
    FImage1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    FLabel1 = new QLabel(panel3);
    FLabel1->setText(QStringLiteral(
        "ATTENZIONE CON QUESTA OPERAZIONE SI PERDONO TUTTE LE PERSONALIZZAZIONI DELL'ASPETTO DELLA GRIGLIA.\n"
        "PREMERE CANCEL SE NON SI STA CAPENDO COSA SI STA FACENDO"));
    FLabel1->setAlignment(Qt::AlignCenter);
    FLabel1->setWordWrap(true);
    QFont grassetto = FLabel1->font();
    grassetto.setBold(true);
    FLabel1->setFont(grassetto);
    QPalette rosso = FLabel1->palette();
    rosso.setColor(QPalette::WindowText, Qt::red);
    FLabel1->setPalette(rosso);
    auto* alto = new QVBoxLayout(panel3);
    alto->addWidget(FImage1, 1);
    alto->addWidget(FLabel1);

    // bottom strip with the buttons
    auto* panel2 = new QWidget(this);
    panel2->setFixedHeight(AltezzaStrisciaPulsanti);
    FBitBtn1 = new QPushButton(QStringLiteral("&OK"), panel2);
    FBitBtn2 = new QPushButton(QStringLiteral("&Cancel"), panel2);
    FBitBtn1->setDefault(true);
    // Enter on "Cancel" presses "Cancel", never the "OK" that deletes
    FBitBtn1->setAutoDefault(true);
    FBitBtn2->setAutoDefault(true);
    auto* basso = new QHBoxLayout(panel2);
    basso->setContentsMargins(8, 4, 8, 4);
    basso->addStretch();
    basso->addWidget(FBitBtn1);
    basso->addWidget(FBitBtn2);
    basso->addStretch();

    auto* tutto = new QVBoxLayout(this);
    tutto->setContentsMargins(0, 0, 0, 0);
    tutto->setSpacing(0);
    tutto->addWidget(panel3, 1);
    tutto->addWidget(panel2);

    // Esc and the close box reject, leaving Esito at 2
    connect(FBitBtn1, &QPushButton::clicked, this, [this] {
        Esito = 1;
        accept();
    });
    connect(FBitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    resize(419, 362);
    FBitBtn1->setFocus();
}

void TAvPtqGrForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // the picture fills the space left above the text, scaled proportionally
    const QSize spazio = FImage1->size();
    const int lato = qMax(16, qMin(spazio.width(), spazio.height()));
    FImage1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(lato, lato));
    if (!FCentrata && !event->spontaneous()) {
        CentraSulloSchermo(this);
        FCentrata = true;
    }
}
