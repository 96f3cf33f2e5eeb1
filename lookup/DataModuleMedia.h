#pragma once
// The shared image module: one list of 16 × 16 images from which the main window's actions and the
// dialog buttons take their pictures by index. The program creates it at start-up, before its
// windows; a window that finds none creates one owned by the application.
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPixmap>

class TDataModuleMedia : public QObject {
    Q_OBJECT
public:
    // Indexes of ImageList and what each one depicts.
    enum TImmagine {
        imgHelp = 0,        // help: white question mark on a blue disc
        imgEsci = 1,        // exit: brown door with a green arrow leaving it
        imgAggiorna = 2,    // refresh: two green arrows chasing each other round a circle
        imgInfo = 3,        // help button picture: white "i" on a blue disc
        imgRitorna = 4,     // return / confirm: green check mark
        imgAnnulla = 5,     // cancel: red cross
        imgNuovo = 6,       // new document: blank page (style's file icon)
        imgApri = 7,        // open: open folder (style's folder icon)
        imgSalva = 8,       // save: floppy disk (style's save icon)
        imgElimina = 9,     // delete: waste bin (style's trash icon)
        imgElenco = 10,     // list: detailed list view (style's detail view icon)
        imgAvviso = 11,     // warning: warning sign (style's message box icon)
        imgCerca = 12,      // search: magnifying glass
        imgUpFile = 13,     // send a file up: page with a blue upward arrow
    };

    // The first module created becomes the shared one.
    explicit TDataModuleMedia(QObject* owner = nullptr);
    ~TDataModuleMedia() override;

    // The shared module; created (owned by the application) when nobody created one yet.
    static TDataModuleMedia& Instance();

    const QList<QPixmap>& ImageList() const { return FImageList; }

    // Copies the image at AIndex into ATo; an index outside the list gives an empty icon.
    void GetIco(int AIndex, QIcon& ATo) const;
    QIcon Icona(int AIndex) const;
    QPixmap Immagine(int AIndex) const;  // null pixmap outside the list

private:
    QList<QPixmap> FImageList;
};
