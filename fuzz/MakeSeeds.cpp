// Writes seed catalogue files for CatalogueFileFuzzer into the folder given.

#include <string>

#include "catalogue/PackedData.h"
#include "jet/JetWriter.h"

int main(int argc, char** argv) {
    using namespace glyphwell;
    if (argc != 2) {
        return 2;
    }
    const std::string folder = argv[1];
    jet::JetTable dl{"dl", {{"中文字体", jet::ColumnType::Text}}, {{"a"}, {"b"}}};
    for (int rows : {0, 3, 13}) {
        jet::JetTable table{"a",
                            {{"字体名", jet::ColumnType::Text},
                             {"字体地址", jet::ColumnType::Text},
                             {"图片", jet::ColumnType::LongBinary}},
                            {}};
        for (int i = 0; i < rows; ++i) {
            std::string picture = "\xFF\xD8";
            for (int k = 0; k < i * 700; ++k) {
                picture.push_back(static_cast<char>((k * 7919 + i) >> 3));
            }
            table.rows.push_back({"f" + std::to_string(i), "x", catalogue::PackData(picture)});
        }
        jet::WriteJetDatabase(folder + "/seed" + std::to_string(rows) + ".mdb", {dl, table});
    }
    return 0;
}
