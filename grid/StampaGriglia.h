#pragma once
// The grid's "Stampa" command: a print job set up from the grid and its options dialog.
class TPtqGrid;
class TPtqGridStampa;

// A new print job owned by the grid, set up from it after its current layout has been saved;
// none, after a warning, for views of another kind than an SQL query. The job lives until the
// grid is destroyed.
TPtqGridStampa* NuovaStampaGriglia(TPtqGrid& griglia);

// Sets up the job and shows the print options dialog modally, with the grid's font.
void StampaGriglia(TPtqGrid& griglia);
