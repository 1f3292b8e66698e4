#include <gtest/gtest.h>

#include <unistd.h>

#include "engine/temp_folder.h"
#include "settings/program_files.h"

namespace kestrin {
namespace {

namespace fs = std::filesystem;

// A prefix with bin/ and, when installed, the desktop entry an installation puts there.
fs::path MakePrefix(const fs::path& root, bool installed, bool portableStats) {
    fs::create_directories(root / "bin");
    if (installed) {
        fs::create_directories((root / InstalledDesktopEntry()).parent_path());
        testing::WriteBytes(root / InstalledDesktopEntry(), "[Desktop Entry]\n");
    }
    if (portableStats) testing::WriteBytes(root / "bin" / "ShipStats.ini", "[General]\n");
    return root / "bin";
}

TEST(ProgramFiles, InstalledCopiesUseTheUsersConfigurationFolderAndEveryOtherCopyItsOwn) {
    testing::TempFolder folder;
    const fs::path home = folder.Path() / "home";
    const fs::path xdg = folder.Path() / "xdg";
    struct Case {
        const char* name;
        fs::path executableFolder;
        std::string xdgConfigHome;
        fs::path expected;
    };
    const fs::path installed = MakePrefix(folder.Path() / "usr", true, false);
    const fs::path portable = MakePrefix(folder.Path() / "portable", true, true);
    const fs::path plainBin = MakePrefix(folder.Path() / "unpacked", false, false);
    const fs::path buildTree = folder.Path() / "build" / "release" / "app";
    fs::create_directories(buildTree);
    // bin/ is writable here, as /usr/bin is for root: being installed must not depend on it.
    ASSERT_EQ(access(installed.c_str(), W_OK), 0);
    const Case cases[] = {
        {"build tree", buildTree, "", buildTree},
        {"bin/ without a desktop entry", plainBin, "", plainBin},
        {"installed, bin/ writable", installed, "", home / ".config" / "Kestrin"},
        {"installed, trailing separator", installed / "", "", home / ".config" / "Kestrin"},
        {"installed, XDG_CONFIG_HOME set", installed, xdg.string(), xdg / "Kestrin"},
        {"installed, relative XDG_CONFIG_HOME ignored", installed, "rel", home / ".config" / "Kestrin"},
        {"installed with ShipStats.ini beside it", portable, xdg.string(), portable},
    };
    for (const Case& c : cases) {
        const ProgramFilesEnvironment environment{c.executableFolder, c.xdgConfigHome, home.string()};
        EXPECT_EQ(ProgramFilesFolder(environment), c.expected) << c.name;
    }
}

TEST(ProgramFiles, ThePerUserFolderIsCreatedAndNothingIsMadeBesideTheExecutable) {
    testing::TempFolder folder;
    const fs::path installed = MakePrefix(folder.Path() / "usr", true, false);
    const fs::path xdg = folder.Path() / "config";
    const fs::path files = PrepareProgramFilesFolder({installed, xdg.string(), ""});
    EXPECT_EQ(files, xdg / "Kestrin");
    EXPECT_TRUE(fs::is_directory(files));
    EXPECT_TRUE(fs::is_empty(installed));
    // Without any home the files stay beside the executable rather than in a relative folder.
    EXPECT_EQ(PrepareProgramFilesFolder({installed, "", ""}), installed);
}

TEST(ProgramFiles, BattleDialogsStartInTheProgramsFolderOnlyWhenItIsWritable) {
    testing::TempFolder folder;
    const fs::path documents = folder.Path() / "Documents";
    fs::create_directories(documents);
    const fs::path unwritable = folder.Path() / "missing";  // nobody, root included, writes there
    EXPECT_EQ(BattleFileDialogFolder(folder.Path(), documents, "/home"), folder.Path());
    EXPECT_EQ(BattleFileDialogFolder(unwritable, documents, "/home"), documents);
    EXPECT_EQ(BattleFileDialogFolder(unwritable, folder.Path() / "NoDocuments", "/home"), "/home");
}

}  // namespace
}  // namespace kestrin
