#include "JetWriter.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string_view>

namespace glyphwell::jet {
namespace {

constexpr std::size_t kPageSize = 4096;
// Page type, a constant 1, free space, owner (or "LVAL"), four unknown bytes, row count.
constexpr std::size_t kRowPageHeader = 14;
constexpr std::size_t kMaxRowsPerPage = 255;
constexpr std::size_t kMaxRowBytes = kPageSize - kRowPageHeader - 2;  // one row, one offset
constexpr std::size_t kChainPieceBytes = kMaxRowBytes - 4;            // after the next pointer
constexpr std::size_t kInlineLimit = 256;
constexpr std::uint32_t kLongLengthMask = 0x3FFFFFFF;
constexpr std::size_t kTextMaxChars = 255;
constexpr std::size_t kNameMaxChars = 64;
constexpr std::uint32_t kCatalogPage = 2;
constexpr std::uint32_t kSystemTableFlags = 0x80000002;

// Offsets in a table definition page.
constexpr std::size_t kTdefRowCount = 16;
constexpr std::size_t kTdefTableType = 40;
constexpr std::size_t kTdefMaxCols = 41;
constexpr std::size_t kTdefVarCols = 43;
constexpr std::size_t kTdefCols = 45;
constexpr std::size_t kTdefUsageMap = 55;
constexpr std::size_t kTdefFreeMap = 59;
constexpr std::size_t kTdefColumns = 63;
constexpr std::size_t kColumnEntry = 25;

enum class Kind : std::uint8_t { LongInteger = 0x04, Text = 0x0A, LongBinary = 0x0B };

struct Column {
    std::string name;
    Kind kind;
};

// A table with its values already in stored form (UCS-2 text, 4-byte integers).
struct Table {
    std::string name;
    std::vector<Column> columns;
    std::vector<JetRow> rows;
    bool system = false;
    std::uint32_t tdefPage = 0;
    std::uint32_t firstDataPage = 0;
    std::uint32_t dataPageCount = 0;
};

using Page = std::string;

void Put16(Page& page, std::size_t at, std::uint32_t value) {
    page[at] = static_cast<char>(value & 0xFF);
    page[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(Page& page, std::size_t at, std::uint32_t value) {
    Put16(page, at, value & 0xFFFF);
    Put16(page, at + 2, value >> 16);
}

std::uint32_t Get16(const Page& page, std::size_t at) {
    return static_cast<unsigned char>(page[at]) |
           (std::uint32_t{static_cast<unsigned char>(page[at + 1])} << 8);
}

void Append16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Append32(std::string& out, std::uint32_t value) {
    Append16(out, value & 0xFFFF);
    Append16(out, value >> 16);
}

Page NewRowPage(std::string_view owner) {
    Page page(kPageSize, '\0');
    page[0] = 0x01;
    page[1] = 0x01;
    std::memcpy(page.data() + 4, owner.data(), 4);
    Put16(page, 2, kPageSize - kRowPageHeader);
    return page;
}

Page NewDataPage(std::uint32_t owner) {
    std::string id;
    Append32(id, owner);
    return NewRowPage(id);
}

std::size_t RowsOn(const Page& page) {
    return Get16(page, 12);
}

// Rows are packed downward from the page end in slot order.
std::size_t RowEnd(const Page& page) {
    const std::size_t rows = RowsOn(page);
    return rows == 0 ? kPageSize : Get16(page, kRowPageHeader + 2 * (rows - 1));
}

bool RowFits(const Page& page, std::size_t size) {
    const std::size_t rows = RowsOn(page);
    return rows < kMaxRowsPerPage && RowEnd(page) >= size + kRowPageHeader + 2 * (rows + 1);
}

std::uint32_t AddRow(Page& page, std::string_view row) {
    const std::size_t rows = RowsOn(page);
    const std::size_t start = RowEnd(page) - row.size();
    std::memcpy(page.data() + start, row.data(), row.size());
    Put16(page, kRowPageHeader + 2 * rows, static_cast<std::uint32_t>(start));
    Put16(page, 12, static_cast<std::uint32_t>(rows + 1));
    Put16(page, 2, static_cast<std::uint32_t>(start - (kRowPageHeader + 2 * (rows + 1))));
    return static_cast<std::uint32_t>(rows);
}

// UTF-8 to UTF-16 code units; false for malformed input.
bool Utf8ToUtf16(std::string_view text, std::u16string& out) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80       ? 1
                                   : lead >> 5 == 6  ? 2
                                   : lead >> 4 == 14 ? 3
                                   : lead >> 3 == 30 ? 4
                                                     : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next >> 6 != 2) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kMinimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        if (code >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return true;
}

std::string Ucs2Bytes(const std::u16string& units) {
    std::string bytes;
    for (char16_t unit : units) {
        Append16(bytes, unit);
    }
    return bytes;
}

// Stored text is plain UCS-2. Only a value that starts with U+FEFF needs the compressed form
// (whose marker FF FE it would otherwise look like): marker, a 00 that switches to two-byte
// characters, then the text. There a character with low byte 00 would read as another switch.
std::optional<std::string> EncodeText(std::string_view utf8, std::size_t maxChars,
                                      std::string& error) {
    std::u16string units;
    if (!Utf8ToUtf16(utf8, units)) {
        error = "text is not UTF-8";
        return std::nullopt;
    }
    if (units.size() > maxChars) {
        error = "text longer than " + std::to_string(maxChars) + " characters";
        return std::nullopt;
    }
    if (units.empty() || units[0] != 0xFEFF) {
        return Ucs2Bytes(units);
    }
    for (char16_t unit : units) {
        if ((unit & 0xFF) == 0) {
            error = "text starting with U+FEFF holds a character with low byte 00";
            return std::nullopt;
        }
    }
    return std::string("\xFF\xFE\x00", 3) + Ucs2Bytes(units);
}

std::string LongInteger(std::uint32_t value) {
    std::string bytes;
    Append32(bytes, value);
    return bytes;
}

bool IsFixed(Kind kind) {
    return kind == Kind::LongInteger;
}

// Long-value pages go after the data pages; single rows share a page, chains take whole pages.
class LongValues {
  public:
    explicit LongValues(std::vector<Page>& pages) : pages_(pages) {}

    std::uint32_t AddSingle(std::string_view value) {
        if (singlePage_ == 0 || !RowFits(pages_[singlePage_], value.size())) {
            singlePage_ = static_cast<std::uint32_t>(pages_.size());
            pages_.push_back(NewRowPage("LVAL"));
        }
        const std::uint32_t row = AddRow(pages_[singlePage_], value);
        return (singlePage_ << 8) | row;
    }

    std::uint32_t AddChain(std::string_view value) {
        const std::size_t pieces = (value.size() + kChainPieceBytes - 1) / kChainPieceBytes;
        const auto first = static_cast<std::uint32_t>(pages_.size());
        for (std::size_t i = 0; i < pieces; ++i) {
            const auto page = static_cast<std::uint32_t>(first + i);
            std::string piece;
            Append32(piece, i + 1 < pieces ? (page + 1) << 8 : 0);
            piece += value.substr(i * kChainPieceBytes, kChainPieceBytes);
            pages_.push_back(NewRowPage("LVAL"));
            AddRow(pages_.back(), piece);
        }
        return first << 8;
    }

  private:
    std::vector<Page>& pages_;
    std::uint32_t singlePage_ = 0;
};

// The stored field of a long value: its 12-byte header, then the bytes when kept inline.
std::string EncodeLongValue(const std::string& value, LongValues* longValues) {
    std::string field;
    const auto length = static_cast<std::uint32_t>(value.size());
    if (value.size() <= kInlineLimit) {
        Append32(field, length | 0x80000000u);
        Append32(field, 0);
        Append32(field, 0);
        return field + value;
    }
    std::uint32_t pointer = 0;
    std::uint32_t flags = 0;
    if (value.size() <= kMaxRowBytes) {
        flags = 0x40000000u;
        pointer = longValues ? longValues->AddSingle(value) : 0;
    } else {
        pointer = longValues ? longValues->AddChain(value) : 0;
    }
    Append32(field, length | flags);
    Append32(field, pointer);
    Append32(field, 0);
    return field;
}

// Number of columns, fixed columns, variable data, end of data, variable offsets in reverse,
// variable count, null mask (a set bit is a value).
std::string EncodeRow(const Table& table, const JetRow& row, LongValues* longValues) {
    std::string fixed;
    std::string varData;
    std::vector<std::uint32_t> varOffsets;
    std::string nullMask((table.columns.size() + 7) / 8, '\0');
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const Column& column = table.columns[i];
        const std::optional<std::string>& value = row[i];
        if (value) {
            nullMask[i / 8] = static_cast<char>(nullMask[i / 8] | (1 << (i % 8)));
        }
        if (IsFixed(column.kind)) {
            fixed += value ? *value : std::string(4, '\0');
            continue;
        }
        varOffsets.push_back(static_cast<std::uint32_t>(2 + varData.size()));
        if (value) {
            varData +=
                column.kind == Kind::LongBinary ? EncodeLongValue(*value, longValues) : *value;
        }
    }
    std::string out;
    Append16(out, static_cast<std::uint32_t>(table.columns.size()));
    out += fixed;
    const auto varStart = static_cast<std::uint32_t>(out.size() - 2);
    out += varData;
    Append16(out, static_cast<std::uint32_t>(out.size()));
    for (auto it = varOffsets.rbegin(); it != varOffsets.rend(); ++it) {
        Append16(out, *it + varStart);
    }
    Append16(out, static_cast<std::uint32_t>(varOffsets.size()));
    return out + nullMask;
}

std::optional<Page> BuildTableDefinition(const Table& table, std::uint32_t usageMap,
                                         std::uint32_t freeMap, std::string& error) {
    Page page(kPageSize, '\0');
    page[0] = 0x02;
    page[1] = 0x01;
    Put32(page, kTdefRowCount, static_cast<std::uint32_t>(table.rows.size()));
    page[kTdefTableType] = table.system ? 0x53 : 0x4E;
    std::uint32_t varColumns = 0;
    std::uint32_t fixedOffset = 0;
    std::size_t at = kTdefColumns;
    std::string names;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const Column& column = table.columns[i];
        if (at + kColumnEntry > kPageSize) {
            error = "table definition of " + table.name + " does not fit in a page";
            return std::nullopt;
        }
        page[at] = static_cast<char>(column.kind);
        Put16(page, at + 5, static_cast<std::uint32_t>(i));
        Put16(page, at + 9, static_cast<std::uint32_t>(i));
        std::uint32_t size = 0;
        std::uint8_t flags = 0x02;  // may be null
        if (IsFixed(column.kind)) {
            flags |= 0x01;
            Put16(page, at + 21, fixedOffset);
            size = 4;
            fixedOffset += 4;
        } else {
            Put16(page, at + 7, varColumns++);
        }
        if (column.kind == Kind::Text) {
            Put16(page, at + 11, 0x409);  // general sort order
            size = 2 * kTextMaxChars;
        }
        page[at + 15] = static_cast<char>(flags);
        Put16(page, at + 23, size);
        at += kColumnEntry;
        std::string unused;
        const std::optional<std::string> name = EncodeText(column.name, kNameMaxChars, unused);
        Append16(names, static_cast<std::uint32_t>(name->size()));
        names += *name;
    }
    Append16(names, 0xFFFF);  // no per-column usage maps
    if (at + names.size() > kPageSize) {
        error = "table definition of " + table.name + " does not fit in a page";
        return std::nullopt;
    }
    std::memcpy(page.data() + at, names.data(), names.size());
    at += names.size();
    Put16(page, 2, static_cast<std::uint32_t>(kPageSize - at - 8));
    Put32(page, 8, static_cast<std::uint32_t>(at - 8));
    const auto count = static_cast<std::uint32_t>(table.columns.size());
    Put16(page, kTdefMaxCols, count);
    Put16(page, kTdefVarCols, varColumns);
    Put16(page, kTdefCols, count);
    Put32(page, kTdefUsageMap, usageMap);
    Put32(page, kTdefFreeMap, freeMap);
    return page;
}

// RC4 with the fixed key that masks the header of page 0.
void MaskHeader(Page& page) {
    static constexpr unsigned char kKey[] = {0xC7, 0xDA, 0x39, 0x6B};
    unsigned char state[256];
    for (int i = 0; i < 256; ++i) {
        state[i] = static_cast<unsigned char>(i);
    }
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + state[i] + kKey[i % 4]) & 0xFF;
        std::swap(state[i], state[j]);
    }
    for (int n = 0, i = 0, j = 0; n < 128; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + state[i]) & 0xFF;
        std::swap(state[i], state[j]);
        page[0x18 + n] = static_cast<char>(page[0x18 + n] ^ state[(state[i] + state[j]) & 0xFF]);
    }
}

Page BuildHeaderPage() {
    Page page(kPageSize, '\0');
    page[1] = 0x01;
    std::memcpy(page.data() + 4, "Standard Jet DB", 15);
    page[0x14] = 0x01;  // Jet 4
    Put16(page, 0x3C, 0x4E4);
    Put32(page, 0x3E, 0);  // database key 0: pages are not encrypted
    Put16(page, 0x6E, 0x409);
    MaskHeader(page);
    return page;
}

// Checks the caller's tables and converts their values to stored form.
std::optional<std::vector<Table>> PrepareTables(const std::vector<JetTable>& tables,
                                                std::string& error) {
    std::vector<Table> prepared;
    Table catalog{"MSysObjects",
                  {{"Id", Kind::LongInteger},
                   {"Name", Kind::Text},
                   {"Type", Kind::LongInteger},
                   {"Flags", Kind::LongInteger},
                   {"LvProp", Kind::LongBinary}},
                  {},
                  true};
    prepared.push_back(catalog);
    for (const JetTable& table : tables) {
        if (!EncodeText(table.name, kNameMaxChars, error) || table.name.empty()) {
            error = "bad table name '" + table.name + "': " + error;
            return std::nullopt;
        }
        if (table.columns.empty()) {
            error = "table " + table.name + " has no columns";
            return std::nullopt;
        }
        Table out{table.name, {}, {}, false};
        for (const JetColumn& column : table.columns) {
            if (!EncodeText(column.name, kNameMaxChars, error) || column.name.empty()) {
                error = "bad column name '" + column.name + "': " + error;
                return std::nullopt;
            }
            out.columns.push_back(
                {column.name, column.type == ColumnType::Text ? Kind::Text : Kind::LongBinary});
        }
        for (const JetRow& row : table.rows) {
            if (row.size() != table.columns.size()) {
                error = "row of table " + table.name + " has the wrong number of values";
                return std::nullopt;
            }
            JetRow stored = row;
            for (std::size_t i = 0; i < row.size(); ++i) {
                if (row[i] && out.columns[i].kind == Kind::Text) {
                    stored[i] = EncodeText(*row[i], kTextMaxChars, error);
                    if (!stored[i]) {
                        error = "table " + table.name + ": " + error;
                        return std::nullopt;
                    }
                } else if (row[i] && row[i]->size() > kLongLengthMask) {
                    error = "long value too large in table " + table.name;
                    return std::nullopt;
                }
            }
            out.rows.push_back(std::move(stored));
        }
        prepared.push_back(std::move(out));
    }
    for (std::size_t i = 0; i < prepared.size(); ++i) {
        prepared[i].tdefPage = kCatalogPage + static_cast<std::uint32_t>(i);
    }
    for (const Table& table : prepared) {
        std::string name = *EncodeText(table.name, kNameMaxChars, error);
        prepared[0].rows.push_back({LongInteger(table.tdefPage), name, LongInteger(1),
                                    LongInteger(table.system ? kSystemTableFlags : 0),
                                    std::nullopt});
    }
    return prepared;
}

std::optional<std::string> Build(const std::vector<JetTable>& input, std::string& error) {
    std::optional<std::vector<Table>> prepared = PrepareTables(input, error);
    if (!prepared) {
        return std::nullopt;
    }
    std::vector<Table>& tables = *prepared;
    // Page 1 stays an empty data page; definitions follow from page 2.
    std::vector<Page> pages{BuildHeaderPage(), NewDataPage(0)};
    pages.resize(pages.size() + tables.size());

    // First pass: row sizes decide each table's run of data pages, contiguous and ascending.
    for (Table& table : tables) {
        table.firstDataPage = static_cast<std::uint32_t>(pages.size());
        for (const JetRow& row : table.rows) {
            const std::string sized = EncodeRow(table, row, nullptr);
            if (sized.size() > kMaxRowBytes) {
                error = "a row of table " + table.name + " does not fit in a page";
                return std::nullopt;
            }
            if (table.dataPageCount == 0 || !RowFits(pages.back(), sized.size())) {
                pages.push_back(NewDataPage(table.tdefPage));
                ++table.dataPageCount;
            }
            AddRow(pages.back(), sized);
        }
    }
    // Usage maps (type 0: first page, then one bit a page) on map pages after the data pages; one
    // empty free-space map serves every table.
    std::vector<std::uint32_t> usageMaps;
    pages.push_back(NewDataPage(0));
    const std::uint32_t freeMap = (static_cast<std::uint32_t>(pages.size() - 1) << 8) |
                                  AddRow(pages.back(), std::string(5, '\0'));
    for (const Table& table : tables) {
        std::string map(1, '\0');
        Append32(map, table.firstDataPage);
        map.resize(5 + (table.dataPageCount + 7) / 8, '\0');
        for (std::uint32_t i = 0; i < table.dataPageCount; ++i) {
            map[5 + i / 8] = static_cast<char>(map[5 + i / 8] | (1 << (i % 8)));
        }
        if (map.size() > kMaxRowBytes) {
            // An in-row map covers about 32,000 pages; larger tables would need map pages.
            error = "table " + table.name + " has too many data pages";
            return std::nullopt;
        }
        if (!RowFits(pages.back(), map.size())) {
            pages.push_back(NewDataPage(0));
        }
        const std::uint32_t row = AddRow(pages.back(), map);
        usageMaps.push_back((static_cast<std::uint32_t>(pages.size() - 1) << 8) | row);
    }
    // Second pass: the real rows, with long values on pages after the maps.
    LongValues longValues(pages);
    for (Table& table : tables) {
        std::uint32_t page = table.firstDataPage;
        if (table.dataPageCount > 0) {
            pages[page] = NewDataPage(table.tdefPage);
        }
        for (const JetRow& row : table.rows) {
            const std::string encoded = EncodeRow(table, row, &longValues);
            if (!RowFits(pages[page], encoded.size())) {
                pages[++page] = NewDataPage(table.tdefPage);
            }
            AddRow(pages[page], encoded);
        }
    }
    for (std::size_t t = 0; t < tables.size(); ++t) {
        std::optional<Page> tdef = BuildTableDefinition(tables[t], usageMaps[t], freeMap, error);
        if (!tdef) {
            return std::nullopt;
        }
        pages[tables[t].tdefPage] = std::move(*tdef);
    }
    std::string file;
    file.reserve(pages.size() * kPageSize);
    for (const Page& page : pages) {
        file += page;
    }
    return file;
}

}  // namespace

std::optional<std::string> BuildJetDatabase(const std::vector<JetTable>& tables,
                                            std::string* errorOut) {
    std::string error;
    std::optional<std::string> file = Build(tables, error);
    if (!file && errorOut) {
        *errorOut = error;
    }
    return file;
}

bool WriteJetDatabase(const std::filesystem::path& path, const std::vector<JetTable>& tables,
                      std::string* error) {
    const std::optional<std::string> file = BuildJetDatabase(tables, error);
    if (!file) {
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(file->data(), static_cast<std::streamsize>(file->size()));
    out.close();
    if (!out) {
        if (error) {
            *error = "cannot write " + path.string();
        }
        return false;
    }
    return true;
}

}  // namespace glyphwell::jet
