#include "app/WorkingFolders.h"

#include "app/Settings.h"
#include "platform/Files.h"

namespace glyphwell::app {
namespace fs = std::filesystem;

void CreateWorkingFolders(const fs::path& runDirectory) {
    for (const char* name : {kBackupFolderName, kRecycleBinFolderName, kDownloadFolderName}) {
        platform::CreateFolder(runDirectory / platform::PathFromUtf8(name));
    }
    fs::path settings = runDirectory / kSettingsFileName;
    if (!platform::FileExists(settings)) {
        platform::WriteWholeFile(settings, "");
    }
}

fs::path DownloadFolder(const fs::path& runDirectory) {
    return runDirectory / platform::PathFromUtf8(kDownloadFolderName);
}
fs::path RecycleBinFolder(const fs::path& runDirectory) {
    return runDirectory / platform::PathFromUtf8(kRecycleBinFolderName);
}
fs::path BackupFolder(const fs::path& runDirectory) {
    return runDirectory / platform::PathFromUtf8(kBackupFolderName);
}

}  // namespace glyphwell::app
