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
    explicit FacePreviews(std::size_t capacity = 300) : capacity_(capacity) {}
    ~FacePreviews();

    // `text` in the first face of `file` at `pixelHeight`, in `colour`, at most `maxWidth`
    // pixels wide. A null image when the file cannot be read or lacks a character of the
    // text, so the caller can draw it another way.
    QImage Preview(const std::string& file, const QString& text, int pixelHeight, QColor colour,
                   int maxWidth);

  private:
    QImage Render(const std::string& file, const QString& text, int pixelHeight, QColor colour,
                  int maxWidth);

    std::size_t capacity_;
    std::list<std::string> order_;  // most recent first
    std::unordered_map<std::string, std::pair<QImage, std::list<std::string>::iterator>> cache_;
    void* library_ = nullptr;  // the FreeType library, made on first use
};

}  // namespace glyphwell::ui
