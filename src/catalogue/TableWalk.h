#pragma once
// The libmdb side of the catalogue file: one connection, and walks over its tables from the
// first row with some columns bound. libmdb walks only what the raw page checks have passed.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <mdbtools.h>

#include "catalogue/JetPageChecks.h"

namespace glyphwell::catalogue {

struct MdbHandleCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};

struct MdbTableDefFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

// One open catalogue file: its raw pages for the checks and libmdb's handle on the same file.
class CatalogueConnection {
  public:
    // None when the file is missing, not Jet 4 or has a damaged table. All tables are checked
    // here, off the browsing thread, so that page reads stay short and a damaged file reads as
    // no file from the start.
    static std::unique_ptr<CatalogueConnection> Open(const std::filesystem::path& file);

    MdbHandle* Mdb() const { return mdb_.get(); }

    // The live row count of the table defined on `tdefPage`; none when it is damaged.
    std::optional<int> Check(std::uint32_t tdefPage);

  private:
    explicit CatalogueConnection(const std::filesystem::path& file) : raw_(file) {}
    bool CheckEveryTable();

    RawFile raw_;
    std::unique_ptr<MdbHandle, MdbHandleCloser> mdb_;
    std::map<std::uint32_t, std::optional<int>> checkedTables_;
};

enum class OpenResult { Opened, Missing, Damaged };

// One table opened for a walk from its first row, with some of its columns bound.
class TableWalk {
  public:
    TableWalk(CatalogueConnection& connection, const std::string& name);
    TableWalk(const TableWalk&) = delete;
    TableWalk& operator=(const TableWalk&) = delete;

    OpenResult Result() const { return result_; }
    int RowCount() const { return *rowCount_; }

    // Binds a column by name; -1 when there is none.
    int Bind(const std::string& name);
    bool Next();

    std::string Text(int slot) const;
    // The bytes of a long binary value, chunk by chunk with caps; none when the stored value
    // is inconsistent (cycles, a cut file, lengths that disagree).
    std::optional<std::string> Bytes(int slot);

  private:
    bool IsLong(int slot) const;

    CatalogueConnection& connection_;
    std::unique_ptr<MdbTableDef, MdbTableDefFreer> table_;
    OpenResult result_ = OpenResult::Missing;
    std::optional<int> rowCount_;
    // Stable addresses: libmdb keeps pointers to these between fetches.
    std::deque<std::string> buffers_;
    std::deque<int> lengths_;
    std::vector<MdbColumn*> columns_;
};

}  // namespace glyphwell::catalogue
