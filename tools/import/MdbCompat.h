#pragma once

// glib first: mdbtools.h uses its types without including it.
#include <glib.h>

#include <mdbtools.h>

#include <cstddef>

// The two libraries the Access reader is built against differ in a few calls: Debian's
// mdbtools 1.0 on Linux, and on Windows the older libmdb of kexi's copy (KELVARA_MDB_BUNDLED),
// which keeps its date format and its bind buffers' size in globals of its own and takes its
// text to convert as a non-const pointer. The difference stays in these functions.
namespace accessimport::mdbcompat {

// Dates as yyyy-MM-dd, date/time columns and short dates alike.
inline void setDateFormat(MdbHandle *mdb)
{
#ifdef KELVARA_MDB_BUNDLED
    (void)mdb;
    mdb_set_date_fmt("%Y-%m-%d");
#else
    mdb_set_date_fmt(mdb, "%Y-%m-%d");
    mdb_set_shortdate_fmt(mdb, "%Y-%m-%d");
#endif
}

// Asks for bound buffers of at least the given size and returns the size the library fills
// them to, which each bound buffer must have: the older library's is fixed.
inline size_t setBindSize(MdbHandle *mdb, size_t wanted)
{
#ifdef KELVARA_MDB_BUNDLED
    (void)mdb;
    static_assert(MDB_BIND_SIZE > 0);
    return wanted > MDB_BIND_SIZE ? wanted : MDB_BIND_SIZE;
#else
    mdb_set_bind_size(mdb, wanted);
    return mdb->bind_size;
#endif
}

// The text's bytes in the file's code page as UTF-8 into dest; the length written.
inline int toUtf8(MdbHandle *mdb, const char *src, size_t length, char *dest, size_t room)
{
#ifdef KELVARA_MDB_BUNDLED
    // The older library only reads through its pointer.
    return mdb_unicode2ascii(mdb, const_cast<char *>(src), length, dest, room);
#else
    return mdb_unicode2ascii(mdb, src, length, dest, room);
#endif
}

} // namespace accessimport::mdbcompat
