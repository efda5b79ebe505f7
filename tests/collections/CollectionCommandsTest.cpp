// The collection commands of glyphwell-cli, run as a user runs them, on a private fontconfig
// setup and a home of their own.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/WorkingFolders.h"
#include "fonts/FontFixtures.h"
#include "platform/Files.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace glyphwell::test {
namespace {
namespace fs = std::filesystem;

class CollectionCommandsTest : public ::testing::Test {
  protected:
    std::string Cli(const std::string& arguments, int expectedExit = 0) {
        int exitCode = -1;
        std::string output = RunCli(home_.Path(), arguments, &exitCode);
        EXPECT_EQ(exitCode, expectedExit) << arguments;
        return output;
    }
    std::optional<std::string> Bytes(const fs::path& file) { return platform::ReadWholeFile(file); }

    FontconfigSandbox sandbox_;
    TempDir home_;
    TempDir sources_;
    fs::path bin_ = home_ / app::kRecycleBinFolderName;
    fs::path backup_ = home_ / app::kBackupFolderName;
    fs::path downloads_ = home_ / app::kDownloadFolderName;
};

TEST_F(CollectionCommandsTest, ARoundTripKeepsEveryFileByteForByte) {
    WriteRenamedFont(sources_ / "Alpha.ttf", "Alpha");
    WriteRenamedFont(sources_ / "Beta.ttf", "Beta");
    const auto alpha = Bytes(sources_ / "Alpha.ttf");
    const auto beta = Bytes(sources_ / "Beta.ttf");
    Cli("install " + ShellQuote((sources_ / "Alpha.ttf").string()));
    Cli("install " + ShellQuote((sources_ / "Beta.ttf").string()));
    const fs::path installedAlpha = sandbox_.FontsFolder() / "Alpha.ttf";

    // Uninstalled into the bin, then restored from it.
    Cli("recycle Alpha");
    EXPECT_FALSE(fs::exists(installedAlpha));
    EXPECT_EQ(Bytes(bin_ / "Alpha.ttf"), alpha);
    EXPECT_EQ(Cli("folder bin"), "Alpha.ttf\tAlpha\n");
    EXPECT_EQ(Cli("fonts --order language").find("Alpha"), std::string::npos);
    Cli("restore bin Alpha.ttf");
    EXPECT_EQ(Cli("folder bin"), "");
    EXPECT_EQ(Bytes(installedAlpha), alpha);
    EXPECT_NE(Cli("fonts --order language").find("Alpha"), std::string::npos);

    // Backed up, removed for good, restored from the backup.
    EXPECT_EQ(Cli("backup"), "2\n");
    EXPECT_EQ(Cli("folder backup"), "Alpha.ttf\tAlpha\nBeta.ttf\tBeta\n");
    Cli("recycle Alpha");
    Cli("purge Alpha.ttf");
    EXPECT_FALSE(fs::exists(bin_ / "Alpha.ttf"));
    Cli("restore backup Alpha.ttf");
    EXPECT_EQ(Bytes(installedAlpha), alpha);
    EXPECT_EQ(Bytes(backup_ / "Alpha.ttf"), alpha);

    // Exported where the user says.
    TempDir exported;
    Cli("export Beta " + ShellQuote(exported.Path().string()));
    EXPECT_EQ(Bytes(exported / "Beta.ttf"), beta);
}

TEST_F(CollectionCommandsTest, DownloadedFontsReinstallAndGo) {
    fs::create_directories(downloads_);
    WriteRenamedFont(downloads_ / "Gamma.ttf", "Gamma");
    ASSERT_TRUE(platform::WriteWholeFile(downloads_ / "notes.txt", "not a font"));
    EXPECT_EQ(Cli("folder downloads"), "Gamma.ttf\tGamma\n");
    Cli("reinstall Gamma.ttf");
    EXPECT_NE(Cli("fonts --order language").find("Gamma"), std::string::npos);
    Cli("remove-downloaded Gamma.ttf");
    EXPECT_EQ(Cli("folder downloads"), "");
    EXPECT_EQ(Cli("fonts --order language").find("Gamma"), std::string::npos);
}

TEST_F(CollectionCommandsTest, FailuresExitOneAndBadArgumentsTwo) {
    fs::create_directories(bin_);
    Cli("recycle Nobody", 1);
    Cli("export Nobody /tmp", 1);
    Cli("restore bin missing.ttf", 1);
    Cli("restore bin ../escape.ttf", 1);
    Cli("purge missing.ttf", 1);
    // A file where the bin should be, and a font name starting with a dot.
    fs::remove(bin_);
    ASSERT_TRUE(platform::WriteWholeFile(bin_, "not a folder"));
    Cli("folder bin", 1);
    WriteRenamedFont(sources_ / "Alpha.ttf", "Alpha");
    Cli("install " + ShellQuote((sources_ / "Alpha.ttf").string()) + " .hidden.ttf", 1);
    EXPECT_FALSE(fs::exists(sandbox_.FontsFolder() / ".hidden.ttf"));
    for (const char* bad :
         {"folder", "folder trash", "restore", "restore bin", "restore attic a.ttf", "purge",
          "backup now", "export Beta", "reinstall", "remove-downloaded", "recycle"}) {
        Cli(bad, 2);
    }
}

TEST_F(CollectionCommandsTest, FourProcessesAtOnceLoseNoChange) {
    // Each process installs its six fonts, then uninstalls the first three, all at once with
    // the others; a failed command says so on the shared output.
    constexpr int kProcesses = 4;
    constexpr int kFonts = 6;
    std::string script;
    for (int p = 0; p < kProcesses; ++p) {
        std::string steps;
        for (int f = 0; f < kFonts; ++f) {
            const std::string family = "Racer " + std::to_string(p) + " " + std::to_string(f);
            const fs::path file =
                sources_ / ("racer" + std::to_string(p) + std::to_string(f) + ".ttf");
            WriteRenamedFont(file, family);
            steps += "\"$cli\" --home \"$home\" install " + ShellQuote(file.string()) +
                     " >/dev/null || echo 'install failed: " + family + "'; ";
        }
        for (int f = 0; f < kFonts / 2; ++f) {
            const std::string family = "Racer " + std::to_string(p) + " " + std::to_string(f);
            steps += "\"$cli\" --home \"$home\" uninstall " + ShellQuote(family) +
                     " || echo 'uninstall failed: " + family + "'; ";
        }
        script += "( " + steps + ") & ";
    }
    const CommandResult run =
        RunCommand("cli=" + ShellQuote(std::getenv("GLYPHWELL_CLI")) +
                   " home=" + ShellQuote(home_.Path().string()) + "; " + script + "wait");
    EXPECT_EQ(run.output, "");

    // Every change is in effect, and the records agree with what fontconfig lists.
    const std::vector<std::string> listed = FcListFiles();
    const std::string key = Bytes(sandbox_.KeyFile()).value_or("");
    const std::string rules = Bytes(sandbox_.RejectFile()).value_or("");
    for (int p = 0; p < kProcesses; ++p) {
        for (int f = 0; f < kFonts; ++f) {
            const std::string name = "racer" + std::to_string(p) + std::to_string(f) + ".ttf";
            const fs::path file = sandbox_.FontsFolder() / name;
            const bool kept = f >= kFonts / 2;
            EXPECT_TRUE(fs::exists(file)) << name;
            EXPECT_EQ(std::find(listed.begin(), listed.end(), file.string()) != listed.end(), kept)
                << name;
            EXPECT_EQ(key.find(name + "\t") != std::string::npos, kept) << name;
            EXPECT_EQ(rules.find(name + "<") != std::string::npos, !kept) << name;
        }
    }
}

}  // namespace
}  // namespace glyphwell::test
