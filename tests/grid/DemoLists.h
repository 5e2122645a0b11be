#pragma once

#include <memory>

#include "core/TRecordSet.h"

// Small demonstration lists over rows inserted into the connected database (in one transaction):
// the reader kinds, and readers with a hidden telephone column (for searches on hidden fields).
namespace demolists {

// Inserts four reader kinds and opens them: Id (hidden), Name, BookTop, BookDays, JourTop, JourDays.
std::unique_ptr<TRecordSet> OpenReaderKinds();
// Inserts three readers and opens them: Id (hidden), Code, Name, Dept, Deposit, Tel (hidden).
std::unique_ptr<TRecordSet> OpenReaders();

}  // namespace demolists
