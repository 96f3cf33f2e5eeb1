#pragma once
// The launcher's small designer: the definition's page, table columns and texts, listed.
#include "tools/felgora/DefinizioneReport.h"

#include <QDialog>
#include <QStringList>

class QTreeWidget;

// The designer's rows: "Pagina" first, then one row per table column, then one per line of each
// text object. Columns: element, title or text, field, width, wrapping, font, shown.
QStringList IntestazioniDesigner();
QList<QStringList> RigheDesigner(const TDefinizioneReport& definizione);

class TFormDesigner : public QDialog {
    Q_OBJECT
public:
    TFormDesigner(const TDefinizioneReport& definizione, const QString& titolo, QWidget* parent = nullptr);
    QTreeWidget* Elenco() const { return FElenco; }

private:
    QTreeWidget* FElenco;
};
