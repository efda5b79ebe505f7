#include "catalogue/CatalogueDatabase.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <span>

#include <mdbtools.h>

#include "catalogue/PackedData.h"

namespace glyphwell::catalogue {
namespace {

constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kRowPageHeader = 14;
constexpr std::uint32_t kCatalogPage = 2;
constexpr std::size_t kLongValueHeader = 12;
// Far above any sample picture; a larger recorded length marks a damaged file.
constexpr std::size_t kMaxLongValue = 64 * 1024 * 1024;

using PageBytes = std::array<unsigned char, kPageSize>;
using ByteSpan = std::span<const unsigned char>;

// A field at a fixed offset of a whole page, checked when compiled.
template <std::size_t At>
std::uint32_t PageField16(const PageBytes& page) {
    static_assert(At + 2 <= kPageSize);
    return page[At] | (std::uint32_t{page[At + 1]} << 8);
}

template <std::size_t At>
std::uint32_t PageField32(const PageBytes& page) {
    return PageField16<At>(page) | (PageField16<At + 2>(page) << 16);
}

// Fields at offsets that come from the file: none where the bytes end first.
std::optional<ByteSpan> Slice(ByteSpan bytes, std::size_t at, std::size_t length) {
    if (at > bytes.size() || length > bytes.size() - at) {
        return std::nullopt;
    }
    return bytes.subspan(at, length);
}

std::optional<std::uint32_t> Read8(ByteSpan bytes, std::size_t at) {
    const std::optional<ByteSpan> field = Slice(bytes, at, 1);
    return field ? std::optional<std::uint32_t>((*field)[0]) : std::nullopt;
}

std::optional<std::uint32_t> Read16(ByteSpan bytes, std::size_t at) {
    const std::optional<ByteSpan> field = Slice(bytes, at, 2);
    if (!field) {
        return std::nullopt;
    }
    return (*field)[0] | (std::uint32_t{(*field)[1]} << 8);
}

std::optional<std::uint32_t> Read32(ByteSpan bytes, std::size_t at) {
    const std::optional<ByteSpan> field = Slice(bytes, at, 4);
    if (!field) {
        return std::nullopt;
    }
    return *Read16(*field, 0) | (*Read16(*field, 2) << 16);
}

// Pages read past libmdb, to check what it would walk before it walks it.
class RawFile {
  public:
    explicit RawFile(const std::filesystem::path& path) {
        // Only a regular file: opening a FIFO blocks until a writer comes, and a device may act
        // on being opened. The non-blocking open and the second look cover a file swapped in
        // between.
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
            return;
        }
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd_ >= 0 && ::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode)) {
            pageCount_ = static_cast<std::uint64_t>(status.st_size) / kPageSize;
        }
    }
    ~RawFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    std::uint64_t PageCount() const { return pageCount_; }

    bool Read(std::uint32_t page, PageBytes& bytes) const {
        if (page >= pageCount_) {
            return false;
        }
        const auto offset = static_cast<off_t>(page) * static_cast<off_t>(kPageSize);
        return ::pread(fd_, bytes.data(), kPageSize, offset) == static_cast<ssize_t>(kPageSize);
    }

  private:
    int fd_ = -1;
    std::uint64_t pageCount_ = 0;
};

// A row as libmdb cracks it: column count, ..., variable offsets and end of data in reverse,
// variable count, null mask.
struct RowLayout {
    std::uint32_t columns = 0;
    ByteSpan nullMask;
    // Where each variable column starts, then the end of data: ascending and inside the row.
    std::vector<std::uint32_t> varOffsets;
};

std::optional<RowLayout> ParseRow(ByteSpan row, std::uint32_t tableColumns,
                                  std::uint32_t tableVarColumns) {
    const std::optional<std::uint32_t> rowColumns = Read16(row, 0);
    if (!rowColumns || *rowColumns == 0 || *rowColumns > tableColumns) {
        return std::nullopt;
    }
    const std::size_t mask = (*rowColumns + 7) / 8;
    if (row.size() < 2 + mask) {
        return std::nullopt;
    }
    RowLayout layout{*rowColumns, row.last(mask), {}};
    // Without variable columns in the table libmdb reads no offsets, so none are taken here.
    if (tableVarColumns == 0) {
        return layout;
    }
    const ByteSpan body = row.first(row.size() - mask);
    const std::optional<std::uint32_t> rowVarColumns = Read16(body, body.size() - 2);
    if (!rowVarColumns || *rowVarColumns > tableColumns) {
        return std::nullopt;
    }
    const std::size_t trailer = mask + 2 + 2 * (std::size_t{*rowVarColumns} + 1);
    if (row.size() < 2 + trailer) {
        return std::nullopt;
    }
    std::uint32_t previous = 2;
    for (std::uint32_t i = 0; i <= *rowVarColumns; ++i) {
        const std::optional<std::uint32_t> offset = Read16(body, body.size() - 4 - 2 * i);
        if (!offset || *offset < previous || *offset > row.size() - trailer) {
            return std::nullopt;
        }
        layout.varOffsets.push_back(*offset);
        previous = *offset;
    }
    return layout;
}

struct PageRow {
    std::size_t start = 0;
    std::size_t length = 0;
    bool deleted = false;
};

// The rows of a page as libmdb finds them: each ends where the one before it starts.
std::optional<std::vector<PageRow>> RowsOfPage(const PageBytes& page) {
    const std::uint32_t count = PageField16<12>(page);
    if (kRowPageHeader + 2 * std::size_t{count} > kPageSize) {
        return std::nullopt;
    }
    std::vector<PageRow> rows;
    std::size_t end = kPageSize;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::optional<std::uint32_t> offset = Read16(page, kRowPageHeader + 2 * i);
        if (!offset) {
            return std::nullopt;
        }
        const std::size_t start = *offset & 0x1FFF;
        const bool deleted = (*offset & 0x8000) != 0;
        // An overflow pointer (0x4000 alone) is never written for catalogue files.
        if ((!deleted && (*offset & 0x4000) != 0) || start < kRowPageHeader + 2 * count ||
            start > end) {
            return std::nullopt;
        }
        rows.push_back({start, end - start, deleted});
        end = start;
    }
    return rows;
}

std::optional<std::string> PageRowBytes(const RawFile& raw, std::uint32_t pageRow,
                                        bool longValuePage = false) {
    PageBytes page;
    if (!raw.Read(pageRow >> 8, page) ||
        (longValuePage && (page[0] != 0x01 || std::memcmp(page.data() + 4, "LVAL", 4) != 0))) {
        return std::nullopt;
    }
    const std::optional<std::vector<PageRow>> rows = RowsOfPage(page);
    if (!rows || (pageRow & 0xFF) >= rows->size()) {
        return std::nullopt;
    }
    const PageRow& row = (*rows)[pageRow & 0xFF];
    const std::optional<ByteSpan> bytes = Slice(page, row.start, row.length);
    if (!bytes) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

ByteSpan AsBytes(const std::string& bytes) {
    return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}

// Where a long-binary column's value sits in a row: its bit in the null mask and its place
// among the variable columns.
struct LongColumn {
    std::uint32_t number = 0;
    std::uint32_t varIndex = 0;
};

// The length a long value's header records; none for a short field or a length past the cap.
std::optional<std::size_t> LongValueLength(ByteSpan field) {
    const std::optional<std::uint32_t> word = Read32(field, 0);
    if (field.size() < kLongValueHeader || !word || (*word & 0x3FFFFFFF) > kMaxLongValue) {
        return std::nullopt;
    }
    return *word & 0x3FFFFFFF;
}

// A stored long value as libmdb reads it: inline, one long-value row, or a chain of rows whose
// lengths must add up to the length in the 12-byte header, without a cycle.
bool LongValueIsSound(const RawFile& raw, ByteSpan field) {
    if (field.empty()) {
        return true;
    }
    const std::optional<std::size_t> expected = LongValueLength(field);
    if (!expected) {
        return false;
    }
    const std::uint32_t flags = *Read32(field, 0) & 0xC0000000;
    if (flags == 0x80000000) {
        return *expected <= field.size() - kLongValueHeader;
    }
    std::optional<std::uint32_t> pointer = Read32(field, 4);
    if (flags == 0x40000000) {
        const std::optional<std::string> row = PageRowBytes(raw, *pointer, true);
        return row && row->size() == *expected;
    }
    if (flags != 0) {
        return false;
    }
    std::size_t total = 0;
    // Every piece holds at least one byte, so a sound chain has at most `expected` pieces.
    for (std::size_t pieces = 0; *pointer != 0; ++pieces) {
        const std::optional<std::string> row = PageRowBytes(raw, *pointer, true);
        if (!row || row->size() <= 4 || pieces >= *expected) {
            return false;
        }
        total += row->size() - 4;
        if (total > *expected) {
            return false;
        }
        pointer = Read32(AsBytes(*row), 0);
    }
    return total == *expected;
}

bool LongValuesAreSound(const RawFile& raw, ByteSpan row, const RowLayout& layout,
                        const std::vector<LongColumn>& longColumns) {
    for (const LongColumn& column : longColumns) {
        if (column.number >= layout.columns || column.varIndex + 1 >= layout.varOffsets.size() ||
            (layout.nullMask[column.number / 8] & (1 << (column.number % 8))) == 0) {
            continue;
        }
        const std::uint32_t start = layout.varOffsets[column.varIndex];
        const std::optional<ByteSpan> field =
            Slice(row, start, layout.varOffsets[column.varIndex + 1] - start);
        if (!field || !LongValueIsSound(raw, *field)) {
            return false;
        }
    }
    return true;
}

// Checks a table's definition page, usage map, data pages and long values; the live row count
// when all are sound. Only single-page definitions and in-row usage maps are accepted.
std::optional<int> CheckTable(const RawFile& raw, std::uint32_t tdefPage) {
    PageBytes tdef;
    if (!raw.Read(tdefPage, tdef) || tdef[0] != 0x02 || PageField32<4>(tdef) != 0) {
        return std::nullopt;
    }
    const std::uint32_t varColumns = PageField16<43>(tdef);
    const std::uint32_t columns = PageField16<45>(tdef);
    const std::uint32_t realIndexes = PageField32<51>(tdef);
    if (columns == 0 || columns > 255 || varColumns > columns || realIndexes > 64) {
        return std::nullopt;
    }
    std::size_t at = 63 + 12 * std::size_t{realIndexes};
    std::vector<LongColumn> longColumns;
    std::uint32_t entriesWithoutFixedSize = 0;
    for (std::uint32_t i = 0; i < columns; ++i, at += 25) {
        const std::optional<ByteSpan> entry = Slice(tdef, at, 25);
        if (!entry) {
            return std::nullopt;
        }
        const std::uint32_t type = *Read8(*entry, 0);
        const bool fixed = (*Read8(*entry, 15) & 0x01) != 0;
        entriesWithoutFixedSize += fixed ? 0 : 1;
        if (!fixed && (type == MDB_OLE || type == MDB_MEMO)) {
            longColumns.push_back({*Read16(*entry, 5), *Read16(*entry, 7)});
        }
    }
    // libmdb decides by this count whether rows have variable data at all; one that disagrees
    // with the entries marks a damaged definition.
    if (entriesWithoutFixedSize != varColumns) {
        return std::nullopt;
    }
    for (std::uint32_t i = 0; i < columns; ++i) {
        const std::optional<std::uint32_t> nameLength = Read16(tdef, at);
        if (!nameLength) {
            return std::nullopt;
        }
        at += 2 + *nameLength;
    }
    if (at >= kPageSize) {
        return std::nullopt;
    }
    const std::optional<std::string> map = PageRowBytes(raw, PageField32<55>(tdef));
    if (!map || map->size() < 5 || (*map)[0] != 0 || !PageRowBytes(raw, PageField32<59>(tdef))) {
        return std::nullopt;
    }
    const ByteSpan bits = AsBytes(*map);
    const std::uint64_t firstPage = *Read32(bits, 1);
    int liveRows = 0;
    for (std::size_t i = 0; i < (bits.size() - 5) * 8; ++i) {
        if ((bits[5 + i / 8] & (1 << (i % 8))) == 0) {
            continue;
        }
        PageBytes page;
        if (firstPage + i > UINT32_MAX ||
            !raw.Read(static_cast<std::uint32_t>(firstPage + i), page) || page[0] != 0x01 ||
            PageField32<4>(page) != tdefPage) {
            return std::nullopt;
        }
        const std::optional<std::vector<PageRow>> rows = RowsOfPage(page);
        if (!rows) {
            return std::nullopt;
        }
        for (const PageRow& pageRow : *rows) {
            if (pageRow.deleted) {
                continue;
            }
            const std::optional<ByteSpan> row = Slice(page, pageRow.start, pageRow.length);
            const std::optional<RowLayout> layout =
                row ? ParseRow(*row, columns, varColumns) : std::nullopt;
            if (!layout || !LongValuesAreSound(raw, *row, *layout, longColumns)) {
                return std::nullopt;
            }
            ++liveRows;
        }
    }
    return liveRows;
}

bool LooksLikeJet4(const RawFile& raw) {
    PageBytes header;
    if (raw.PageCount() <= kCatalogPage || !raw.Read(0, header)) {
        return false;
    }
    // The database key at 0x3E must unmask to 0: with any other key libmdb decrypts every page,
    // and the checks here would vouch for bytes it never reads. These are the mask's own bytes
    // there (RC4 with key C7 DA 39 6B, from 0x18), which is what a key of 0 looks like.
    static constexpr unsigned char kZeroKey[4] = {0xFB, 0x8A, 0xBC, 0x4E};
    return header[0] == 0x00 && PageField32<0x14>(header) == 1 &&
           std::memcmp(header.data() + 0x3E, kZeroKey, 4) == 0;
}

}  // namespace

struct CatalogueDatabase::Connection {
    explicit Connection(const std::filesystem::path& path) : raw(path) {}
    ~Connection() {
        if (mdb) {
            mdb_close(mdb);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    RawFile raw;
    MdbHandle* mdb = nullptr;
    std::map<std::uint32_t, std::optional<int>> checkedTables;

    // All tables are checked here, off the browsing thread, so that page reads stay short and
    // a damaged file reads as no file from the start.
    bool CheckEveryTable() {
        if (!mdb_read_catalog(mdb, MDB_TABLE)) {
            return false;
        }
        std::vector<std::uint32_t> tdefPages;
        for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
            const auto* entry = static_cast<const MdbCatalogEntry*>(mdb->catalog->pdata[i]);
            tdefPages.push_back(static_cast<std::uint32_t>(entry->table_pg));
        }
        for (std::uint32_t page : tdefPages) {
            if (!Check(page)) {
                return false;
            }
        }
        return true;
    }

    std::optional<int> Check(std::uint32_t tdefPage) {
        auto it = checkedTables.find(tdefPage);
        if (it == checkedTables.end()) {
            it = checkedTables.emplace(tdefPage, CheckTable(raw, tdefPage)).first;
        }
        return it->second;
    }
};

namespace {

enum class OpenResult { Opened, Missing, Damaged };

// One table opened for a walk from its first row, with some of its columns bound.
class TableWalk {
  public:
    TableWalk(CatalogueDatabase::Connection& connection, const std::string& name)
        : connection_(connection) {
        std::string mutableName = name;
        table_ = mdb_read_table_by_name(connection.mdb, mutableName.data(), MDB_TABLE);
        if (!table_) {
            result_ = OpenResult::Missing;
            return;
        }
        rowCount_ = connection.Check(static_cast<std::uint32_t>(table_->entry->table_pg));
        if (!rowCount_ || !mdb_read_columns(table_)) {
            result_ = OpenResult::Damaged;
            return;
        }
        mdb_rewind_table(table_);  // always 0
        result_ = OpenResult::Opened;
    }
    ~TableWalk() {
        if (table_) {
            mdb_free_tabledef(table_);
        }
    }
    TableWalk(const TableWalk&) = delete;
    TableWalk& operator=(const TableWalk&) = delete;

    OpenResult Result() const { return result_; }
    int RowCount() const { return *rowCount_; }

    // Binds a column by name; -1 when there is none.
    int Bind(const std::string& name) {
        for (unsigned int i = 0; i < table_->num_cols; ++i) {
            auto* column = static_cast<MdbColumn*>(table_->columns->pdata[i]);
            if (name == column->name) {
                buffers_.emplace_back(connection_.mdb->bind_size + 1, '\0');
                lengths_.push_back(0);
                columns_.push_back(column);
                mdb_bind_column(table_, static_cast<int>(i + 1), buffers_.back().data(),
                                &lengths_.back());
                return static_cast<int>(columns_.size() - 1);
            }
        }
        return -1;
    }

    bool Next() { return mdb_fetch_row(table_) != 0; }

    std::string Text(int slot) const {
        if (slot < 0 || lengths_[slot] <= 0 || IsLong(slot)) {
            return {};
        }
        const std::string& buffer = buffers_[slot];
        return std::string(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
    }

    // The bytes of a long binary value, chunk by chunk with caps; none when the stored value
    // is inconsistent (cycles, a cut file, lengths that disagree).
    std::optional<std::string> Bytes(int slot) {
        if (slot < 0 || lengths_[slot] <= 0 || columns_[slot]->col_type != MDB_OLE) {
            return std::string();
        }
        if (static_cast<std::size_t>(lengths_[slot]) < kLongValueHeader) {
            return std::nullopt;
        }
        unsigned char header[kLongValueHeader];
        std::memcpy(header, buffers_[slot].data(), kLongValueHeader);
        const std::optional<std::size_t> expected = LongValueLength(header);
        if (!expected) {
            return std::nullopt;
        }
        MdbColumn* column = columns_[slot];
        const std::size_t bindSize = connection_.mdb->bind_size;
        std::string value;
        std::size_t chunk = mdb_ole_read(connection_.mdb, column, header, bindSize);
        for (std::size_t chunks = 1; chunk > 0; ++chunks) {
            if (chunk > bindSize || value.size() + chunk > *expected || chunks > *expected + 1) {
                return std::nullopt;
            }
            value.append(buffers_[slot].data(), chunk);
            chunk = mdb_ole_read_next(connection_.mdb, column, header);
        }
        if (value.size() != *expected) {
            return std::nullopt;
        }
        return value;
    }

  private:
    bool IsLong(int slot) const {
        return columns_[slot]->col_type == MDB_OLE || columns_[slot]->col_type == MDB_MEMO;
    }

    CatalogueDatabase::Connection& connection_;
    MdbTableDef* table_ = nullptr;
    OpenResult result_ = OpenResult::Missing;
    std::optional<int> rowCount_;
    // Stable addresses: libmdb keeps pointers to these between fetches.
    std::deque<std::string> buffers_;
    std::deque<int> lengths_;
    std::vector<MdbColumn*> columns_;
};

}  // namespace

namespace {

// Fills `result` from an opened walk; false when a stored value turns out damaged.
long long SkippedRows(int page) {
    return (static_cast<long long>(page) - 1) * kCataloguePageSize;
}

bool ReadPage(TableWalk& walk, int page, CataloguePage& result) {
    const long long skip = SkippedRows(page);
    const long long remaining = walk.RowCount() - skip;
    result.Remaining = static_cast<int>(remaining);
    if (skip < 0 || remaining <= 0) {
        return true;
    }
    // Unbound rows are skipped without converting their values.
    for (long long i = 0; i < skip; ++i) {
        if (!walk.Next()) {
            return true;
        }
    }
    const int nameSlot = walk.Bind("字体名");
    const int addressSlot = walk.Bind("字体地址");
    const int pictureSlot = walk.Bind("图片");
    for (long long i = 0; i < std::min<long long>(kCataloguePageSize, remaining); ++i) {
        if (!walk.Next()) {
            break;
        }
        std::optional<std::string> picture = walk.Bytes(pictureSlot);
        if (!picture) {
            return false;
        }
        result.Fonts.push_back({walk.Text(nameSlot), walk.Text(addressSlot), UnpackData(*picture)});
    }
    return true;
}

}  // namespace

std::optional<std::string> CategoryColumn(int categoryIndex) {
    static const char* const kColumns[] = {"中文字体", "英文字体",  "精品推荐",
                                           "专题字体", "名人字体",  "商业字体",
                                           "CAD字体",  "MACOS字体", "安卓手机字体"};
    if (categoryIndex < 0 || categoryIndex >= static_cast<int>(std::size(kColumns))) {
        return std::nullopt;
    }
    return kColumns[categoryIndex];
}

int PageCount(int count) {
    return count / kCataloguePageSize + (count % kCataloguePageSize != 0 ? 1 : 0);
}

PictureKind DetectPictureKind(std::string_view bytes) {
    const auto at = [&](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : -1;
    };
    if (at(0) == 0xFF && at(1) == 0xD8) {
        return PictureKind::Jpeg;
    }
    if (bytes.starts_with("BM")) {
        return PictureKind::Bmp;
    }
    if (at(0) == 0 && at(1) == 0 && at(3) == 0 && (at(2) == 1 || at(2) == 2)) {
        return at(2) == 1 ? PictureKind::Icon : PictureKind::Cursor;
    }
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) {
        return PictureKind::Gif;
    }
    // PCX: manufacturer 10, a known version, run-length encoding.
    const int version = at(1);
    if (at(0) == 0x0A && (version == 0 || (version >= 2 && version <= 5)) && at(2) == 1) {
        return PictureKind::Pcx;
    }
    return PictureKind::None;
}

const char* PictureKindName(PictureKind kind) {
    switch (kind) {
        case PictureKind::Jpeg:
            return "jpeg";
        case PictureKind::Bmp:
            return "bmp";
        case PictureKind::Icon:
            return "icon";
        case PictureKind::Cursor:
            return "cursor";
        case PictureKind::Gif:
            return "gif";
        case PictureKind::Pcx:
            return "pcx";
        case PictureKind::None:
            break;
    }
    return "none";
}

CatalogueDatabase::CatalogueDatabase(std::filesystem::path file, std::function<void()> showCategory)
    : file_(std::move(file)), showCategory_(std::move(showCategory)) {}

CatalogueDatabase::~CatalogueDatabase() {
    CloseCatalogue();
}

void CatalogueDatabase::OpenCatalogue() {
    {
        std::lock_guard lock(mutex_);
        CloseLocked();
        auto connection = std::make_unique<Connection>(file_);
        if (LooksLikeJet4(connection->raw) && connection->Check(kCatalogPage)) {
            connection->mdb = mdb_open(file_.c_str(), MDB_NOFLAGS);
        }
        if (connection->mdb && connection->CheckEveryTable()) {
            connection_ = connection.release();
        }
    }
    // Outside the lock: showing the category reads from this database.
    if (showCategory_) {
        showCategory_();
    }
}

void CatalogueDatabase::CloseCatalogue() {
    std::lock_guard lock(mutex_);
    CloseLocked();
}

bool CatalogueDatabase::IsOpen() {
    std::lock_guard lock(mutex_);
    return connection_ != nullptr;
}

void CatalogueDatabase::CloseLocked() {
    delete connection_;
    connection_ = nullptr;
}

std::vector<std::string> CatalogueDatabase::ReadSubcategoryNames(int categoryIndex) {
    std::lock_guard lock(mutex_);
    const std::optional<std::string> column = CategoryColumn(categoryIndex);
    if (!connection_ || !column) {
        return {};
    }
    std::vector<std::string> names;
    OpenResult result = OpenResult::Missing;
    {
        TableWalk walk(*connection_, "dl");
        result = walk.Result();
        if (result == OpenResult::Opened) {
            const int slot = walk.Bind(*column);
            // Exactly 20 reads; past the end a read gives empty text.
            for (int i = 0; i < kSubcategoryReads && walk.Next(); ++i) {
                std::string name = walk.Text(slot);
                if (!name.empty()) {
                    names.push_back(std::move(name));
                }
            }
        }
    }
    if (result == OpenResult::Damaged) {
        CloseLocked();
    }
    return names;
}

int CatalogueDatabase::CountCatalogueFonts(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (!connection_) {
        return -1;
    }
    OpenResult result = OpenResult::Missing;
    int count = -1;
    {
        TableWalk walk(*connection_, name);
        result = walk.Result();
        if (result == OpenResult::Opened) {
            count = walk.RowCount();
        }
    }
    if (result == OpenResult::Damaged) {
        CloseLocked();
    }
    return count;
}

CataloguePage CatalogueDatabase::ReadCataloguePage(const std::string& name, int page) {
    std::lock_guard lock(mutex_);
    // A table that cannot be opened counts -1 rows, and Remaining follows from that count.
    const CataloguePage none{static_cast<int>(-1 - SkippedRows(page)), {}};
    if (!connection_) {
        return none;
    }
    CataloguePage result = none;
    bool damaged = false;
    {
        TableWalk walk(*connection_, name);
        damaged = walk.Result() == OpenResult::Damaged;
        if (walk.Result() == OpenResult::Opened) {
            damaged = !ReadPage(walk, page, result);
        }
    }
    if (damaged) {
        CloseLocked();
        return none;
    }
    return result;
}

}  // namespace glyphwell::catalogue
