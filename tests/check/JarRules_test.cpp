#include "check/JarRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZipBytes.h"

namespace {

const unsigned char* bytesOf(const std::string& text)
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

// The names a whole file's central directory holds, or the reason it has none.
std::string namesOf(const std::string& file)
{
    jar::Directory directory;
    if (const char* why = jar::findDirectory(bytesOf(file), file.size(), file.size(), directory))
        return why;
    std::vector<std::string> names;
    const std::string bytes = file.substr(static_cast<size_t>(directory.offset),
                                          static_cast<size_t>(directory.size));
    if (const char* why = jar::directoryNames(bytesOf(bytes), bytes.size(), directory.entries,
                                              names))
        return why;
    std::string joined;
    for (const std::string& name : names)
        joined += name + ";";
    return joined;
}

std::string patched(std::string bytes, size_t fromEnd, const std::string& with)
{
    return bytes.replace(bytes.size() - fromEnd, with.size(), with);
}

} // namespace

TEST(JarRules, CentralDirectoryNamesAndHostileOffsets)
{
    const std::string two = ziptest::zipOf({"A.class", "p/B.class"});
    const std::string noZip = "no zip file (no end of central directory)";
    const std::string outside = "central directory outside the file";
    const std::string pastEnd = "central directory entry past its end";
    struct Row {
        std::string file;
        std::string expected;
    };
    const Row rows[] = {
        {two, "A.class;p/B.class;"},
        {ziptest::zipOf({"A.class"}, "a comment PK\x05\x06 in it"), "A.class;"},
        {ziptest::zipOf({}), ""},
        {"", noZip},
        {"PK\x03\x04 not a zip at all", noZip},
        {two.substr(0, two.size() - 1), noZip},            // the end record cut short
        {patched(two, 2, "\x01"), noZip},                  // a comment longer than the file
        {patched(two, 6, "\xFF\x00\x00\x00"), outside},    // directory offset past the record
        {patched(two, 10, "\xFF\xFF\x00\x00"), outside},   // directory size past the record
        {patched(two, 12, "\x03"), pastEnd},               // more entries than it holds
        {patched(two, 12, "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"), noZip},  // zip64, none
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, namesOf(row.file)) << ::testing::PrintToString(row.file);

    // A name running past the directory's end (the second entry's name length raised).
    std::string longName = two;
    longName[longName.find("PK\x01\x02", 60) + 28] = '\x7F';
    EXPECT_EQ(pastEnd, namesOf(longName));
    EXPECT_EQ("com/example/Wizard.class", jar::classEntryName("com.example.Wizard"));
}

TEST(JarRules, Zip64EndRecordGivesTheDirectory)
{
    std::string file = ziptest::zipOf({"A.class"});
    const size_t end = file.size() - 22;
    const uint64_t size = 46 + 7;
    const uint64_t offset = end - size;
    std::string record = "PK\x06\x06";
    ziptest::put(record, 44, 8);
    record += std::string(20, '\0');  // versions, disks, entries on this disk
    ziptest::put(record, 1, 8);
    ziptest::put(record, size, 8);
    ziptest::put(record, offset, 8);
    std::string locator = "PK\x06\x07";
    ziptest::put(locator, 0, 4);
    ziptest::put(locator, end, 8);
    ziptest::put(locator, 1, 4);
    std::string tail = file.substr(end);
    tail.replace(10, 10, "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF");
    file = file.substr(0, end) + record + locator + tail;
    EXPECT_EQ("A.class;", namesOf(file));
    // The locator naming a record outside the bytes at hand.
    file.replace(end + 56 + 8, 1, "\xF0");
    EXPECT_EQ("no zip file (no end of central directory)", namesOf(file));
}
