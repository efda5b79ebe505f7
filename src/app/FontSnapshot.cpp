#include "app/FontSnapshot.h"

#include "platform/Encoding.h"
#include "platform/Files.h"

namespace glyphwell::app {

std::string ComposeFontSnapshot(const std::vector<std::string>& fontNames) {
    std::string text = ",";
    for (const std::string& name : fontNames) {
        text += name;
        text += ',';
    }
    return text;
}

std::string LoadOrWriteFontSnapshot(const std::filesystem::path& file,
                                    const std::vector<std::string>& fontNames) {
    if (platform::FileExists(file)) {
        return platform::GbkToUtf8(platform::ReadWholeFile(file).value_or(std::string()));
    }
    std::string text = ComposeFontSnapshot(fontNames);
    platform::WriteWholeFile(file, platform::Utf8ToGbk(text));
    return text;
}

}  // namespace glyphwell::app
