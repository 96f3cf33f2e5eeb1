#pragma once
// Several processes of the suite (the program, the scan server, the report launcher, the query
// utility) open the same embedded database at once. Firebird's embedded engine allows that only
// in SuperClassic mode, so unless the environment names a Firebird root already (FIREBIRD), the
// process gets a root of its own whose firebird.conf asks for it: a folder private to the user
// (owner and mode 0700 checked) in the temporary folder. Runs before the first call
// into the client library; a no-op on Windows, where the suite uses its server.
void PrepareSharedEmbeddedEngine();
