#include "util/LongPath.h"

#include <direct.h>

#include "support/TestSupport.h"
#include "util/Wide.h"

using namespace qrvtest;

namespace {

// Every file operation's name: a relative one lies in the package directory, also after the
// current directory has changed (as while a JVM expands elsewhere); a name that is no text of
// the program's code page names nothing.
TEST(LongPath, NamesLieInThePackageDirectoryWhateverTheCurrentOne)
{
    ASSERT_EQ(65001u, GetACP()) << "the program's own code page, as the launcher's";
    TempDir dir;
    makeDirs(dir / "pkg");
    makeDirs(dir / "elsewhere");
    setPackageDirectory((dir / "pkg").c_str());
    const AtScopeEnd unset([] { setPackageDirectory(""); });
    ASSERT_EQ(0, _chdir((dir / "elsewhere").c_str()));
    const std::pair<const char*, std::string> rows[] = {
        {"qrv.control", dir / "pkg\\qrv.control"},
        {"META-INF/MANIFEST.MF", dir / "pkg\\META-INF\\MANIFEST.MF"},
        {"..\\x", dir / "x"}, {".", dir / "pkg"}, {"C:\\x\\..\\y", "C:\\y"},
        {"", ""}, {"a\xC3(b", ""},  // a lead byte without its continuation
    };
    for (const auto& [name, full] : rows) {
        EXPECT_EQ(full, fullPathOf(name)) << name;
        EXPECT_EQ(widen(full.c_str()), longPath(name)) << name;
    }
    const std::string deep(250, 'd');
    EXPECT_EQ(L"\\\\?\\" + widen((dir / "pkg\\" + deep).c_str()), longPath(deep.c_str()));
}

} // namespace
