#pragma once

#include <QString>

class TDatabase;

// Generates a large library into the connected database (which must be empty or hold the schema
// only): scale 1 gives 200,000 books, 20,000 journals, a 3-level catalogue of about 2,000 nodes,
// 30,000 readers in 6 kinds and 20 departments, 2,000,000 loans over five years with about 3%
// still out, 50,000 fines, 100,000 charges and 5,000 write-offs. The data is the same for a given
// scale on either engine (a fixed random seed). Rows go in through the engine's own bulk path
// (prepared statements on SQLite, COPY on PostgreSQL).
namespace bench {

struct LibrarySize {
    int books, journals, readers, loans, fines, charges, writeoffs;
};

LibrarySize SizeAt(double scale);
void GenerateLibrary(TDatabase& db, double scale);

}  // namespace bench
