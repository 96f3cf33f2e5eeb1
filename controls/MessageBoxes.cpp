#include "controls/MessageBoxes.h"

#include <QMessageBox>

#include <cstdio>

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

class TStderrMessageBoxes : public IMessageBoxes {
public:
    void Errore(QWidget*, const QString& text) override { Scrivi(QStringLiteral("Errore"), text); }
    void Avviso(QWidget*, const QString& text) override { Scrivi(QStringLiteral("Attenzione"), text); }
    void Informazione(QWidget*, const QString& text) override { Scrivi(QStringLiteral("Informazione"), text); }
    bool Conferma(QWidget*, const QString& text) override {
        Scrivi(QStringLiteral("Conferma"), text);
        return false;
    }

private:
    static void Scrivi(const QString& titolo, const QString& text) {
        std::fputs(qPrintable(titolo + QStringLiteral(": ") + text + QLatin1Char('\n')), stderr);
        std::fflush(stderr);
    }
};

TQtMessageBoxes gQtBoxes;
class TMuteMessageBoxes : public IMessageBoxes {
public:
    void Errore(QWidget*, const QString&) override {}
    void Avviso(QWidget*, const QString&) override {}
    void Informazione(QWidget*, const QString&) override {}
    bool Conferma(QWidget*, const QString&) override { return false; }
};

TStderrMessageBoxes gStderrBoxes;
TMuteMessageBoxes gMuteBoxes;
IMessageBoxes* gBoxes = &gQtBoxes;

}  // namespace

IMessageBoxes& MessageBoxes() { return *gBoxes; }

void SetMessageBoxes(IMessageBoxes* boxes) { gBoxes = boxes ? boxes : &gQtBoxes; }

IMessageBoxes* MessageBoxesSuStderr() { return &gStderrBoxes; }

IMessageBoxes* MessageBoxesMute() { return &gMuteBoxes; }
