#pragma once
// The nodes of the log tree. Each keeps its text in itself, not in a list of values per column, so
// tens of thousands of nodes are made and freed quickly. The tree is read-only: nothing sets a text.
#include "app/AlberoLog.h"

#include <QTreeWidgetItem>

// The role under which a file node gives its payload.
inline constexpr int RuoloPayload = Qt::UserRole + 1;

class TNodoAlbero : public QTreeWidgetItem {
public:
    TNodoAlbero(QTreeWidgetItem* padre, QString testo) : QTreeWidgetItem(padre, UserType), FTesto(std::move(testo)) {}

    QVariant data(int column, int role) const override {
        if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole)) return FTesto;
        return QTreeWidgetItem::data(column, role);
    }

private:
    QString FTesto;
};

// A file node, carrying its payload.
class TNodoFile : public TNodoAlbero {
public:
    TNodoFile(QTreeWidgetItem* padre, QString testo, TMyRec rec) : TNodoAlbero(padre, std::move(testo)), FRec(std::move(rec)) {}

    QVariant data(int column, int role) const override {
        if (column == 0 && role == RuoloPayload) return QVariant::fromValue(FRec);
        return TNodoAlbero::data(column, role);
    }

private:
    TMyRec FRec;
};
