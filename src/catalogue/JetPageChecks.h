#pragma once
// Checks of a Jet 4 file's raw pages, made before libmdb walks them: the file comes from the
// network and libmdb trusts what it reads. Each offset the file gives is checked against the
// bytes at hand before it is followed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace glyphwell::catalogue {

inline constexpr std::size_t kJetPageSize = 4096;
// The table definition page of the system catalog.
inline constexpr std::uint32_t kCatalogPage = 2;
// Length and flags, a pointer to the first long-value row, four unknown bytes.
inline constexpr std::size_t kLongValueHeader = 12;
// Column types whose values are long values.
inline constexpr std::uint8_t kColumnTypeLongBinary = 0x0B;
inline constexpr std::uint8_t kColumnTypeMemo = 0x0C;

using PageBytes = std::array<unsigned char, kJetPageSize>;
using ByteSpan = std::span<const unsigned char>;

// Whole pages of the file, read past libmdb. Only a regular file is opened: a FIFO would block
// the reader, and a device may act on being opened.
class RawFile {
  public:
    explicit RawFile(const std::filesystem::path& path);
    ~RawFile();
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    std::uint64_t PageCount() const { return pageCount_; }
    bool Read(std::uint32_t page, PageBytes& bytes) const;

  private:
    int fd_ = -1;
    std::uint64_t pageCount_ = 0;
};

// A Jet 4 header whose pages are not encrypted.
bool LooksLikeJet4(const RawFile& raw);

// Checks a table's definition page, usage map, data pages and long values; the live row count
// when all are sound. Only single-page definitions and in-row usage maps are accepted.
std::optional<int> CheckTable(const RawFile& raw, std::uint32_t tdefPage);

// The length a long value's header records; none for a field shorter than the header or a
// length past the cap.
std::optional<std::size_t> LongValueLength(ByteSpan field);

}  // namespace glyphwell::catalogue
