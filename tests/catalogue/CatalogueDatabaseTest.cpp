#include "catalogue/CatalogueDatabase.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "catalogue/PackedData.h"
#include "jet/JetWriter.h"
#include "support/Noise.h"
#include "support/TempDir.h"

namespace glyphwell::catalogue {
namespace {

using jet::ColumnType;
using jet::JetRow;
using jet::JetTable;

// A JPEG signature, then a size that cycles through inline, one long-value row and a chain.
std::string Picture(int row) {
    return std::string("\xFF\xD8", 2) + test::Noise(row % 3 == 0   ? 9000
                                                    : row % 3 == 1 ? 100
                                                                   : 3000,
                                                    static_cast<std::uint32_t>(row));
}

JetTable FontTable(const std::string& name, int rows) {
    JetTable table{name,
                   {{"字体名", ColumnType::Text},
                    {"字体地址", ColumnType::Text},
                    {"图片", ColumnType::LongBinary},
                    {"备注", ColumnType::Text}},
                   {}};
    for (int i = 1; i <= rows; ++i) {
        table.rows.push_back({name + "字体" + std::to_string(i), "addr/" + std::to_string(i),
                              PackData(Picture(i)), "x"});
    }
    return table;
}

// "dl" of 25 rows: "英文字体" in rows 1-3 and 21-25, "中文字体" in rows 2, 5 and 9, the two
// columns whose tabs carry other captions in row 1.
JetTable CategoryTable() {
    JetTable dl{"dl", {}, std::vector<JetRow>(25, JetRow(9))};
    for (int i = 0; i < 9; ++i) {
        dl.columns.push_back({*CategoryColumn(i), ColumnType::Text});
    }
    for (int row : {1, 2, 3, 21, 22, 23, 24, 25}) {
        dl.rows[row - 1][1] = "英" + std::to_string(row);
    }
    for (int row : {2, 5, 9}) {
        dl.rows[row - 1][0] = "中" + std::to_string(row);
    }
    dl.rows[0][6] = "CAD一";
    dl.rows[0][7] = "MACOS一";
    dl.rows[3][8] = "";  // empty, not null: still skipped
    return dl;
}

std::filesystem::path WriteCatalogue(const test::TempDir& dir, std::vector<JetTable> tables) {
    const auto path = dir / "ztdata.mdb";
    std::string error;
    EXPECT_TRUE(jet::WriteJetDatabase(path, tables, &error)) << error;
    return path;
}

TEST(CatalogueDatabase, SubcategoryNamesComeFromTheFirstTwentyRows) {
    test::TempDir dir;
    int shown = 0;
    CatalogueDatabase db(WriteCatalogue(dir, {CategoryTable()}), [&] { ++shown; });
    db.OpenCatalogue();
    EXPECT_EQ(shown, 1);
    using Names = std::vector<std::string>;
    const std::pair<int, Names> cases[] = {
        {1, {"英1", "英2", "英3"}},
        {0, {"中2", "中5", "中9"}},
        {6, {"CAD一"}},
        {7, {"MACOS一"}},
        {8, {}},
        {9, {}},
        {-1, {}},
        {2, {}},
    };
    for (const auto& [index, expected] : cases) {
        EXPECT_EQ(db.ReadSubcategoryNames(index), expected) << index;
    }
}

TEST(CatalogueDatabase, PagesOfSixInRowOrder) {
    test::TempDir dir;
    CatalogueDatabase db(
        WriteCatalogue(dir, {CategoryTable(), FontTable("十三", 13), FontTable("空", 0)}));
    db.OpenCatalogue();
    EXPECT_EQ(db.CountCatalogueFonts("十三"), 13);
    EXPECT_EQ(PageCount(13), 3);
    const std::pair<int, int> pages[] = {{1, 1}, {2, 7}, {3, 13}};
    for (const auto& [page, firstRow] : pages) {
        const CataloguePage read = db.ReadCataloguePage("十三", page);
        EXPECT_EQ(read.Remaining, 13 - (page - 1) * 6);
        ASSERT_EQ(read.Fonts.size(), page == 3 ? 1u : 6u);
        for (std::size_t i = 0; i < read.Fonts.size(); ++i) {
            const int row = firstRow + static_cast<int>(i);
            const CatalogueFont& font = read.Fonts[i];
            EXPECT_EQ(font.FontName, "十三字体" + std::to_string(row));
            EXPECT_EQ(font.FontAddress, "addr/" + std::to_string(row));
            EXPECT_EQ(font.SamplePicture, Picture(row));
            EXPECT_EQ(DetectPictureKind(font.SamplePicture), PictureKind::Jpeg);
        }
    }
    const CataloguePage fourth = db.ReadCataloguePage("十三", 4);
    EXPECT_EQ(fourth.Remaining, -5);
    EXPECT_TRUE(fourth.Fonts.empty());

    EXPECT_EQ(db.CountCatalogueFonts("空"), 0);
    EXPECT_EQ(PageCount(0), 0);
    EXPECT_EQ(db.ReadCataloguePage("空", 1).Remaining, 0);
    EXPECT_TRUE(db.ReadCataloguePage("空", 1).Fonts.empty());

    EXPECT_EQ(db.CountCatalogueFonts("没有"), -1);
    EXPECT_EQ(PageCount(-1), 1);
    const CataloguePage missing = db.ReadCataloguePage("没有", 1);
    EXPECT_EQ(missing.Remaining, -1);
    EXPECT_TRUE(missing.Fonts.empty());
    EXPECT_EQ(db.ReadCataloguePage("没有", 2).Remaining, -7);
    // The reads above left the connection usable.
    EXPECT_EQ(db.ReadSubcategoryNames(1).size(), 3u);
}

TEST(CatalogueDatabase, NullAndInvalidValuesReadAsEmpty) {
    test::TempDir dir;
    JetTable fonts{"t",
                   {{"字体名", ColumnType::Text}, {"图片", ColumnType::LongBinary}},
                   {{std::nullopt, std::nullopt},
                    {std::string("a"), std::string("not packed")},
                    {std::string("b"), PackData("\x89PNG\r\n")}}};
    CatalogueDatabase db(WriteCatalogue(dir, {fonts}));
    db.OpenCatalogue();
    const CataloguePage page = db.ReadCataloguePage("t", 1);
    EXPECT_EQ(page.Remaining, 3);
    ASSERT_EQ(page.Fonts.size(), 3u);
    EXPECT_EQ(page.Fonts[0].FontName, "");
    EXPECT_EQ(page.Fonts[0].FontAddress, "");  // no such column
    EXPECT_EQ(page.Fonts[0].SamplePicture, "");
    EXPECT_EQ(page.Fonts[1].SamplePicture, "");
    EXPECT_EQ(page.Fonts[2].SamplePicture, "\x89PNG\r\n");
    EXPECT_EQ(DetectPictureKind(page.Fonts[2].SamplePicture), PictureKind::None);
}

TEST(CatalogueDatabase, PictureKindsByFirstBytes) {
    const std::pair<std::string, PictureKind> cases[] = {
        {std::string("\xFF\xD8\xFF", 3), PictureKind::Jpeg},
        {"BM\x10", PictureKind::Bmp},
        {std::string("\0\0\1\0\1\0", 6), PictureKind::Icon},
        {std::string("\0\0\2\0\1\0", 6), PictureKind::Cursor},
        {"GIF87a", PictureKind::Gif},
        {"GIF89a", PictureKind::Gif},
        {std::string("\x0A\x05\x01\x08", 4), PictureKind::Pcx},
        {"\x89PNG\r\n\x1A\n", PictureKind::None},
        {"GIF88a", PictureKind::None},
        {"\xFF", PictureKind::None},
        {"", PictureKind::None},
    };
    for (const auto& [bytes, kind] : cases) {
        EXPECT_EQ(DetectPictureKind(bytes), kind) << PictureKindName(kind);
    }
}

TEST(CatalogueDatabase, MissingOrForeignFileReadsAsEmptyAndStillShowsTheCategory) {
    test::TempDir dir;
    std::ofstream(dir / "junk.mdb") << std::string(20000, 'j');
    for (const auto& path : {dir / "none.mdb", dir / "junk.mdb"}) {
        int shown = 0;
        CatalogueDatabase db(path, [&] { ++shown; });
        db.OpenCatalogue();
        EXPECT_EQ(shown, 1);
        EXPECT_FALSE(db.IsOpen());
        EXPECT_TRUE(db.ReadSubcategoryNames(1).empty());
        EXPECT_EQ(db.CountCatalogueFonts("t"), -1);
        EXPECT_EQ(db.ReadCataloguePage("t", 1).Remaining, -1);
    }
}

TEST(CatalogueDatabase, ClosedAndReopened) {
    test::TempDir dir;
    CatalogueDatabase db(WriteCatalogue(dir, {FontTable("t", 2)}));
    db.OpenCatalogue();
    EXPECT_EQ(db.CountCatalogueFonts("t"), 2);
    db.CloseCatalogue();
    EXPECT_EQ(db.CountCatalogueFonts("t"), -1);
    WriteCatalogue(dir, {FontTable("t", 7)});
    db.OpenCatalogue();
    EXPECT_EQ(db.CountCatalogueFonts("t"), 7);
}

TEST(CatalogueDatabase, OneOperationAtATimeFromManyThreads) {
    test::TempDir dir;
    CatalogueDatabase db(WriteCatalogue(dir, {CategoryTable(), FontTable("t", 20)}));
    db.OpenCatalogue();
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                if (t == 3 && i == 10) {
                    db.OpenCatalogue();
                }
                if (db.ReadCataloguePage("t", 1 + i % 4).Fonts.size() != (i % 4 == 3 ? 2u : 6u) ||
                    db.ReadSubcategoryNames(1).size() != 3) {
                    ++wrong;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
}

TEST(CatalogueDatabase, OnlyARegularFileIsRead) {
    test::TempDir dir;
    const auto fifo = dir / "fifo.mdb";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder.mdb");
    const auto file = WriteCatalogue(dir, {FontTable("t", 2)});
    std::filesystem::create_symlink(file, dir / "link.mdb");
    const std::pair<std::filesystem::path, bool> cases[] = {
        {fifo, false},
        {dir / "folder.mdb", false},
        {"/dev/zero", false},
        {dir / "link.mdb", true},
    };
    for (const auto& [path, opens] : cases) {
        auto read = std::async(std::launch::async, [&path] {
            CatalogueDatabase db(path);
            db.OpenCatalogue();
            return db.CountCatalogueFonts("t");
        });
        if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << path << " blocks the reader";
            // A writer that comes and goes lets the blocked open return.
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        }
        EXPECT_EQ(read.get(), opens ? 2 : -1) << path;
    }
}

// Damaged files: every read finds nothing, without a crash or a hang.
class DamagedCatalogue : public ::testing::Test {
  protected:
    static constexpr std::size_t kPage = 4096;

    void SetUp() override {
        path_ = WriteCatalogue(dir_, {CategoryTable(), FontTable("t", 13)});
        std::ifstream in(path_, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
    }

    std::uint32_t Get32(std::size_t at) const {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | static_cast<unsigned char>(bytes_[at + i]);
        }
        return value;
    }
    void Put32(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes_[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    }
    // Start of row `row` on page `page`.
    std::size_t RowAt(std::uint32_t page, std::uint32_t row) const {
        const std::size_t at = page * kPage + 14 + 2 * row;
        return page * kPage + (static_cast<unsigned char>(bytes_[at]) |
                               (static_cast<unsigned char>(bytes_[at + 1]) << 8));
    }
    // Table "t" is the third table: its definition is on page 4.
    static constexpr std::uint32_t kFontTable = 4;

    // Every read finds nothing, as if there were no file; none crashes or takes long.
    void ExpectReadsAsEmpty() {
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes_;
        auto reads = std::async(std::launch::async, [this] {
            CatalogueDatabase db(path_);
            db.OpenCatalogue();
            bool empty = !db.IsOpen();
            for (int page = 1; page <= 3; ++page) {
                const CataloguePage read = db.ReadCataloguePage("t", page);
                empty = empty && read.Remaining == -1 - (page - 1) * 6 && read.Fonts.empty();
            }
            return empty && db.CountCatalogueFonts("t") == -1 && db.ReadSubcategoryNames(1).empty();
        });
        if (reads.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "reading a damaged catalogue hangs";
            std::_Exit(1);
        }
        EXPECT_TRUE(reads.get());
    }

    test::TempDir dir_;
    std::filesystem::path path_;
    std::string bytes_;
};

TEST_F(DamagedCatalogue, DatabaseKeyThatIsNotZero) {
    bytes_[0x3E] = static_cast<char>(bytes_[0x3E] ^ 1);
    ExpectReadsAsEmpty();
}

TEST_F(DamagedCatalogue, CutInsideItsLongValues) {
    bytes_.resize(bytes_.size() - 5 * kPage);
    ExpectReadsAsEmpty();
}

TEST_F(DamagedCatalogue, CutInsideItsTables) {
    bytes_.resize(5 * kPage + 100);
    ExpectReadsAsEmpty();
}

TEST_F(DamagedCatalogue, UsageMapOfUnknownType) {
    const std::uint32_t map = Get32(kFontTable * kPage + 55);
    bytes_[RowAt(map >> 8, map & 0xFF)] = 7;
    ExpectReadsAsEmpty();
}

TEST_F(DamagedCatalogue, UsageMapNamingForeignPages) {
    const std::uint32_t map = Get32(kFontTable * kPage + 55);
    Put32(RowAt(map >> 8, map & 0xFF) + 1, 0);  // pages from 0 on
    ExpectReadsAsEmpty();
}

TEST_F(DamagedCatalogue, CyclicLongValueChain) {
    // The first chain's last piece points back to its first page.
    const std::size_t pages = bytes_.size() / kPage;
    bool looped = false;
    for (std::uint32_t page = 5; page < pages; ++page) {
        const std::size_t at = page * kPage;
        if (bytes_.compare(at + 4, 4, "LVAL") != 0) {
            continue;
        }
        // Chain pieces are written on consecutive pages.
        const std::uint32_t next = Get32(RowAt(page, 0));
        if (next == (page + 1) << 8 && next >> 8 < pages && Get32(RowAt(page + 1, 0)) == 0) {
            Put32(RowAt(next >> 8, 0), page << 8);
            looped = true;
            break;
        }
    }
    ASSERT_TRUE(looped);
    ExpectReadsAsEmpty();
}

TEST_F(DamagedCatalogue, TableDefinitionWithImpossibleColumnCounts) {
    // 65535 columns; 200 whose entries would run off the page (found by fuzzing).
    for (const std::uint8_t low : {0xFF, 0xC8}) {
        SetUp();
        bytes_[kFontTable * kPage + 45] = static_cast<char>(low);
        bytes_[kFontTable * kPage + 46] = static_cast<char>(low == 0xFF ? 0xFF : 0x00);
        ExpectReadsAsEmpty();
    }
}

TEST_F(DamagedCatalogue, VariableColumnCountThatDisagreesWithTheColumns) {
    bytes_[kFontTable * kPage + 43] = 0;
    ExpectReadsAsEmpty();
}

TEST_F(DamagedCatalogue, RowOffsetsOutOfOrder) {
    const std::uint32_t map = Get32(kFontTable * kPage + 55);
    const std::uint32_t firstDataPage = Get32(RowAt(map >> 8, map & 0xFF) + 1);
    bytes_[firstDataPage * kPage + 14 + 2] = static_cast<char>(0xF0);
    bytes_[firstDataPage * kPage + 14 + 3] = static_cast<char>(0x0F);
    ExpectReadsAsEmpty();
}

}  // namespace
}  // namespace glyphwell::catalogue
