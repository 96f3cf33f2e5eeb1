#include "bench/datalayer/ArchivioBench.h"

#include "sql/DemoData.h"

TArchivioBench::TArchivioBench(const QString& nome) : Path(Dir.filePath(nome)) {
    Preparazione.start();
    DemoData::CreaDatabase(Path, DemoData::ScriptArchivio());
    DemoData::Connetti(Db, Path);
}
