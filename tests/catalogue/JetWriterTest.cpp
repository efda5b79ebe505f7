#include "jet/JetWriter.h"

#include <gtest/gtest.h>

#include <string>

#include "support/Process.h"
#include "support/TempDir.h"

namespace glyphwell::jet {
namespace {

std::string Output(const std::string& command) {
    return test::RunCommand(command).output;
}

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

std::string Blob(std::size_t size, int seed) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) {
        bytes.push_back(static_cast<char>((i * 31 + seed * 7) & 0xFF));
    }
    return bytes;
}

TEST(JetWriter, MdbToolsReadBackTextAndBlobsInRowOrder) {
    test::TempDir dir;
    // Text with low byte 00 (U+4E00, U+5F00), a value starting with U+FEFF, ASCII, nulls.
    const std::string texts[] = {"一丁",
                                 "开心",
                                 "\xEF\xBB\xBF"
                                 "bom",
                                 "Arial",
                                 "宋体 Bold",
                                 ""};
    // Inline, one long-value row, a chain of pages, and empty.
    const std::size_t blobSizes[] = {0, 10, 256, 257, 3000, 4080, 4081, 9000, 20000};
    JetTable fonts{"字体表", {{"字体名", ColumnType::Text}, {"图片", ColumnType::LongBinary}}, {}};
    std::string expected = "字体名,图片\n";
    for (int i = 0; i < 300; ++i) {
        const std::string name = texts[i % 6] + std::to_string(i);
        const std::string blob = Blob(blobSizes[i % 9], i);
        if (i % 11 == 5) {
            fonts.rows.push_back({std::nullopt, std::nullopt});
            expected += ",\n";
            continue;
        }
        fonts.rows.push_back({name, blob});
        expected += "\"" + name + "\",\"" + Hex(blob) + "\"\n";
    }
    JetTable empty{"空表", {{"a", ColumnType::Text}}, {}};
    const auto file = dir / "t.mdb";
    std::string error;
    ASSERT_TRUE(WriteJetDatabase(file, {fonts, empty}, &error)) << error;

    const std::string path = test::ShellQuote(file.string());
    EXPECT_EQ(Output("mdb-export -b hex " + path + " 字体表"), expected);
    EXPECT_EQ(Output("mdb-count " + path + " 字体表"), "300\n");
    EXPECT_EQ(Output("mdb-count " + path + " 空表"), "0\n");
    EXPECT_EQ(Output("mdb-export " + path + " 空表"), "a\n");
    EXPECT_EQ(Output("mdb-tables -1 " + path), "字体表\n空表\n");
    const std::string schema = Output("mdb-schema " + path);
    EXPECT_NE(schema.find("[字体名]\t\t\tText (255)"), std::string::npos) << schema;
    EXPECT_NE(schema.find("[图片]\t\t\tOLE"), std::string::npos) << schema;
}

TEST(JetWriter, ManyTablesKeepTheirOwnRows) {
    test::TempDir dir;
    std::vector<JetTable> tables;
    for (int t = 0; t < 40; ++t) {
        JetTable table{"t" + std::to_string(t), {{"v", ColumnType::Text}}, {}};
        for (int r = 0; r < t * 13; ++r) {
            table.rows.push_back({std::to_string(t) + "-" + std::to_string(r)});
        }
        tables.push_back(std::move(table));
    }
    ASSERT_TRUE(WriteJetDatabase(dir / "m.mdb", tables));
    const std::string path = test::ShellQuote((dir / "m.mdb").string());
    for (int t : {0, 1, 20, 39}) {
        std::string expected = "v\n";
        for (int r = 0; r < t * 13; ++r) {
            expected += "\"" + std::to_string(t) + "-" + std::to_string(r) + "\"\n";
        }
        EXPECT_EQ(Output("mdb-export " + path + " t" + std::to_string(t)), expected) << t;
    }
}

TEST(JetWriter, RefusesWhatItCannotStore) {
    const JetColumn text{"v", ColumnType::Text};
    std::string longest;
    for (int i = 0; i < 255; ++i) {
        longest += "字";
    }
    struct Case {
        const char* what;
        std::vector<JetTable> tables;
        bool ok;
    };
    const Case cases[] = {
        {"255 characters", {{"t", {text}, {{longest}}}}, true},
        {"256 characters", {{"t", {text}, {{longest + "a"}}}}, false},
        {"row of the wrong width", {{"t", {text}, {{"a", "b"}}}}, false},
        {"not UTF-8", {{"t", {text}, {{std::string("\xFF")}}}}, false},
        {"U+FEFF then a low-byte-00 character", {{"t", {text}, {{"\xEF\xBB\xBF一"}}}}, false},
        {"no columns", {{"t", {}, {}}}, false},
        {"empty table name", {{"", {text}, {}}}, false},
        {"row larger than a page",
         {{"t",
           {text, text, text, text, text, text, text, text, text},
           std::vector<JetRow>(1, JetRow(9, longest))}},
         false},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(BuildJetDatabase(c.tables, &error).has_value(), c.ok) << c.what;
        EXPECT_EQ(error.empty(), c.ok) << c.what << ": " << error;
    }
}

}  // namespace
}  // namespace glyphwell::jet
