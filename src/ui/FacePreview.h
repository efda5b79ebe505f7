#pragma once
// Samples of text in a font file's own face, rendered straight from the file and cached.
// Asking the desktop's font matching for thousands of faces costs milliseconds each; opening
// the file that is already known costs a fraction of that.

#include <QColor>
#include <QImage>
#include <QString>

#include <list>
#include <string>
#include <unordered_map>

namespace glyphwell::ui {

class FacePreviews {
  public:
    // What becomes of text wider than the sample: cut at the edge, or ended with "…".
    enum class Overflow { kCut, kEllipsis };

    explicit FacePreviews(std::size_t capacity = 300) : capacity_(capacity) {}
    ~FacePreviews();
    FacePreviews(const FacePreviews&) = delete;
    FacePreviews& operator=(const FacePreviews&) = delete;

    // Characters a face lacks are taken from the first face of `file` (the interface font),
    // as the desktop's own drawing would take them from a fallback; empty: none.
    void SetFallbackFile(const std::string& file);
    const std::string& FallbackFile() const { return fallbackFile_; }

    // `text` in the first face of `file` at `pixelHeight`, in `colour`, at most `maxWidth`
    // pixels wide (as wide as its ink). A null image when the file cannot be read or a
    // character of the text is neither in it nor in the fallback, so the caller can draw it
    // another way.
    QImage Preview(const std::string& file, const QString& text, int pixelHeight, QColor colour,
                   int maxWidth, Overflow overflow = Overflow::kCut);
    // Renders the sample ahead of time, so that a later Preview finds it ready.
    void Prepare(const std::string& file, const QString& text, int pixelHeight, int maxWidth,
                 Overflow overflow = Overflow::kCut);

    // Samples rendered so far, not found in the cache.
    std::size_t RenderedCount() const { return rendered_; }

  private:
    // The sample's coverage, one byte a pixel (a quarter of a coloured picture), from the
    // cache or rendered.
    const QImage& Coverage(const std::string& file, const QString& text, int pixelHeight,
                           int maxWidth, Overflow overflow);
    QImage Render(const std::string& file, const QString& text, int pixelHeight, int maxWidth,
                  Overflow overflow);
    bool OpenFallback();

    std::size_t capacity_;
    std::size_t rendered_ = 0;
    std::list<std::string> order_;  // most recent first
    std::unordered_map<std::string, std::pair<QImage, std::list<std::string>::iterator>> cache_;

    void* library_ = nullptr;  // the FreeType library, made on first use
    std::string fallbackFile_;
    void* fallback_ = nullptr;  // its face, opened on first use and kept
    bool fallbackFailed_ = false;
};

}  // namespace glyphwell::ui
