#include "engine/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/atomic_file.h"
#include "temp_folder.h"

namespace kestrin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::string WithLineEnding(const std::vector<std::string>& lines, const std::string& ending) {
    std::string text;
    for (const std::string& line : lines) text += line + ending;
    return text;
}

struct ReadCase {
    const char* section;
    const char* key;
    const char* expected;  // with "dflt" as the caller's default
};

TEST(IniFileTest, ReadsTrimmedValuesIgnoringCaseWithEitherLineEnding) {
    const std::vector<std::string> lines = {
        "[General]", "; Guns=comment", "PaBattleConstant = 30 \t", "", "[harpy]",
        "NAME=\t Two Words  ", "Guns=3", "[Phoenix]", "Guns=2", "[Harpy]", "Guns=99", "Power=7"};
    const ReadCase cases[] = {
        {"General", "PaBattleConstant", "30"},
        {"GENERAL", "pabattleconstant", "30"},
        {"Harpy", "Name", "Two Words"},
        {"Harpy", "Guns", "3"},       // the first of a repeated key wins, not Phoenix's
        {"Harpy", "Power", "7"},      // a repeated section adds its keys
        {"Harpy", "Armor", "dflt"},   // missing key
        {"Mantis", "Guns", "dflt"},   // missing section
        {"General", "; Guns", "dflt"},
    };
    for (const char* ending : {"\n", "\r\n"}) {
        // Desktop editors may put a UTF-8 byte order mark before the first section.
        const std::string mark = ending[0] == '\r' ? "\xEF\xBB\xBF" : "";
        const IniFile file = IniFile::Parse(mark + WithLineEnding(lines, ending));
        for (const ReadCase& c : cases)
            EXPECT_EQ(file.Read(c.section, c.key, "dflt"), c.expected)
                << c.section << "/" << c.key << (ending[0] == '\r' ? " CR LF" : " LF");
    }
}

TEST(IniFileTest, ReadCutsLongValueToReaderBuffer) {
    const IniFile file = IniFile::Parse("[A]\r\nk=" + std::string(3000, 'x') + "\r\n");
    EXPECT_EQ(file.Read("A", "k", ""), std::string(2047, 'x'));
}

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST(IniFileTest, WriteReplacesInPlaceOrAppends) {
    const WriteCase cases[] = {
        {"replaces keeping position and spelling", "[A]\nKey = 1\nm=2\n", "a", "KEY", "9",
         "[A]\r\nKey=9\r\nm=2\r\n"},
        {"appends key after section's last entry", "[A]\nk=1\n\n; B follows\n[B]\nk=2\n", "A",
         "n", "3", "[A]\r\nk=1\r\nn=3\r\n\r\n; B follows\r\n[B]\r\nk=2\r\n"},
        {"appends key to empty section", "[A]\n[B]\n", "A", "n", "3", "[A]\r\nn=3\r\n[B]\r\n"},
        {"appends section at end", "; top\n[A]\nk=1", "C", "x", "1",
         "; top\r\n[A]\r\nk=1\r\n[C]\r\nx=1\r\n"},
        {"creates first section", "", "General", "PaBattleConstant", "25",
         "[General]\r\nPaBattleConstant=25\r\n"},
        {"keeps a value on one line", "", "A", "k", "a\r\nb", "[A]\r\nk=a  b\r\n"},
    };
    for (const WriteCase& c : cases) {
        IniFile file = IniFile::Parse(c.before);
        file.Write(c.section, c.key, c.value);
        EXPECT_EQ(file.Serialize(), c.after) << c.name;
    }
}

TEST(IniFileTest, LoadReportsMissingFileByPath) {
    TempFolder folder;
    const IniLoadResult result = LoadIniFile(folder.Path() / "none.ini");
    EXPECT_EQ(result.error.rfind("Unable to read " + (folder.Path() / "none.ini").string(), 0), 0u)
        << result.error;
    EXPECT_EQ(result.document.Serialize(), "");
}

TEST(IniFileTest, LoadRefusesFilesThatCouldHangOrExhaustIt) {
    TempFolder folder;
    const auto huge = folder.Path() / "huge.ini";
    WriteBytes(huge, "");
    std::filesystem::resize_file(huge, kIniFileLimit + 1);  // sparse: costs no disk
    const auto fifo = folder.Path() / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {huge, "it is larger than 16 MB"},
        {fifo, "it is not a regular file"},  // opening it would wait for a writer
        {"/dev/zero", "it is not a regular file"},
        {folder.Path(), "it is not a regular file"},
    };
    for (const auto& [path, reason] : cases) {
        const IniLoadResult result = LoadIniFile(path);
        EXPECT_EQ(result.error, "Unable to read " + path.string() + ": " + reason);
        EXPECT_EQ(result.document.Serialize(), "");
    }
}

// Megabytes of padding before the sections once made every look-up scan them all.
TEST(IniFileTest, LookUpWorkDoesNotGrowWithTheDocument) {
    std::string text(1 << 20, '\n');
    text += "[Padding]\n";
    for (int i = 0; i < 100000; ++i) text += "k" + std::to_string(i) + "=0\n";
    text += "[harpy]\nGUNS=9\n";
    const IniFile file = IniFile::Parse(text);
    EXPECT_EQ(file.Read("Harpy", "Guns", ""), "9");
    EXPECT_EQ(file.Read("Padding", "k99999", ""), "0");
    EXPECT_EQ(file.Read("Padding", "missing", "dflt"), "dflt");
    EXPECT_LE(file.LookUpSteps(), 3u * 20);  // a binary search each; a scan compares 100,000
    EXPECT_EQ(file.Serialize().size(), text.size() + std::count(text.begin(), text.end(), '\n'));
}

TEST(AtomicFileTest, ReplacesContentLeavingNoTemporary) {
    TempFolder folder;
    const auto path = folder.Path() / "data.ini";
    WriteBytes(path, "old");
    EXPECT_EQ(SaveFileAtomically(path, "new\r\n"), "");
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(folder.Count(), 1);
}

TEST(AtomicFileTest, FailedSaveKeepsOldContentAndLeavesNoTemporary) {
    TempFolder folder;
    // A folder in the way: the temporary is written, but the rename into place fails.
    const auto folderInWay = folder.Path() / "data.ini";
    std::filesystem::create_directory(folderInWay);
    WriteBytes(folderInWay / "inside.txt", "kept");
    const std::string error = SaveFileAtomically(folderInWay, "new");
    EXPECT_EQ(error.rfind("Unable to write to " + folderInWay.string() + ": ", 0), 0u) << error;
    EXPECT_EQ(ReadBytes(folderInWay / "inside.txt"), "kept");
    EXPECT_EQ(folder.Count(), 1);
}

}  // namespace
}  // namespace kestrin
