#include "print/ProcessoEsterno.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QProcess>
#include <unistd.h>
#endif

QString CartellaProgrammiSuite(const QString& cartellaProgramma) {
    QString cartella = QDir::toNativeSeparators(cartellaProgramma);
    if (!cartella.endsWith(QDir::separator())) cartella += QDir::separator();
    if (QFileInfo(cartella + "Combit").isDir()) cartella += "Combit" + QString(QDir::separator());
    return cartella;
}

QStringList DividiRigaComando(const QString& riga) {
    QStringList argomenti;
    QString corrente;
    bool inArgomento = false;
    bool traVirgolette = false;
    const int n = int(riga.size());
    int i = 0;
    while (i < n) {
        const QChar c = riga[i];
        if (c == '\\') {
            int barre = 0;
            while (i < n && riga[i] == '\\') {
                ++barre;
                ++i;
            }
            inArgomento = true;
            if (i < n && riga[i] == '"') {
                corrente += QString(barre / 2, '\\');
                if (barre % 2 == 1) {
                    corrente += '"';
                    ++i;
                }
            } else {
                corrente += QString(barre, '\\');
            }
        } else if (c == '"') {
            inArgomento = true;
            if (traVirgolette && i + 1 < n && riga[i + 1] == '"') {
                corrente += '"';
                i += 2;
            } else {
                traVirgolette = !traVirgolette;
                ++i;
            }
        } else if ((c == ' ' || c == '\t') && !traVirgolette) {
            if (inArgomento) argomenti << corrente;
            corrente.clear();
            inArgomento = false;
            ++i;
        } else {
            corrente += c;
            inArgomento = true;
            ++i;
        }
    }
    if (inArgomento) argomenti << corrente;
    return argomenti;
}

#ifdef Q_OS_WIN

bool EseguiEAttendi(const QString& rigaComando, TFinestraAvvio finestra, const QString&) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = finestra == TFinestraAvvio::Nascosta ? SW_HIDE : SW_SHOWMINIMIZED;
    PROCESS_INFORMATION pi{};
    std::wstring riga = rigaComando.toStdWString();  // CreateProcessW may write into the line
    const BOOL avviato = CreateProcessW(nullptr, riga.data(), nullptr, nullptr, FALSE,
                                        CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si, &pi);
    if (avviato) WaitForSingleObject(pi.hProcess, INFINITE);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    return avviato != FALSE;
}

#else

bool EseguiEAttendi(const QString& rigaComando, TFinestraAvvio, const QString& programma) {
    QString eseguibile;
    QStringList argomenti;
    if (!programma.isEmpty() && rigaComando.startsWith(programma + ' ')) {
        eseguibile = programma;
        argomenti = DividiRigaComando(rigaComando.mid(programma.size() + 1));
    } else {
        argomenti = DividiRigaComando(rigaComando);
        if (argomenti.isEmpty()) return false;
        eseguibile = argomenti.takeFirst();
    }
    QProcess processo;
    processo.setProcessChannelMode(QProcess::ForwardedChannels);
    processo.setChildProcessModifier([] { ::setpgid(0, 0); });  // a process group of its own
    processo.start(eseguibile, argomenti);
    if (!processo.waitForStarted(-1)) return false;
    processo.waitForFinished(-1);
    return true;
}

#endif
