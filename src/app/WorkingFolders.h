#pragma once
#include <filesystem>

namespace glyphwell::app {

inline constexpr const char* kDownloadFolderName = "字体下载目录";
inline constexpr const char* kRecycleBinFolderName = "字体回收站";
inline constexpr const char* kBackupFolderName = "字体备份";

// Creates each missing working folder and an empty "pos.ini" in the RunDirectory. Failures are
// not reported: the operations that use the folders report their own.
void CreateWorkingFolders(const std::filesystem::path& runDirectory);

std::filesystem::path DownloadFolder(const std::filesystem::path& runDirectory);
std::filesystem::path RecycleBinFolder(const std::filesystem::path& runDirectory);
std::filesystem::path BackupFolder(const std::filesystem::path& runDirectory);

}  // namespace glyphwell::app
