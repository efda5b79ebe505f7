#pragma once
// The local catalogue file: sub-category names from table "dl", and pages of six fonts from a
// sub-category's table, read in each table's own row order. A damaged file reads as no file.

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace glyphwell::catalogue {

class CatalogueConnection;

struct CatalogueFont {
    std::string FontName;
    std::string FontAddress;
    std::string SamplePicture;  // unpacked picture bytes, empty when there is none
};

struct CataloguePage {
    int Remaining = -1;  // record count minus the rows before this page
    std::vector<CatalogueFont> Fonts;
};

inline constexpr int kCataloguePageSize = 6;
inline constexpr int kSubcategoryReads = 20;

// The column of "dl" that a category tab reads; none for an index outside 0..8.
std::optional<std::string> CategoryColumn(int categoryIndex);

// Pages of six for `count` fonts, rounding up; the -1 of a missing table gives 1.
int PageCount(int count);

// The picture formats the drawing surface loads, told apart by their first bytes.
enum class PictureKind { None, Jpeg, Bmp, Icon, Cursor, Gif, Pcx };
PictureKind DetectPictureKind(std::string_view bytes);
// "jpeg", "bmp", "icon", "cursor", "gif", "pcx" or "none".
const char* PictureKindName(PictureKind kind);

// True when `file` opens as a catalogue and its category table "dl" reads to its end.
bool IsReadableCatalogue(const std::filesystem::path& file);

// One connection to the file; one operation at a time, from any thread.
class CatalogueDatabase {
  public:
    explicit CatalogueDatabase(std::filesystem::path file, std::function<void()> showCategory = {});
    ~CatalogueDatabase();
    CatalogueDatabase(const CatalogueDatabase&) = delete;
    CatalogueDatabase& operator=(const CatalogueDatabase&) = delete;

    // The browsing layer's "show the current category"; set before the first open.
    void SetShowCategory(std::function<void()> showCategory) {
        showCategory_ = std::move(showCategory);
    }

    // Opens the file, then asks the browsing layer to show the current category (also when the
    // file did not open: everything then reads as empty).
    void OpenCatalogue();
    void CloseCatalogue();
    bool IsOpen();
    // Closes the file, runs `replaceFile`, opens the file again and shows the current category;
    // no read runs in between. Returns what `replaceFile` returned.
    bool ReplaceCatalogue(const std::function<bool()>& replaceFile);

    std::vector<std::string> ReadSubcategoryNames(int categoryIndex);
    int CountCatalogueFonts(const std::string& name);
    CataloguePage ReadCataloguePage(const std::string& name, int page);

  private:
    void CloseLocked();

    std::filesystem::path file_;
    std::function<void()> showCategory_;
    std::mutex mutex_;
    std::unique_ptr<CatalogueConnection> connection_;
};

}  // namespace glyphwell::catalogue
