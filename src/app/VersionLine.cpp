#include "app/VersionLine.h"

namespace glyphwell::app {

std::string ComposeVersionLine(const std::string& catalogueVersionText,
                               const std::string& statusSuffix) {
    return std::string(kProgramVersionPrefix) + kCatalogueVersionPrefix + catalogueVersionText +
           statusSuffix;
}

void VersionLine::SetCatalogueVersionText(std::string text) {
    std::lock_guard lock(mutex_);
    catalogueVersionText_ = std::move(text);
}

void VersionLine::SetStatusSuffix(std::string suffix) {
    std::lock_guard lock(mutex_);
    statusSuffix_ = std::move(suffix);
}

void VersionLine::BuildVersionLine() {
    std::lock_guard lock(mutex_);
    text_ = ComposeVersionLine(catalogueVersionText_, statusSuffix_);
}

std::string VersionLine::Text() const {
    std::lock_guard lock(mutex_);
    return text_;
}

std::string VersionLine::CatalogueVersionText() const {
    std::lock_guard lock(mutex_);
    return catalogueVersionText_;
}

std::string VersionLine::StatusSuffix() const {
    std::lock_guard lock(mutex_);
    return statusSuffix_;
}

}  // namespace glyphwell::app
