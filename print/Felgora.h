#pragma once
// The suite's report launcher Felgora.exe: its command file, where the file goes, the command
// line, and the start.
#include <QDateTime>
#include <QString>

// The program's session in its environment, which the launcher inherits: the launch line names the
// user alone, and the company the print reads is the one the program runs with.
inline constexpr char AmbienteUtente[] = "ZELSCANFILE_UTENTE";
inline constexpr char AmbienteDitta[] = "ZELSCANFILE_DITTA";
void ImpostaAmbienteSessione(int utente, const QString& ditta);

// What the launcher is asked to open.
enum TModoReport : int {
    mrAnteprima = 0,  // the print preview
    mrEdita = 1,      // the report designer
};

// The command file's text: the opening tag, the print's SQL (its lines already end with CR LF),
// the report definition's path, the title, the mode and the closing tag, each followed by CR LF.
// Nothing is escaped.
QString TestoComandoFelgora(const QString& sqlRif, const QString& percorsoReport, const QString& tabella, int modo);

// "Report" below `binDir` + the time stamp of `istante` + ".txt". With no bin folder the file
// goes beside this program, in `cartellaProgramma`, as the report definition does.
QString PercorsoComandoFelgora(const QString& binDir, const QString& cartellaProgramma, const QDateTime& istante);

// The quoted path of Felgora.exe in the suite's program folder (Combit rule), the user, and the
// quoted path of the command file.
QString RigaComandoFelgora(const QString& cartellaProgramma, int utente, const QString& percorsoComando);

// Starts the launcher with its first window hidden and waits for it without a time limit. False
// when it could not start; its exit code is not read.
bool AvviaFelgora(const QString& cartellaProgramma, int utente, const QString& percorsoComando);
