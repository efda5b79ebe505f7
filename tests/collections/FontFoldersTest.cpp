#include "collections/FontFolders.h"

#include "collections/RecycleBin.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "app/WorkingFolders.h"
#include "fonts/FontFixtures.h"
#include "fonts/FontconfigFontSystem.h"
#include "platform/Files.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace glyphwell::collections {
namespace {
namespace fs = std::filesystem;

std::vector<std::string> FileNames(const std::vector<FolderFont>& fonts) {
    std::vector<std::string> names;
    for (const FolderFont& font : fonts) {
        names.push_back(font.FileName);
    }
    return names;
}

// Rows as a page holds them: every listed file, checked unless told otherwise.
class ListedRows : public FolderRows {
  public:
    explicit ListedRows(const std::vector<FolderFont>& fonts) {
        for (const FolderFont& font : fonts) {
            rows_.push_back({font.FileName, font.DisplayName, true});
        }
    }
    void Uncheck(int row) { rows_[static_cast<std::size_t>(row)].Checked = false; }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    FolderRow Row(int row) const override {
        return row >= 0 && row < RowCount() ? rows_[static_cast<std::size_t>(row)] : FolderRow{};
    }

  private:
    std::vector<FolderRow> rows_;
};

// A private fontconfig setup with the three folders of a run directory.
class FontFoldersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const fs::path& folder : {downloads_, bin_, backup_}) {
            fs::create_directories(folder);
        }
    }
    // A font file named `fileName` whose display name is `family`, placed in `folder`.
    fs::path Place(const fs::path& folder, const std::string& fileName, const std::string& family) {
        const fs::path file = folder / fileName;
        test::WriteRenamedFont(file, family);
        return file;
    }
    void Install(const std::string& fileName, const std::string& family) {
        const fs::path source = Place(sources_.Path(), fileName, family);
        std::string target;
        ASSERT_EQ(fonts::InstallFont(system_, source.string(), target), 1) << family;
        registry_.LoadFontTable();
    }
    bool Installed(const std::string& family) {
        system_.AnnounceFontChange();
        registry_.LoadFontTable();
        return registry_.FindFontEntry(family) != 0;
    }
    ProgressHook Record() {
        return [this](int percent) { progress_.push_back(percent); };
    }

    test::FontconfigSandbox sandbox_;
    test::TempDir sources_;
    test::TempDir run_;
    fs::path downloads_ = run_ / app::kDownloadFolderName;
    fs::path bin_ = run_ / app::kRecycleBinFolderName;
    fs::path backup_ = run_ / app::kBackupFolderName;
    fonts::FontconfigFontSystem system_{sandbox_.Paths()};
    fonts::FontRegistry registry_{system_};
    std::vector<int> progress_;
};

TEST_F(FontFoldersTest, ListingTakesFontFilesOnlyHiddenOnesIncluded) {
    EXPECT_TRUE(FontFolderListing(run_ / "missing").empty());
    EXPECT_TRUE(FontFolderListing(downloads_).empty());
    Place(downloads_, "b.ttf", "Beta");
    Place(downloads_, ".hidden.ttf", "Hidden");
    Place(downloads_, "a font.ttf", "阿尔法");
    ASSERT_TRUE(platform::WriteWholeFile(downloads_ / "readme.txt", "not a font"));
    fs::create_directories(downloads_ / "sub.ttf");
    Place(downloads_ / "sub.ttf", "inner.ttf", "Inner");

    const std::vector<FolderFont> fonts = FontFolderListing(downloads_);
    EXPECT_EQ(FileNames(fonts), (std::vector<std::string>{".hidden.ttf", "a font.ttf", "b.ttf"}));
    EXPECT_EQ(fonts[1].DisplayName, "阿尔法");
    EXPECT_EQ(fonts[2].DisplayName, "Beta");
}

TEST_F(FontFoldersTest, ProgressFollowsTheRowsAsTheyAreReadNow) {
    EXPECT_EQ(ProgressPercent(1, 3), 33);
    EXPECT_EQ(ProgressPercent(2, 3), 66);
    EXPECT_EQ(ProgressPercent(3, 3), 100);
    EXPECT_EQ(ProgressPercent(0, 4), 0);
    EXPECT_EQ(ProgressPercent(2, 0), 100);  // the list emptied meanwhile

    // "重装" of three rows, told before each row.
    for (const char* family : {"Alpha", "Beta", "Gamma"}) {
        Place(downloads_, std::string(family) + ".ttf", family);
    }
    ListedRows rows(FontFolderListing(downloads_));
    const CollectionOutcome reinstalled =
        ReinstallDownloadedFonts(system_, downloads_, rows, Record());
    EXPECT_EQ(progress_, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(reinstalled.Done, 3);
    EXPECT_TRUE(Installed("Gamma"));
}

TEST_F(FontFoldersTest, UninstallingADownloadHidesItsFontAndMovesItsFileIntoTheBin) {
    // Downloaded and installed as one.ttf; a second download of the same font, unchecked; a
    // download never installed whose name an installed font from elsewhere shares.
    Place(downloads_, "one.ttf", "Shared");
    std::string target = "one.ttf";
    ASSERT_EQ(fonts::InstallFont(system_, (downloads_ / "one.ttf").string(), target), 1);
    Place(downloads_, "two.ttf", "Shared");
    Place(downloads_, "loose.ttf", "Loose");
    Install("elsewhere.ttf", "Loose");
    const fs::path installedFile = system_.FontsFolder() + "one.ttf";
    ListedRows rows(FontFolderListing(downloads_));
    rows.Uncheck(2);  // two.ttf

    const CollectionOutcome outcome = UninstallDownloadedFonts(registry_, downloads_, bin_, rows);
    EXPECT_EQ(outcome.Done, 2);
    EXPECT_TRUE(outcome.Kept.empty());
    EXPECT_EQ(FileNames(FontFolderListing(downloads_)), std::vector<std::string>{"two.ttf"});
    EXPECT_EQ(platform::ListFiles(bin_), (std::vector<std::string>{"loose.ttf", "one.ttf"}));
    EXPECT_FALSE(Installed("Shared"));
    EXPECT_TRUE(fs::exists(installedFile));  // hidden, not deleted
    EXPECT_TRUE(Installed("Loose"));         // not installed from that download

    // Undone from the bin: the font is back and the bin empty of it.
    const CollectionOutcome restored =
        RestoreRecycledFonts(system_, bin_, CheckedFiles({"one.ttf"}), {});
    EXPECT_EQ(restored.Done, 1);
    EXPECT_TRUE(Installed("Shared"));
    EXPECT_EQ(platform::ListFiles(bin_), std::vector<std::string>{"loose.ttf"});
}

TEST_F(FontFoldersTest, TheBinKeepsWhatCouldNotBeRestoredAndPurgesWhatIsChecked) {
    Place(bin_, "a.ttf", "Alpha");
    Place(bin_, "b.ttf", "Beta");
    Place(bin_, "c.ttf", "Gamma");
    Place(bin_, "d.ttf", "Delta");
    ListedRows rows(FontFolderListing(bin_));
    rows.Uncheck(1);
    rows.Uncheck(3);
    const CollectionOutcome restored = RestoreRecycledFonts(system_, bin_, rows, Record());
    EXPECT_EQ(progress_, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(restored.Done, 2);
    EXPECT_TRUE(Installed("Alpha"));
    EXPECT_TRUE(Installed("Gamma"));
    EXPECT_FALSE(Installed("Beta"));
    EXPECT_EQ(FileNames(FontFolderListing(bin_)), (std::vector<std::string>{"b.ttf", "d.ttf"}));

    // A file that will not install stays in the bin, and says why.
    fs::copy_file(test::kDejaVuSans, bin_ / "whole.ttf");
    {
        std::vector<char> bytes(64, 'x');
        ASSERT_TRUE(platform::WriteWholeFile(bin_ / "broken.ttf", {bytes.data(), bytes.size()}));
    }
    const CollectionOutcome kept =
        RestoreRecycledFonts(system_, bin_, CheckedFiles({"broken.ttf", "../a.ttf"}), {});
    ASSERT_EQ(kept.Kept.size(), 2U);
    EXPECT_EQ(kept.Kept[0].Name, "broken.ttf");
    EXPECT_FALSE(kept.Kept[0].Reason.empty());
    EXPECT_TRUE(fs::exists(bin_ / "broken.ttf"));

    // Purge: read-only and hidden files go, an unchecked row stays.
    fs::rename(bin_ / "b.ttf", bin_ / ".b.ttf");
    ::chmod((bin_ / ".b.ttf").c_str(), 0444);
    ::chmod(bin_.c_str(), 0755);
    ListedRows purge(FontFolderListing(bin_));
    ASSERT_EQ(purge.RowCount(), 3);  // .b.ttf, d.ttf, whole.ttf
    purge.Uncheck(1);
    progress_.clear();
    const CollectionOutcome purged = PurgeRecycledFonts(system_, bin_, purge, Record());
    EXPECT_EQ(purged.Done, 2);
    EXPECT_EQ(progress_, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(platform::ListFiles(bin_), (std::vector<std::string>{"broken.ttf", "d.ttf"}));
}

TEST_F(FontFoldersTest, MovingToTheBinNeverReplacesAFileOfThatName) {
    Install("same.ttf", "First");
    const auto firstBytes = platform::ReadWholeFile(system_.FontsFolder() + "same.ttf");
    EXPECT_EQ(MoveFontToRecycleBin(registry_, "First", bin_).Done, 1);
    EXPECT_FALSE(Installed("First"));
    Install("same.ttf", "Second");
    const std::string installed = registry_.FilePath(registry_.FindFontEntry("Second"));
    const auto secondBytes = platform::ReadWholeFile(installed);
    EXPECT_EQ(MoveFontToRecycleBin(registry_, "Second", bin_).Done, 1);
    EXPECT_FALSE(fs::exists(installed));
    EXPECT_EQ(platform::ListFiles(bin_), (std::vector<std::string>{"same (2).ttf", "same.ttf"}));
    EXPECT_EQ(platform::ReadWholeFile(bin_ / "same.ttf"), firstBytes);
    EXPECT_EQ(platform::ReadWholeFile(bin_ / "same (2).ttf"), secondBytes);
    EXPECT_EQ(FreeNameIn(bin_, "same.ttf"), bin_ / "same (3).ttf");
    EXPECT_EQ(FreeNameIn(bin_, "noextension"), bin_ / "noextension");

    // What the page shows is what it restores: the variant installs under its own name.
    EXPECT_EQ(RestoreRecycledFonts(system_, bin_, CheckedFiles({"same (2).ttf"}), {}).Done, 1);
    EXPECT_TRUE(Installed("Second"));
    EXPECT_TRUE(fs::exists(system_.FontsFolder() + "same(2).ttf"));

    // Unknown and empty names do nothing.
    for (const char* name : {"", "Nobody"}) {
        const CollectionOutcome outcome = MoveFontToRecycleBin(registry_, name, bin_);
        EXPECT_EQ(outcome.Done, 0);
        EXPECT_TRUE(outcome.Kept.empty());
    }
}

TEST_F(FontFoldersTest, AFontOutsideTheFontsFolderIsOnlyHiddenAndItsCopyShowsItAgain) {
    const fs::path systemFont = Place(sandbox_.SystemFolder(), "system.ttf", "Systemic");
    ASSERT_TRUE(Installed("Systemic"));
    const CollectionOutcome outcome = MoveFontToRecycleBin(registry_, "Systemic", bin_);
    EXPECT_EQ(outcome.Done, 1);
    EXPECT_FALSE(Installed("Systemic"));
    EXPECT_TRUE(fs::exists(systemFont));  // never the program's to delete
    EXPECT_TRUE(platform::SameContents(systemFont, bin_ / "system.ttf"));

    // Restoring lifts the rule; no second copy goes into the Fonts folder.
    EXPECT_EQ(RestoreRecycledFonts(system_, bin_, CheckedFiles({"system.ttf"}), {}).Done, 1);
    EXPECT_TRUE(Installed("Systemic"));
    EXPECT_TRUE(platform::ListFiles(bin_).empty());
    EXPECT_FALSE(fs::exists(system_.FontsFolder() + "system.ttf"));

    // A file a user put into the Fonts folder by hand is not the program's either.
    const fs::path byHand = Place(sandbox_.FontsFolder(), "byhand.ttf", "ByHand");
    ASSERT_TRUE(Installed("ByHand"));
    EXPECT_EQ(MoveFontToRecycleBin(registry_, "ByHand", bin_).Done, 1);
    EXPECT_FALSE(Installed("ByHand"));
    EXPECT_TRUE(fs::exists(byHand));
}

TEST_F(FontFoldersTest, LinksAndSpecialFilesInTheBinAreRefusedOrRemovedThemselves) {
    // An outside font, read-only, that a link in the bin points to.
    const fs::path outside = Place(sources_.Path(), "outside.ttf", "Outside");
    ::chmod(outside.c_str(), 0444);
    fs::create_symlink(outside, bin_ / "link.ttf");
    ASSERT_EQ(::mkfifo((bin_ / "pipe.ttf").c_str(), 0644), 0);
    EXPECT_TRUE(FontFolderListing(bin_).empty());

    const CollectionOutcome restored =
        RestoreRecycledFonts(system_, bin_, CheckedFiles({"link.ttf", "pipe.ttf"}), {});
    EXPECT_EQ(restored.Done, 0);
    ASSERT_EQ(restored.Kept.size(), 2U);
    EXPECT_FALSE(Installed("Outside"));

    const CollectionOutcome purged =
        PurgeRecycledFonts(system_, bin_, CheckedFiles({"link.ttf", "pipe.ttf"}), {});
    EXPECT_EQ(purged.Done, 2);
    EXPECT_TRUE(fs::is_empty(bin_));
    EXPECT_TRUE(fs::exists(outside));
    EXPECT_EQ(fs::status(outside).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(FontFoldersTest, RepairFinishesAKilledMoveAndRemovesOnlyOurDeadLeftovers) {
    // Killed between hiding the font and deleting its file: its whole copy is in the bin, and
    // the move's record beside the records names it.
    Install("killed.ttf", "Killed");
    const fs::path installed = system_.FontsFolder() + "killed.ttf";
    ASSERT_TRUE(platform::CopyFile(installed, bin_ / "killed.ttf", false));
    ASSERT_TRUE(platform::WriteWholeFile(sandbox_.KeyFile().parent_path() / "moving-into-bin",
                                         installed.string()));
    ASSERT_TRUE(fonts::UninstallFont(registry_, registry_.FindFontEntry("Killed")));
    // Uninstalled on purpose, its file kept, a copy in the bin too but no move under way: stays.
    Install("kept.ttf", "Kept");
    ASSERT_TRUE(platform::CopyFile(system_.FontsFolder() + "kept.ttf", bin_ / "kept.ttf", false));
    ASSERT_TRUE(fonts::UninstallFont(registry_, registry_.FindFontEntry("Kept")));
    // Leftovers of killed writes, one of an earlier version, one still being written.
    const std::string fonts = system_.FontsFolder();
    for (const fs::path& leftover :
         {fs::path(fonts + ".a.ttf.0123456789abcdef.tmp"),
          fs::path(fonts + "b.ttf.0123456789abcdef.tmp"), bin_ / ".glyphwell-partial-c.ttf",
          downloads_ / ".d.ttf.fedcba9876543210.tmp"}) {
        ASSERT_TRUE(platform::WriteWholeFile(leftover, "partial"));
    }
    const fs::path live = backup_ / ".e.ttf.00000000000000ff.tmp";
    ASSERT_TRUE(platform::WriteWholeFile(live, "being written"));
    const int writer = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    Place(downloads_, "font.ttf.notours.tmp", "NotOurs");

    const int removed = RepairAfterInterruption(system_, {run_.Path(), downloads_, bin_, backup_});
    ::close(writer);
    EXPECT_EQ(removed, 5);
    EXPECT_FALSE(fs::exists(installed));
    EXPECT_TRUE(fs::exists(bin_ / "killed.ttf"));
    EXPECT_TRUE(fs::exists(fonts + "kept.ttf"));
    EXPECT_FALSE(Installed("Kept"));
    EXPECT_EQ(platform::ListFiles(fonts), std::vector<std::string>{"kept.ttf"});
    EXPECT_EQ(platform::ListFiles(bin_), (std::vector<std::string>{"kept.ttf", "killed.ttf"}));
    EXPECT_FALSE(fs::exists(sandbox_.KeyFile().parent_path() / "moving-into-bin"));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(downloads_ / "font.ttf.notours.tmp"));
}

TEST_F(FontFoldersTest, AFailedCopyNeverCostsTheFont) {
    Install("keep.ttf", "Keep");
    const std::string installed = registry_.FilePath(1);
    // The bin cannot be written: a plain file stands where the folder should be.
    fs::remove(bin_);
    ASSERT_TRUE(platform::WriteWholeFile(bin_, "not a folder"));
    CollectionOutcome outcome = MoveFontToRecycleBin(registry_, "Keep", bin_);
    ASSERT_EQ(outcome.Kept.size(), 1U);
    EXPECT_EQ(outcome.Kept[0].Name, "Keep");
    EXPECT_EQ(outcome.Kept[0].Reason, "目标文件夹不可用");
    EXPECT_TRUE(Installed("Keep"));
    EXPECT_TRUE(fs::exists(installed));

    // The same for a backup and an export into a folder that is not there.
    fs::remove(backup_);
    ASSERT_TRUE(platform::WriteWholeFile(backup_, "not a folder"));
    EXPECT_EQ(BackupInstalledFonts(system_, backup_, {}).Kept.size(), 1U);
    outcome = ExportFontFile(registry_, "Keep", run_ / "no such folder");
    ASSERT_EQ(outcome.Kept.size(), 1U);
    EXPECT_EQ(outcome.Kept[0].Reason, "目标文件夹不存在");
}

// A small file system of its own, mounted for the test and gone after it.
class SmallDisk {
  public:
    explicit SmallDisk(const fs::path& at) : at_(at) {
        fs::create_directories(at_);
        mounted_ = test::RunCommand("mount -t tmpfs -o size=256k tmpfs " +
                                    test::ShellQuote(at_.string()) + " 2>/dev/null")
                       .exitCode == 0;
    }
    ~SmallDisk() {
        if (mounted_) {
            test::RunCommand("umount " + test::ShellQuote(at_.string()));
        }
    }
    bool Mounted() const { return mounted_; }

  private:
    fs::path at_;
    bool mounted_ = false;
};

TEST_F(FontFoldersTest, AFullDiskKeepsTheFontAndTheOlderCopy) {
    SmallDisk disk(bin_);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "no tmpfs can be mounted here (needs root or CAP_SYS_ADMIN)";
    }
    // An older, small file of the same name already in the bin.
    std::string target = "big.ttf";
    ASSERT_TRUE(platform::WriteWholeFile(bin_ / "big.ttf", "an older copy"));
    const auto olderBytes = platform::ReadWholeFile(bin_ / "big.ttf");
    // DejaVu Sans is larger than what is left on the disk.
    ASSERT_EQ(fonts::InstallFont(system_, test::kDejaVuSans.string(), target), 1);
    registry_.LoadFontTable();
    ASSERT_GT(fs::file_size(test::kDejaVuSans), 256U * 1024U);

    const CollectionOutcome outcome = MoveFontToRecycleBin(registry_, "DejaVu Sans", bin_);
    ASSERT_EQ(outcome.Kept.size(), 1U);
    EXPECT_EQ(outcome.Kept[0].Reason, "磁盘空间不足");
    EXPECT_TRUE(Installed("DejaVu Sans"));
    EXPECT_EQ(platform::ReadWholeFile(bin_ / "big.ttf"), olderBytes);
    EXPECT_EQ(platform::ListFiles(bin_), std::vector<std::string>{"big.ttf"});  // no leftovers
}

TEST_F(FontFoldersTest, BackupAndRestoreShowTheirProgressAndKeepTheBackup) {
    for (const char* family : {"Alpha", "Beta", "Gamma", "Delta"}) {
        Install(std::string(family) + ".ttf", family);
    }
    const CollectionOutcome backedUp = BackupInstalledFonts(system_, backup_, Record());
    EXPECT_EQ(progress_, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(backedUp.Done, 4);
    EXPECT_EQ(FontFolderListing(backup_).size(), 4U);
    // A second file of a name already in the table (a family's bold, say) is backed up too.
    Install("Alpha-Bold.ttf", "Alpha");
    EXPECT_EQ(BackupInstalledFonts(system_, backup_, {}).Done, 5);
    EXPECT_TRUE(fs::exists(backup_ / "Alpha-Bold.ttf"));
    fs::remove(backup_ / "Alpha-Bold.ttf");

    for (int n = registry_.Count(); n >= 1; --n) {
        fonts::UninstallFont(registry_, n);
    }
    EXPECT_FALSE(Installed("Beta"));
    progress_.clear();
    ListedRows rows(FontFolderListing(backup_));
    const CollectionOutcome restored = RestoreBackedUpFonts(system_, backup_, rows, Record());
    EXPECT_EQ(progress_, (std::vector<int>{0, 25, 50, 75}));
    EXPECT_EQ(restored.Done, 4);
    EXPECT_TRUE(Installed("Beta"));
    EXPECT_EQ(FontFolderListing(backup_).size(), 4U);
}

}  // namespace
}  // namespace glyphwell::collections
