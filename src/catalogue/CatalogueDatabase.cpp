#include "catalogue/CatalogueDatabase.h"

#include <algorithm>

#include "catalogue/PackedData.h"
#include "catalogue/TableWalk.h"

namespace glyphwell::catalogue {
namespace {

// The rows before `page`.
long long SkippedRows(int page) {
    return (static_cast<long long>(page) - 1) * kCataloguePageSize;
}

// Fills `result` from an opened walk; false when a stored value turns out damaged.
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

bool IsReadableCatalogue(const std::filesystem::path& file) {
    std::unique_ptr<CatalogueConnection> connection = CatalogueConnection::Open(file);
    if (!connection) {
        return false;
    }
    TableWalk walk(*connection, "dl");
    if (walk.Result() != OpenResult::Opened) {
        return false;
    }
    for (int index = 0; std::optional<std::string> column = CategoryColumn(index); ++index) {
        walk.Bind(*column);
    }
    // Every row fetched with its columns: a cut or damaged table stops here.
    while (walk.Next()) {
    }
    return true;
}

CatalogueDatabase::CatalogueDatabase(std::filesystem::path file, std::function<void()> showCategory)
    : file_(std::move(file)), showCategory_(std::move(showCategory)) {}

CatalogueDatabase::~CatalogueDatabase() {
    CloseCatalogue();
}

void CatalogueDatabase::OpenCatalogue() {
    ReplaceCatalogue([] { return true; });
}

void CatalogueDatabase::CloseCatalogue() {
    std::lock_guard lock(mutex_);
    CloseLocked();
}

bool CatalogueDatabase::ReplaceCatalogue(const std::function<bool()>& replaceFile) {
    bool replaced = false;
    {
        std::lock_guard lock(mutex_);
        CloseLocked();
        replaced = replaceFile();
        connection_ = CatalogueConnection::Open(file_);
    }
    // Outside the lock: showing the category reads from this database.
    if (showCategory_) {
        showCategory_();
    }
    return replaced;
}

bool CatalogueDatabase::IsOpen() {
    std::lock_guard lock(mutex_);
    return connection_ != nullptr;
}

void CatalogueDatabase::CloseLocked() {
    connection_.reset();
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
