#include "catalogue/JetPageChecks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace glyphwell::catalogue {
namespace {

// Far above any sample picture; a larger recorded length marks a damaged file.
constexpr std::size_t kMaxLongValue = 64 * 1024 * 1024;

// The first byte of a page.
constexpr std::uint8_t kHeaderPage = 0x00;
constexpr std::uint8_t kRowPage = 0x01;
constexpr std::uint8_t kTableDefinitionPage = 0x02;

// Offsets in the header page.
constexpr std::size_t kHeaderVersion = 0x14;
constexpr std::uint32_t kVersionJet4 = 1;
constexpr std::size_t kHeaderDatabaseKey = 0x3E;

// Row pages: page type, a constant 1, free space, owner (or "LVAL"), four unknown bytes, row
// count, then one offset a row.
constexpr std::size_t kRowPageOwner = 4;
constexpr std::size_t kRowPageRowCount = 12;
constexpr std::size_t kRowPageHeader = 14;
constexpr std::size_t kRowPageOffset = 2;
constexpr char kLongValueOwner[4] = {'L', 'V', 'A', 'L'};
constexpr std::uint32_t kRowOffsetMask = 0x1FFF;
constexpr std::uint32_t kRowDeleted = 0x8000;
constexpr std::uint32_t kRowOverflow = 0x4000;

// A pointer to a row: its page above the row's number on that page.
constexpr unsigned kPointerPageShift = 8;
constexpr std::uint32_t kPointerRowMask = 0xFF;

// Offsets in a table definition page.
constexpr std::size_t kTdefNextPage = 4;
constexpr std::size_t kTdefVarCols = 43;
constexpr std::size_t kTdefCols = 45;
constexpr std::size_t kTdefRealIndexes = 51;
constexpr std::size_t kTdefUsageMap = 55;
constexpr std::size_t kTdefFreeMap = 59;
constexpr std::size_t kTdefRealIndexEntries = 63;
constexpr std::size_t kRealIndexEntry = 12;
constexpr std::size_t kColumnEntry = 25;
// Each column name follows the column entries, after its length.
constexpr std::size_t kColumnNameLength = 2;
constexpr std::uint32_t kMaxColumns = 255;
constexpr std::uint32_t kMaxRealIndexes = 64;

// Offsets in a column entry.
constexpr std::size_t kColumnType = 0;
constexpr std::size_t kColumnNumber = 5;
constexpr std::size_t kColumnVarIndex = 7;
constexpr std::size_t kColumnFlags = 15;
constexpr std::uint32_t kColumnFixed = 0x01;

// An in-row usage map: its type, the first page, then one bit a page.
constexpr std::uint32_t kUsageMapInRow = 0;
constexpr std::size_t kUsageMapType = 0;
constexpr std::size_t kUsageMapFirstPage = 1;
constexpr std::size_t kUsageMapBits = 5;

// A row: column count, fixed columns, variable data, end of data, variable offsets in reverse,
// variable count, null mask (a set bit is a value).
constexpr std::size_t kRowColumnCount = 0;
constexpr std::size_t kRowFieldSize = 2;  // the column count, each offset, the variable count

// A long value's header: length and flags, then a pointer to its first row.
constexpr std::size_t kLongValuePointer = 4;
constexpr std::uint32_t kLongLengthMask = 0x3FFFFFFF;
constexpr std::uint32_t kLongFlagsMask = 0xC0000000;
constexpr std::uint32_t kLongInline = 0x80000000;
constexpr std::uint32_t kLongSingleRow = 0x40000000;
// A piece of a long-value chain starts with the pointer to the next piece.
constexpr std::size_t kChainPieceHeader = 4;

// A field at a fixed offset of a whole page, checked when compiled.
template <std::size_t At>
std::uint32_t PageField16(const PageBytes& page) {
    static_assert(At + 2 <= kJetPageSize);
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

ByteSpan AsBytes(const std::string& bytes) {
    return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}

// A row as libmdb cracks it.
struct RowLayout {
    std::uint32_t columns = 0;
    ByteSpan nullMask;
    // Where each variable column starts, then the end of data: ascending and inside the row.
    std::vector<std::uint32_t> varOffsets;
};

std::optional<RowLayout> ParseRow(ByteSpan row, std::uint32_t tableColumns,
                                  std::uint32_t tableVarColumns) {
    const std::optional<std::uint32_t> rowColumns = Read16(row, kRowColumnCount);
    if (!rowColumns || *rowColumns == 0 || *rowColumns > tableColumns) {
        return std::nullopt;
    }
    const std::size_t mask = (*rowColumns + 7) / 8;
    if (row.size() < kRowFieldSize + mask) {
        return std::nullopt;
    }
    RowLayout layout{*rowColumns, row.last(mask), {}};
    // Without variable columns in the table libmdb reads no offsets, so none are taken here.
    if (tableVarColumns == 0) {
        return layout;
    }
    // Before the null mask: the variable count, and before it the offsets.
    const ByteSpan body = row.first(row.size() - mask);
    const std::optional<std::uint32_t> rowVarColumns = Read16(body, body.size() - kRowFieldSize);
    if (!rowVarColumns || *rowVarColumns > tableColumns) {
        return std::nullopt;
    }
    const std::size_t trailer = mask + kRowFieldSize * (std::size_t{*rowVarColumns} + 2);
    if (row.size() < kRowFieldSize + trailer) {
        return std::nullopt;
    }
    std::uint32_t previous = kRowFieldSize;
    for (std::uint32_t i = 0; i <= *rowVarColumns; ++i) {
        const std::optional<std::uint32_t> offset =
            Read16(body, body.size() - kRowFieldSize * (i + 2));
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
    const std::uint32_t count = PageField16<kRowPageRowCount>(page);
    if (kRowPageHeader + kRowPageOffset * count > kJetPageSize) {
        return std::nullopt;
    }
    std::vector<PageRow> rows;
    std::size_t end = kJetPageSize;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::optional<std::uint32_t> offset =
            Read16(page, kRowPageHeader + kRowPageOffset * i);
        if (!offset) {
            return std::nullopt;
        }
        const std::size_t start = *offset & kRowOffsetMask;
        const bool deleted = (*offset & kRowDeleted) != 0;
        // An overflow pointer is never written for catalogue files.
        if ((!deleted && (*offset & kRowOverflow) != 0) ||
            start < kRowPageHeader + kRowPageOffset * count || start > end) {
            return std::nullopt;
        }
        rows.push_back({start, end - start, deleted});
        end = start;
    }
    return rows;
}

std::optional<std::string> PageRowBytes(const RawFile& raw, std::uint32_t pointer,
                                        bool longValuePage = false) {
    PageBytes page;
    if (!raw.Read(pointer >> kPointerPageShift, page) ||
        (longValuePage &&
         (page[0] != kRowPage || std::memcmp(page.data() + kRowPageOwner, kLongValueOwner,
                                             sizeof kLongValueOwner) != 0))) {
        return std::nullopt;
    }
    const std::optional<std::vector<PageRow>> rows = RowsOfPage(page);
    if (!rows || (pointer & kPointerRowMask) >= rows->size()) {
        return std::nullopt;
    }
    const PageRow& row = (*rows)[pointer & kPointerRowMask];
    const std::optional<ByteSpan> bytes = Slice(page, row.start, row.length);
    if (!bytes) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

// Where a long-binary column's value sits in a row: its bit in the null mask and its place
// among the variable columns.
struct LongColumn {
    std::uint32_t number = 0;
    std::uint32_t varIndex = 0;
};

// A stored long value as libmdb reads it: inline, one long-value row, or a chain of rows whose
// lengths must add up to the length in the header, without a cycle.
bool LongValueIsSound(const RawFile& raw, ByteSpan field) {
    if (field.empty()) {
        return true;
    }
    const std::optional<std::size_t> expected = LongValueLength(field);
    if (!expected) {
        return false;
    }
    const std::uint32_t flags = *Read32(field, 0) & kLongFlagsMask;
    if (flags == kLongInline) {
        return *expected <= field.size() - kLongValueHeader;
    }
    std::optional<std::uint32_t> pointer = Read32(field, kLongValuePointer);
    if (flags == kLongSingleRow) {
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
        if (!row || row->size() <= kChainPieceHeader || pieces >= *expected) {
            return false;
        }
        total += row->size() - kChainPieceHeader;
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

}  // namespace

RawFile::RawFile(const std::filesystem::path& path) {
    // The type is looked at before opening, so that nothing else is opened at all; the
    // non-blocking open and the second look cover a file swapped in between.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return;
    }
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ >= 0 && ::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode)) {
        pageCount_ = static_cast<std::uint64_t>(status.st_size) / kJetPageSize;
    }
}

RawFile::~RawFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool RawFile::Read(std::uint32_t page, PageBytes& bytes) const {
    if (page >= pageCount_) {
        return false;
    }
    const auto offset = static_cast<off_t>(page) * static_cast<off_t>(kJetPageSize);
    return ::pread(fd_, bytes.data(), kJetPageSize, offset) == static_cast<ssize_t>(kJetPageSize);
}

bool LooksLikeJet4(const RawFile& raw) {
    PageBytes header;
    if (raw.PageCount() <= kCatalogPage || !raw.Read(0, header)) {
        return false;
    }
    // The database key must unmask to 0: with any other key libmdb decrypts every page, and the
    // checks here would vouch for bytes it never reads. These are the mask's own bytes there
    // (RC4 with key C7 DA 39 6B, from 0x18), which is what a key of 0 looks like.
    static constexpr unsigned char kZeroKey[4] = {0xFB, 0x8A, 0xBC, 0x4E};
    return header[0] == kHeaderPage && PageField32<kHeaderVersion>(header) == kVersionJet4 &&
           std::memcmp(header.data() + kHeaderDatabaseKey, kZeroKey, sizeof kZeroKey) == 0;
}

std::optional<int> CheckTable(const RawFile& raw, std::uint32_t tdefPage) {
    PageBytes tdef;
    if (!raw.Read(tdefPage, tdef) || tdef[0] != kTableDefinitionPage ||
        PageField32<kTdefNextPage>(tdef) != 0) {
        return std::nullopt;
    }
    const std::uint32_t varColumns = PageField16<kTdefVarCols>(tdef);
    const std::uint32_t columns = PageField16<kTdefCols>(tdef);
    const std::uint32_t realIndexes = PageField32<kTdefRealIndexes>(tdef);
    if (columns == 0 || columns > kMaxColumns || varColumns > columns ||
        realIndexes > kMaxRealIndexes) {
        return std::nullopt;
    }
    std::size_t at = kTdefRealIndexEntries + kRealIndexEntry * std::size_t{realIndexes};
    std::vector<LongColumn> longColumns;
    std::uint32_t entriesWithoutFixedSize = 0;
    for (std::uint32_t i = 0; i < columns; ++i, at += kColumnEntry) {
        const std::optional<ByteSpan> entry = Slice(tdef, at, kColumnEntry);
        if (!entry) {
            return std::nullopt;
        }
        const std::uint32_t type = *Read8(*entry, kColumnType);
        const bool fixed = (*Read8(*entry, kColumnFlags) & kColumnFixed) != 0;
        entriesWithoutFixedSize += fixed ? 0 : 1;
        if (!fixed && (type == kColumnTypeLongBinary || type == kColumnTypeMemo)) {
            longColumns.push_back(
                {*Read16(*entry, kColumnNumber), *Read16(*entry, kColumnVarIndex)});
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
        at += kColumnNameLength + *nameLength;
    }
    if (at >= kJetPageSize) {
        return std::nullopt;
    }
    const std::optional<std::string> map = PageRowBytes(raw, PageField32<kTdefUsageMap>(tdef));
    if (!map || map->size() < kUsageMapBits ||
        *Read8(AsBytes(*map), kUsageMapType) != kUsageMapInRow ||
        !PageRowBytes(raw, PageField32<kTdefFreeMap>(tdef))) {
        return std::nullopt;
    }
    const ByteSpan bits = AsBytes(*map);
    const std::uint64_t firstPage = *Read32(bits, kUsageMapFirstPage);
    int liveRows = 0;
    for (std::size_t i = 0; i < (bits.size() - kUsageMapBits) * 8; ++i) {
        if ((bits[kUsageMapBits + i / 8] & (1 << (i % 8))) == 0) {
            continue;
        }
        PageBytes page;
        if (firstPage + i > UINT32_MAX ||
            !raw.Read(static_cast<std::uint32_t>(firstPage + i), page) || page[0] != kRowPage ||
            PageField32<kRowPageOwner>(page) != tdefPage) {
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

std::optional<std::size_t> LongValueLength(ByteSpan field) {
    const std::optional<std::uint32_t> word = Read32(field, 0);
    if (field.size() < kLongValueHeader || !word || (*word & kLongLengthMask) > kMaxLongValue) {
        return std::nullopt;
    }
    return *word & kLongLengthMask;
}

}  // namespace glyphwell::catalogue
