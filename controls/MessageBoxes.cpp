#include "controls/MessageBoxes.h"

#include <QMessageBox>

namespace {

class TQtMessageBoxes : public IMessageBoxes {
public:
    void Errore(QWidget* parent, const QString& text) override {
        QMessageBox::critical(parent, QStringLiteral("Errore"), text, QMessageBox::Ok);
    }
    void Avviso(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, QStringLiteral("Attenzione"), text, QMessageBox::Ok);
    }
    void Informazione(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, QStringLiteral("Informazione"), text, QMessageBox::Ok);
    }
    bool Conferma(QWidget* parent, const QString& text) override {
        return QMessageBox::question(parent, QStringLiteral("Conferma"), text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }
};

TQtMessageBoxes gQtBoxes;
IMessageBoxes* gBoxes = &gQtBoxes;

}  // namespace

IMessageBoxes& MessageBoxes() { return *gBoxes; }

void SetMessageBoxes(IMessageBoxes* boxes) { gBoxes = boxes ? boxes : &gQtBoxes; }
