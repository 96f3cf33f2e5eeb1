#pragma once
// Drawing a report definition's pages with the print's rows on a printer, a PDF or a preview.
#include "tools/felgora/DefinizioneReport.h"

#include <QPageLayout>

class IRigheStampa;
class QPagedPaintDevice;

// The paper of the definition, whole page, no margins.
QPageLayout LayoutPagina(const TDefinizioneReport& definizione);

// Draws every page on `device`, whose page layout is LayoutPagina's: the visible text objects on
// each page, the table's header line at the top of its area and a body line for each row, going
// on to a new page when the next row does not fit. When a visible text shows the number of pages,
// the rows are laid out once without drawing to count them. Rows are read one at a time as the
// pages are drawn. Returns the number of pages; raises Exception when the data cannot be read or
// a cell names a field the data does not have.
int StampaReport(const TDefinizioneReport& definizione, QPagedPaintDevice& device, IRigheStampa& righe);
