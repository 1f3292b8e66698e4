// Saving through links, refusing what is no regular file, keeping rights and owner, and the
// exclusive temporary.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "engine/atomic_file.h"
#include "temp_folder.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

// Runs `check` as an unprivileged user: in a child that drops root, or here when the tests
// already run unprivileged. True when the check held.
bool HoldsUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0) return check();
    const pid_t child = ::fork();
    if (child == 0) _exit(::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && check() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(AtomicFile, SavesThroughLinksAndRefusesWhatIsNoRegularFile) {
    TempFolder folder;
    const fs::path real = folder.Path() / "real.kbf";
    WriteBytes(real, "old");
    fs::create_directory(folder.Path() / "sub");
    fs::create_symlink("../real.kbf", folder.Path() / "sub" / "relative.kbf");
    fs::create_symlink(folder.Path() / "sub" / "relative.kbf", folder.Path() / "chain.kbf");
    EXPECT_EQ(SaveFileAtomically(folder.Path() / "chain.kbf", "new"), "");
    EXPECT_EQ(ReadBytes(real), "new");
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "chain.kbf"));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "sub" / "relative.kbf"));

    // A dangling link creates the file it names.
    fs::create_symlink("named.kbf", folder.Path() / "dangling.kbf");
    EXPECT_EQ(SaveFileAtomically(folder.Path() / "dangling.kbf", "made"), "");
    EXPECT_EQ(ReadBytes(folder.Path() / "named.kbf"), "made");
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "dangling.kbf"));

    const fs::path fifo = folder.Path() / "pipe.kbf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_EQ(SaveFileAtomically(fifo, "x"), "Unable to write to " + fifo.string() + ": it is not a regular file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(folder.Count(), 6);  // no temporary left
}

// A sticky folder everyone may write (like /tmp): a link another user planted there is not
// followed, even when the system's protected_symlinks setting is off, and another user's file
// is not replaced.
TEST(AtomicFile, KeepsToTheRulesOfASharedStickyFolder) {
    TempFolder folder;
    const fs::path shared = folder.Path() / "shared";
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    const fs::path victim = folder.Path() / "victim";
    WriteBytes(victim, "kept");
    const fs::path own = shared / "own.kbf";
    fs::create_symlink(victim, own);
    EXPECT_EQ(SaveFileAtomically(own, "saved"), "");
    EXPECT_EQ(ReadBytes(victim), "saved");
    if (::geteuid() != 0) GTEST_SKIP() << "planting a link as another user needs root";

    const fs::path evil = shared / "evil.kbf";
    ASSERT_TRUE(HoldsUnprivileged([&] {
        std::error_code error;
        fs::create_symlink(victim, evil, error);
        return !error;
    }));
    const fs::path chain = folder.Path() / "chain.kbf";  // the saver's own link to the planted one
    fs::create_symlink(evil, chain);
    const std::string refusal = ": the symbolic link " + evil.string() +
                                " belongs to another user in a shared folder and is not followed";
    EXPECT_EQ(SaveFileAtomically(evil, "lost"), "Unable to write to " + evil.string() + refusal);
    EXPECT_EQ(SaveFileAtomically(chain, "lost"), "Unable to write to " + chain.string() + refusal);
    EXPECT_EQ(ReadBytes(victim), "saved");
    EXPECT_TRUE(fs::is_symlink(evil));

    // The rule holds for every link of the path: a planted link to a folder is not entered.
    const fs::path victimFolder = folder.Path() / "victims";
    fs::create_directory(victimFolder);
    const fs::path evilFolder = shared / "evil";
    ASSERT_TRUE(HoldsUnprivileged([&] {
        std::error_code error;
        fs::create_symlink(victimFolder, evilFolder, error);
        return !error;
    }));
    EXPECT_EQ(SaveFileAtomically(evilFolder / "out.kbf", "lost"),
              "Unable to write to " + (evilFolder / "out.kbf").string() + ": the symbolic link " +
                  evilFolder.string() + " belongs to another user in a shared folder and is not followed");
    EXPECT_TRUE(fs::is_empty(victimFolder));

    // Another user's file there, writable by all, could not be replaced by the final rename:
    // refused before anything is written.
    const fs::path open = shared / "open.kbf";
    WriteBytes(open, "kept");
    fs::permissions(open, fs::perms::all);
    EXPECT_TRUE(HoldsUnprivileged([&] {
        const PendingFile file(open, "lost");
        return file.Error() == "Unable to write to " + open.string() + ": Operation not permitted" &&
               file.TemporaryPath().empty();
    }));

    // The folder's owner may lay links in it for others to follow.
    ASSERT_EQ(::chown(shared.c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(SaveFileAtomically(evil, "owner's"), "");
    EXPECT_EQ(ReadBytes(victim), "owner's");
}

TEST(AtomicFile, KeepsRightsAndOwnerAndRespectsAFileTheUserMayNotWrite) {
    TempFolder folder;
    const fs::path path = folder.Path() / "battle.kbf";
    WriteBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(SaveFileAtomically(path, "new"), "");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
        EXPECT_EQ(SaveFileAtomically(path, "newer"), "");
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, kNobody);
        EXPECT_EQ(info.st_gid, kNobody);
    }

    // Mode 444 in a folder everyone may write: refused as a plain write would refuse it.
    fs::permissions(folder.Path(), fs::perms::all);
    const fs::path locked = folder.Path() / "locked.kbf";
    WriteBytes(locked, "kept");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(locked.c_str(), kNobody, kNobody), 0);
    }
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(HoldsUnprivileged([&] {
        return SaveFileAtomically(locked, "lost") == "Unable to write to " + locked.string() + ": Permission denied";
    }));
    EXPECT_EQ(ReadBytes(locked), "kept");
    EXPECT_EQ(folder.Count(), 2);
}

TEST(AtomicFile, TemporaryIsCreatedExclusivelyInBoundedAttempts) {
    TempFolder folder;
    const fs::path path = folder.Path() / "battle.kbf";
    const fs::path victim = folder.Path() / "victim";
    WriteBytes(path, "old");
    fs::create_symlink(victim, folder.Path() / "battle.kbf.tmpA");
    int calls = 0;
    {
        PendingFile file(path, "new", [&] { return ++calls == 1 ? ".tmpA" : ".tmpB"; });
        ASSERT_EQ(file.Error(), "");
        EXPECT_EQ(ReadBytes(path), "old");  // not in place before Commit
        EXPECT_EQ(file.Commit(), "");
    }
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_FALSE(fs::exists(victim));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "battle.kbf.tmpA"));

    calls = 0;
    const PendingFile never(path, "lost", [&] { ++calls; return ".tmpA"; });
    EXPECT_NE(never.Error().find("no free name"), std::string::npos) << never.Error();
    EXPECT_EQ(calls, 100);
    {
        const PendingFile abandoned(path, "lost");
        EXPECT_EQ(abandoned.Error(), "");
    }
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_FALSE(fs::exists(victim));
    EXPECT_EQ(folder.Count(), 2);  // the file and the planted link
}

// The temporary's name stays within the file-name limit however long the target's is, and
// links to folders on the way are followed as the system would.
TEST(AtomicFile, SavesAnyLegalNameThroughFolderLinks) {
    TempFolder folder;
    fs::create_directories(folder.Path() / "real" / "inner");
    fs::create_symlink("real/inner", folder.Path() / "in");
    const std::string longest(255, 'n');
    const fs::path path = folder.Path() / "in" / ".." / "inner" / longest;
    EXPECT_EQ(SaveFileAtomically(path, "saved"), "");
    EXPECT_EQ(ReadBytes(folder.Path() / "real" / "inner" / longest), "saved");
    EXPECT_EQ(SaveFileAtomically(path, "again"), "");
    EXPECT_EQ(ReadBytes(folder.Path() / "real" / "inner" / longest), "again");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path() / "real" / "inner"), {}), 1);
}

}  // namespace
}  // namespace kestrin
