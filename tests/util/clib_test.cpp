#include <direct.h>
#include <sys/stat.h>

#include "support/TestSupport.h"
#include "util/clib.h"

using namespace qrvtest;

namespace {

class FileHelpers : public InTempDir {};

std::string patterned(size_t size)
{
    std::string text(size, '\0');
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return text;
}

} // namespace

TEST_F(FileHelpers, FexistsTestsThePathInsideQuotesOfACommandLine)
{
    writeFile("prog.exe", "x");
    const std::string quoted = "\"" + (dir / "prog.exe") + "\" -arg \"x y\"";
    const std::string before = quoted;
    EXPECT_TRUE(fexists(quoted.c_str()));
    EXPECT_EQ(before, quoted);
    EXPECT_FALSE(fexists("\"missing.exe\" prog.exe"));
    EXPECT_FALSE(fexists(""));
    EXPECT_FALSE(fexists("\""));
    EXPECT_TRUE(fexists(dir.path().c_str()));
    EXPECT_TRUE(isDir(dir.path().c_str()));
    EXPECT_FALSE(isDir("prog.exe"));
    EXPECT_FALSE(isDir("missing"));
}

TEST_F(FileHelpers, CopyFileKeepsEveryByteAcrossChunkAndPassBoundaries)
{
    // empty, one chunk exactly, one byte over, and 20 chunks plus one byte (two passes)
    for (size_t size : {size_t{0}, size_t{30000}, size_t{30001}, size_t{20 * 30000 + 1}}) {
        SCOPED_TRACE("size " + std::to_string(size));
        const std::string content = patterned(size);
        writeFile("from.bin", content);
        ASSERT_TRUE(copyFile("from.bin", "to.bin"));
        EXPECT_EQ(content, readFile("to.bin"));
    }
}

TEST_F(FileHelpers, CopyFileReplacesAnExistingDestination)
{
    writeFile("from.bin", "short");
    writeFile("to.bin", std::string(100000, 'z'));
    ASSERT_TRUE(copyFile("from.bin", "to.bin"));
    EXPECT_EQ("short", readFile("to.bin"));
}

TEST_F(FileHelpers, FailedCopyLeavesNoDestination)
{
    EXPECT_FALSE(copyFile("missing.bin", "to.bin"));
    EXPECT_FALSE(exists("to.bin"));
    _mkdir("adir");
    EXPECT_FALSE(copyFile("adir", "to.bin"));
    EXPECT_FALSE(exists("to.bin"));
    // a destination that cannot be opened: its directory does not exist
    writeFile("from.bin", "data");
    EXPECT_FALSE(copyFile("from.bin", "nodir\\to.bin"));
    EXPECT_FALSE(copyStream(nullptr, nullptr));
}

TEST_F(FileHelpers, AppendFileAddsToTheEndAndCreatesAMissingTarget)
{
    writeFile("part.txt", "abc");
    appendFile("part.txt", "all.txt");
    appendFile("part.txt", "all.txt");
    EXPECT_EQ("abcabc", readFile("all.txt"));
    EXPECT_FALSE(appendFile("missing.txt", "all.txt"));
    EXPECT_EQ("abcabc", readFile("all.txt"));
}

TEST_F(FileHelpers, CurrentDirOfADriveRootIsLetterAndColon)
{
    char saved[PathCapacity];
    getCurrentDir(saved, PathSize);
    EXPECT_EQ(dir.path(), saved);
    ASSERT_EQ(0, _chdir("C:\\"));
    char root[PathCapacity];
    getCurrentDir(root, PathSize);
    EXPECT_STREQ("C:", root);
    _chdir(saved);
    char tiny[2];
    getCurrentDir(tiny, sizeof tiny);  // does not fit: falls back to "."
    EXPECT_STREQ(".", tiny);
}

TEST_F(FileHelpers, PathPointerReadsTheSearchPath)
{
    const char* path = getPathPtr();
    ASSERT_NE(nullptr, path);
    EXPECT_NE(nullptr, strstr(path, ";")) << path;
}

TEST_F(FileHelpers, DelDirTreeRemovesANestedTree)
{
    _mkdir("tree");
    _mkdir("tree\\a");
    _mkdir("tree\\a\\b");
    _mkdir("tree\\empty");
    for (const char* name : {"tree\\1.txt", "tree\\a\\2.txt", "tree\\a\\b\\3.txt", "tree\\a\\b\\4"})
        writeFile(name, "x");
    // A level past MAX_PATH, made and filled by the helpers themselves.
    const std::string deep = dir / ("tree\\a\\" + std::string(240, 'd'));
    const std::string copy = deep + "\\copy.txt";
    ASSERT_TRUE(makeDir(deep.c_str()) && isDir(deep.c_str()));
    EXPECT_TRUE(copyFile("tree\\1.txt", copy.c_str()) && appendFile("tree\\1.txt", copy.c_str()));
    EXPECT_TRUE(fexists(copy.c_str()));
    EXPECT_EQ("xx", readFile(copy));
    EXPECT_TRUE(delDirTree((dir / "tree").c_str()));
    EXPECT_FALSE(exists("tree"));
    char cwd[PathCapacity];
    getCurrentDir(cwd, PathSize);
    EXPECT_EQ(dir.path(), cwd);
}

TEST_F(FileHelpers, DelDirTreeStopsAtAReadOnlyFile)
{
    _mkdir("tree");
    writeFile("tree\\locked.txt", "x");
    SetFileAttributesA("tree\\locked.txt", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(delDirTree((dir / "tree").c_str()));
    EXPECT_TRUE(exists("tree\\locked.txt"));
    EXPECT_TRUE(exists("tree"));
    SetFileAttributesA("tree\\locked.txt", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileHelpers, DelDirTreeOfAMissingPathTouchesNothing)
{
    writeFile("keep.txt", "x");
    EXPECT_FALSE(delDirTree((dir / "missing").c_str()));
    EXPECT_FALSE(delDirTree(""));
    EXPECT_TRUE(exists("keep.txt"));
    char cwd[PathCapacity];
    getCurrentDir(cwd, PathSize);
    EXPECT_EQ(dir.path(), cwd);
}

TEST_F(FileHelpers, DelDirTreeOfARelativePathRemovesTheSameTree)
{
    _mkdir("rel");
    _mkdir("rel\\sub");
    writeFile("rel\\sub\\f.txt", "x");
    EXPECT_TRUE(delDirTree("rel"));
    EXPECT_FALSE(exists("rel"));
}
