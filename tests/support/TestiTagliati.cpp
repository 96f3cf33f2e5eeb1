#include "tests/support/TestiTagliati.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>
#include <QToolButton>

namespace {

// Pixels the styles put between a button's icon and its text.
constexpr int SpazioIcona = 4;

QString Dimensione(QSize s) { return QString("%1x%2").arg(s.width()).arg(s.height()); }

class TMisura {
public:
    explicit TMisura(QStringList& tagliati) : FTagliati(tagliati) {}

    void Controllo(const QWidget& w) {
        if (auto* l = qobject_cast<const QLabel*>(&w)) Etichetta(*l);
        else if (auto* b = qobject_cast<const QPushButton*>(&w)) Pulsante(*b);
        else if (auto* c = qobject_cast<const QCheckBox*>(&w)) Casella(*c, QStyle::SE_CheckBoxContents);
        else if (auto* r = qobject_cast<const QRadioButton*>(&w)) Casella(*r, QStyle::SE_RadioButtonContents);
        else if (auto* t = qobject_cast<const QToolButton*>(&w)) PulsanteStrumento(*t);
        else if (auto* g = qobject_cast<const QGroupBox*>(&w)) Gruppo(*g);
    }

private:
    void Confronta(const QWidget& w, const QString& testo, QSize serve, QSize spazio) {
        if (serve.width() <= spazio.width() && serve.height() <= spazio.height()) return;
        FTagliati << Nome(w, testo) + ": the text needs " + Dimensione(serve) + ", it has " + Dimensione(spazio);
    }

    // A control that its parent cuts shows part of its text however wide it is.
    void DentroIlGenitore(const QWidget& w, const QString& testo) {
        const QWidget* genitore = w.parentWidget();
        if (!genitore || w.isWindow() || genitore->rect().contains(w.geometry())) return;
        const QRect g = w.geometry();
        FTagliati << Nome(w, testo) + QString(": at %1,%2 %3 outside its parent's %4")
                                          .arg(g.x()).arg(g.y()).arg(Dimensione(g.size()), Dimensione(genitore->size()));
    }

    static QString Nome(const QWidget& w, const QString& testo) {
        QString nome = QString::fromLatin1(w.metaObject()->className());
        if (!w.objectName().isEmpty()) nome += " " + w.objectName();
        return nome + " \"" + testo + "\"";
    }

    static QSize Testo(const QWidget& w, const QString& testo, int flag = Qt::TextShowMnemonic) {
        return w.fontMetrics().size(flag, testo);
    }

    void Etichetta(const QLabel& l) {
        QString testo = l.text();
        if (testo.isEmpty()) return;
        if (l.textFormat() == Qt::RichText || (l.textFormat() == Qt::AutoText && Qt::mightBeRichText(testo))) {
            QTextDocument documento;
            documento.setHtml(testo);
            testo = documento.toPlainText();
        }
        DentroIlGenitore(l, testo);
        const int margine = l.margin();
        QRect spazio = l.contentsRect().adjusted(margine, margine, -margine, -margine);
        int rientro = l.indent();
        if (rientro < 0) rientro = l.frameWidth() > 0 ? l.fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
        if (l.alignment() & (Qt::AlignLeft | Qt::AlignRight)) spazio.setWidth(spazio.width() - rientro);
        if (l.alignment() & (Qt::AlignTop | Qt::AlignBottom)) spazio.setHeight(spazio.height() - rientro);
        // without a buddy an "&" is shown as it is
        const int flag = l.buddy() ? int(Qt::TextShowMnemonic) : 0;
        if (!l.wordWrap()) {
            Confronta(l, testo, Testo(l, testo, flag), spazio.size());
            return;
        }
        // wrapped: every word fits the width, and the lines the height
        int parola = 0;
        for (const QString& p : testo.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
            parola = qMax(parola, Testo(l, p, flag).width());
        const int righe = l.heightForWidth(l.width()) - (l.height() - spazio.height());
        Confronta(l, testo, QSize(parola, righe), spazio.size());
    }

    void Pulsante(const QPushButton& b) {
        if (b.text().isEmpty()) return;
        DentroIlGenitore(b, b.text());
        QStyleOptionButton opzione;
        opzione.initFrom(&b);
        opzione.text = b.text();
        opzione.icon = b.icon();
        opzione.iconSize = b.iconSize();
        if (b.isFlat()) opzione.features |= QStyleOptionButton::Flat;
        if (b.autoDefault()) opzione.features |= QStyleOptionButton::AutoDefaultButton;
        if (b.isDefault()) opzione.features |= QStyleOptionButton::DefaultButton;
        if (b.menu()) opzione.features |= QStyleOptionButton::HasMenu;
        const QRect spazio = b.style()->subElementRect(QStyle::SE_PushButtonContents, &opzione, &b);
        QSize serve = Testo(b, b.text());
        if (!b.icon().isNull()) {
            serve.rwidth() += b.iconSize().width() + SpazioIcona;
            serve.setHeight(qMax(serve.height(), b.iconSize().height()));
        }
        Confronta(b, b.text(), serve, spazio.size());
    }

    void Casella(const QAbstractButton& c, QStyle::SubElement contenuto) {
        if (c.text().isEmpty()) return;
        DentroIlGenitore(c, c.text());
        QStyleOptionButton opzione;
        opzione.initFrom(&c);
        opzione.text = c.text();
        opzione.icon = c.icon();
        opzione.iconSize = c.iconSize();
        const QRect spazio = c.style()->subElementRect(contenuto, &opzione, &c);
        QSize serve = Testo(c, c.text());
        if (!c.icon().isNull()) serve.rwidth() += c.iconSize().width() + SpazioIcona;
        Confronta(c, c.text(), serve, spazio.size());
    }

    void PulsanteStrumento(const QToolButton& t) {
        if (t.text().isEmpty()) return;
        QStyleOptionToolButton opzione;
        opzione.initFrom(&t);
        opzione.text = t.text();
        opzione.icon = t.icon();
        opzione.iconSize = t.iconSize();
        opzione.arrowType = t.arrowType();
        opzione.subControls = QStyle::SC_ToolButton;
        if (t.autoRaise()) opzione.state |= QStyle::State_AutoRaise;
        Qt::ToolButtonStyle stile = t.toolButtonStyle();
        if (stile == Qt::ToolButtonFollowStyle)
            stile = Qt::ToolButtonStyle(t.style()->styleHint(QStyle::SH_ToolButtonStyle, &opzione, &t));
        // a button without a picture shows its text whatever its style
        const bool soloTesto = stile == Qt::ToolButtonTextOnly || (t.icon().isNull() && t.arrowType() == Qt::NoArrow);
        if (!soloTesto && stile == Qt::ToolButtonIconOnly) return;
        DentroIlGenitore(t, t.text());
        QSize serve = Testo(t, t.text());
        if (!soloTesto && stile == Qt::ToolButtonTextBesideIcon) {
            serve.rwidth() += t.iconSize().width() + SpazioIcona;
            serve.setHeight(qMax(serve.height(), t.iconSize().height()));
        } else if (!soloTesto && stile == Qt::ToolButtonTextUnderIcon) {
            serve.setWidth(qMax(serve.width(), t.iconSize().width()));
            serve.rheight() += t.iconSize().height() + SpazioIcona;
        }
        // the label is drawn inside the button's frame
        const int cornice = t.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opzione, &t);
        const QRect pulsante = t.style()->subControlRect(QStyle::CC_ToolButton, &opzione, QStyle::SC_ToolButton, &t);
        Confronta(t, t.text(), serve, pulsante.adjusted(cornice, cornice, -cornice, -cornice).size());
    }

    void Gruppo(const QGroupBox& g) {
        if (g.title().isEmpty()) return;
        DentroIlGenitore(g, g.title());
        QStyleOptionGroupBox opzione;
        opzione.initFrom(&g);
        opzione.text = g.title();
        opzione.lineWidth = 1;
        opzione.textAlignment = g.alignment();
        opzione.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (g.isCheckable()) opzione.subControls |= QStyle::SC_GroupBoxCheckBox;
        if (g.isFlat()) opzione.features |= QStyleOptionFrame::Flat;
        // the style sizes the title's place to its text: it must lie inside the box
        const QRect titolo = g.style()->subControlRect(QStyle::CC_GroupBox, &opzione, QStyle::SC_GroupBoxLabel, &g);
        Confronta(g, g.title(), titolo.size(), titolo.intersected(g.rect()).size());
    }

    QStringList& FTagliati;
};

}  // namespace

QStringList TestiTagliati(const QWidget& finestra) {
    if (!finestra.isVisible()) return {"the window is not shown: its controls have not been placed"};
    QStringList tagliati;
    TMisura misura(tagliati);
    for (const QWidget* w : finestra.findChildren<QWidget*>()) {
        if (w->isVisibleTo(&finestra) && w->window() == &finestra) misura.Controllo(*w);
    }
    return tagliati;
}

QStringList TitoliTagliati(const QHeaderView& titoli) {
    QStringList tagliati;
    const QAbstractItemModel* modello = titoli.model();
    if (!modello) return tagliati;
    for (int i = 0; i < titoli.count(); ++i) {
        if (titoli.isSectionHidden(i) || titoli.sectionSize(i) >= titoli.sectionSizeHint(i)) continue;
        tagliati << QString("column %1 \"%2\": %3 pixels wide, its title needs %4")
                        .arg(i)
                        .arg(modello->headerData(i, titoli.orientation()).toString())
                        .arg(titoli.sectionSize(i))
                        .arg(titoli.sectionSizeHint(i));
    }
    return tagliati;
}
