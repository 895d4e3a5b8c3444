#pragma once

#include <atomic>

namespace testing_support {

// A full disk or a failing drive, on demand: while it lives, every database file the process
// opens goes through an SQLite VFS that passes everything on to the system's own, except that
// once armed it refuses every write and truncation with the chosen result code (SQLITE_FULL by
// default, SQLITE_IOERR_WRITE for a failing drive). Reads go on working, as they do on a full
// disk. Files opened before it was created are not affected.
class WriteFaults {
public:
    WriteFaults();
    ~WriteFaults();
    WriteFaults(const WriteFaults&) = delete;
    WriteFaults& operator=(const WriteFaults&) = delete;

    // Refuses writes from now on; `afterWrites` writes are let through first.
    void arm(int resultCode, int afterWrites = 0);
    void disarm();
    bool armed() const;
    // The writes refused since the last arm.
    int refused() const;
};

} // namespace testing_support
