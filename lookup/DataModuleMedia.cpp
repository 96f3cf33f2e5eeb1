#include "lookup/DataModuleMedia.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <functional>

namespace {

constexpr int Lato = 16;
TDataModuleMedia* gCondiviso = nullptr;

QPixmap Disegna(const std::function<void(QPainter&)>& disegno) {
    QPixmap pm(Lato, Lato);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    disegno(p);
    return pm;
}

QPen Tratto(const QColor& colore, qreal larghezza) {
    return QPen(colore, larghezza, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

const QColor Blu(30, 100, 200), Verde(30, 150, 50), Rosso(210, 40, 40), Marrone(140, 90, 40), Grigio(90, 90, 90);

void Disco(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Blu);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
}

QPixmap Help() {
    return Disegna([](QPainter& p) {
        Disco(p);
        p.setPen(Tratto(Qt::white, 2));
        p.setBrush(Qt::NoBrush);
        QPainterPath gancio;
        gancio.moveTo(5.5, 6);
        gancio.arcTo(QRectF(5.5, 3, 5, 5), 180, -270);
        gancio.quadTo(8, 8.5, 8, 10);
        p.drawPath(gancio);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6.8, 11.5, 2.4, 2.4));
    });
}

QPixmap Info() {
    return Disegna([](QPainter& p) {
        Disco(p);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6.8, 3, 2.4, 2.4));
        p.drawRect(QRectF(6.9, 6.5, 2.2, 6.5));
    });
}

QPixmap Esci() {
    return Disegna([](QPainter& p) {
        p.setPen(Tratto(Marrone, 1.5));
        p.setBrush(QColor(220, 180, 120));
        p.drawRect(QRectF(1.5, 1.5, 8, 13));
        p.setPen(Tratto(Verde, 2));
        p.drawLine(QPointF(6, 8), QPointF(14, 8));
        p.drawPolyline(QPolygonF{{QPointF(11, 5), QPointF(14, 8), QPointF(11, 11)}});
    });
}

QPixmap Aggiorna() {
    return Disegna([](QPainter& p) {
        p.setPen(Tratto(Verde, 2));
        p.setBrush(Qt::NoBrush);
        const QRectF giro(2.5, 2.5, 11, 11);
        p.drawArc(giro, 20 * 16, 140 * 16);
        p.drawArc(giro, 200 * 16, 140 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(Verde);
        p.drawPolygon(QPolygonF{{QPointF(15.5, 4), QPointF(14, 9), QPointF(10, 5.5)}});
        p.drawPolygon(QPolygonF{{QPointF(0.5, 12), QPointF(2, 7), QPointF(6, 10.5)}});
    });
}

QPixmap Ritorna() {
    return Disegna([](QPainter& p) {
        p.setPen(Tratto(Verde, 2.5));
        p.drawPolyline(QPolygonF{{QPointF(2.5, 8.5), QPointF(6, 12.5), QPointF(13.5, 3.5)}});
    });
}

QPixmap Annulla() {
    return Disegna([](QPainter& p) {
        p.setPen(Tratto(Rosso, 2.5));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    });
}

QPixmap Cerca() {
    return Disegna([](QPainter& p) {
        p.setPen(Tratto(Marrone, 3));
        p.drawLine(QPointF(10.5, 10.5), QPointF(14.5, 14.5));
        p.setPen(Tratto(Grigio, 1.8));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 9.5, 9.5));
    });
}

QPixmap UpFile() {
    return Disegna([](QPainter& p) {
        p.setPen(Tratto(Grigio, 1));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF{{QPointF(1.5, 0.5), QPointF(8.5, 0.5), QPointF(11.5, 3.5), QPointF(11.5, 15.5),
                                 QPointF(1.5, 15.5)}});
        p.drawPolyline(QPolygonF{{QPointF(8.5, 0.5), QPointF(8.5, 3.5), QPointF(11.5, 3.5)}});
        p.setPen(Qt::NoPen);
        p.setBrush(Blu);
        p.drawPolygon(QPolygonF{{QPointF(11.5, 5), QPointF(16, 10), QPointF(13.3, 10), QPointF(13.3, 16),
                                 QPointF(9.7, 16), QPointF(9.7, 10), QPointF(7, 10)}});
    });
}

QPixmap DalloStile(QStyle::StandardPixmap quale) {
    return QApplication::style()->standardIcon(quale).pixmap(Lato, Lato);
}

}  // namespace

TDataModuleMedia::TDataModuleMedia(QObject* owner) : QObject(owner) {
    FImageList = {Help(),
                  Esci(),
                  Aggiorna(),
                  Info(),
                  Ritorna(),
                  Annulla(),
                  DalloStile(QStyle::SP_FileIcon),
                  DalloStile(QStyle::SP_DirOpenIcon),
                  DalloStile(QStyle::SP_DialogSaveButton),
                  DalloStile(QStyle::SP_TrashIcon),
                  DalloStile(QStyle::SP_FileDialogDetailedView),
                  DalloStile(QStyle::SP_MessageBoxWarning),
                  Cerca(),
                  UpFile()};
    if (!gCondiviso) gCondiviso = this;
}

TDataModuleMedia::~TDataModuleMedia() {
    if (gCondiviso == this) gCondiviso = nullptr;
}

TDataModuleMedia& TDataModuleMedia::Instance() {
    if (!gCondiviso) new TDataModuleMedia(qApp);
    return *gCondiviso;
}

void TDataModuleMedia::GetIco(int AIndex, QIcon& ATo) const { ATo = Icona(AIndex); }

QIcon TDataModuleMedia::Icona(int AIndex) const {
    const QPixmap pm = Immagine(AIndex);
    return pm.isNull() ? QIcon() : QIcon(pm);
}

QPixmap TDataModuleMedia::Immagine(int AIndex) const { return FImageList.value(AIndex); }
