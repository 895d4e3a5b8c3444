#include "tests/support/WriteFaults.h"

#include <sqlite3.h>

#include <atomic>
#include <cstddef>
#include <stdexcept>

namespace testing_support {

namespace {

std::atomic<bool> armedNow{false};
std::atomic<int> resultCode{SQLITE_FULL};
std::atomic<int> writesLeft{0};
std::atomic<int> refusedCount{0};

sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs faultyVfs;

// Our file object, followed in the same allocation by the real VFS's own.
struct FaultyFile {
    sqlite3_file base;
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

sqlite3_file* realOf(sqlite3_file* f)
{
    return reinterpret_cast<FaultyFile*>(f)->real();
}

bool refuseThisWrite()
{
    if (!armedNow) return false;
    if (writesLeft.fetch_sub(1) > 0) return false;
    ++refusedCount;
    return true;
}

int fileClose(sqlite3_file* f)
{
    return realOf(f)->pMethods->xClose(realOf(f));
}
int fileRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return realOf(f)->pMethods->xRead(realOf(f), buffer, amount, offset);
}
int fileWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (refuseThisWrite()) return resultCode;
    return realOf(f)->pMethods->xWrite(realOf(f), buffer, amount, offset);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    if (refuseThisWrite()) return resultCode == SQLITE_FULL ? SQLITE_FULL : SQLITE_IOERR_TRUNCATE;
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
int fileSync(sqlite3_file* f, int flags)
{
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}
int fileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
int fileLock(sqlite3_file* f, int level)
{
    return realOf(f)->pMethods->xLock(realOf(f), level);
}
int fileUnlock(sqlite3_file* f, int level)
{
    return realOf(f)->pMethods->xUnlock(realOf(f), level);
}
int fileCheckReservedLock(sqlite3_file* f, int* out)
{
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int fileControl(sqlite3_file* f, int op, void* arg)
{
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
int fileSectorSize(sqlite3_file* f)
{
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
int fileDeviceCharacteristics(sqlite3_file* f)
{
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}
int fileShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out)
{
    return realOf(f)->pMethods->xShmMap(realOf(f), region, size, extend, out);
}
int fileShmLock(sqlite3_file* f, int offset, int n, int flags)
{
    return realOf(f)->pMethods->xShmLock(realOf(f), offset, n, flags);
}
void fileShmBarrier(sqlite3_file* f)
{
    realOf(f)->pMethods->xShmBarrier(realOf(f));
}
int fileShmUnmap(sqlite3_file* f, int deleteFlag)
{
    return realOf(f)->pMethods->xShmUnmap(realOf(f), deleteFlag);
}
int fileFetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out)
{
    return realOf(f)->pMethods->xFetch(realOf(f), offset, amount, out);
}
int fileUnfetch(sqlite3_file* f, sqlite3_int64 offset, void* page)
{
    return realOf(f)->pMethods->xUnfetch(realOf(f), offset, page);
}

// Only the methods the real file has are offered, so SQLite sees the same abilities.
sqlite3_io_methods methodsFor(const sqlite3_io_methods& real)
{
    sqlite3_io_methods m{};
    m.iVersion = real.iVersion;
    m.xClose = fileClose;
    m.xRead = fileRead;
    m.xWrite = fileWrite;
    m.xTruncate = fileTruncate;
    m.xSync = fileSync;
    m.xFileSize = fileSize;
    m.xLock = fileLock;
    m.xUnlock = fileUnlock;
    m.xCheckReservedLock = fileCheckReservedLock;
    m.xFileControl = fileControl;
    m.xSectorSize = fileSectorSize;
    m.xDeviceCharacteristics = fileDeviceCharacteristics;
    if (real.iVersion >= 2) {
        m.xShmMap = real.xShmMap ? fileShmMap : nullptr;
        m.xShmLock = real.xShmLock ? fileShmLock : nullptr;
        m.xShmBarrier = real.xShmBarrier ? fileShmBarrier : nullptr;
        m.xShmUnmap = real.xShmUnmap ? fileShmUnmap : nullptr;
    }
    if (real.iVersion >= 3) {
        m.xFetch = fileFetch;
        m.xUnfetch = fileUnfetch;
    }
    return m;
}

// One table of methods per kind of real file; the unix VFS uses very few.
constexpr int methodSlots = 8;
const sqlite3_io_methods* realMethods[methodSlots] = {};
sqlite3_io_methods ourMethods[methodSlots];

const sqlite3_io_methods* wrap(const sqlite3_io_methods* real)
{
    for (int i = 0; i < methodSlots; ++i) {
        if (realMethods[i] == real) return &ourMethods[i];
        if (!realMethods[i]) {
            ourMethods[i] = methodsFor(*real);
            realMethods[i] = real;
            return &ourMethods[i];
        }
    }
    throw std::logic_error("too many kinds of file for the fault VFS");
}

int vfsOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* ours = reinterpret_cast<FaultyFile*>(file);
    ours->base.pMethods = nullptr;
    const int rc = realVfs->xOpen(realVfs, name, ours->real(), flags, outFlags);
    if (ours->real()->pMethods) ours->base.pMethods = wrap(ours->real()->pMethods);
    return rc;
}

} // namespace

WriteFaults::WriteFaults()
{
    realVfs = sqlite3_vfs_find(nullptr);
    if (!realVfs) throw std::runtime_error("no default SQLite VFS");
    faultyVfs = *realVfs;
    faultyVfs.zName = "tavrix-write-faults";
    faultyVfs.szOsFile = static_cast<int>(sizeof(FaultyFile)) + realVfs->szOsFile;
    faultyVfs.xOpen = vfsOpen;
    faultyVfs.pNext = nullptr;
    disarm();
    if (sqlite3_vfs_register(&faultyVfs, 1) != SQLITE_OK)
        throw std::runtime_error("cannot register the fault VFS");
}

WriteFaults::~WriteFaults()
{
    disarm();
    sqlite3_vfs_unregister(&faultyVfs);
    sqlite3_vfs_register(realVfs, 1);
}

void WriteFaults::arm(int code, int afterWrites)
{
    resultCode = code;
    writesLeft = afterWrites;
    refusedCount = 0;
    armedNow = true;
}

void WriteFaults::disarm()
{
    armedNow = false;
}

bool WriteFaults::armed() const
{
    return armedNow;
}

int WriteFaults::refused() const
{
    return refusedCount;
}

} // namespace testing_support
