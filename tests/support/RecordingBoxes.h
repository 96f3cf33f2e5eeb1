#pragma once
// A message-box double: records every box (kind and exact text) and answers confirmations.
#include "controls/MessageBoxes.h"

#include <QStringList>

class TRecordingBoxes : public IMessageBoxes {
public:
    struct TBox {
        QString Kind;  // "Errore", "Avviso", "Informazione", "Conferma"
        QString Text;
    };
    QList<TBox> Boxes;
    bool Risposta = true;  // answer to confirmations

    TRecordingBoxes() { SetMessageBoxes(this); }
    ~TRecordingBoxes() override { SetMessageBoxes(nullptr); }

    void Errore(QWidget*, const QString& t) override { Boxes << TBox{"Errore", t}; }
    void Avviso(QWidget*, const QString& t) override { Boxes << TBox{"Avviso", t}; }
    void Informazione(QWidget*, const QString& t) override { Boxes << TBox{"Informazione", t}; }
    bool Conferma(QWidget*, const QString& t) override {
        Boxes << TBox{"Conferma", t};
        return Risposta;
    }
    QString Ultimo() const { return Boxes.isEmpty() ? QString() : Boxes.last().Kind + ": " + Boxes.last().Text; }
};
