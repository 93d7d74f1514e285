// Benchmarks of the file helpers: delDirTree scaling, copyFile against CopyFileA, and the copy of
// a read-only package's tree against a plain CopyFileExW loop over the same tree.
// Prints plain lines, the figure last.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "install/PackageCopyRules.h"
#include "util/TreeCopy.h"
#include "util/Wide.h"
#include "util/clib.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string scratchDir(const char* name)
{
    char temp[MAX_PATH + 1];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
}

// A tree of `files` files spread over subdirectories of 100 files each.
void makeTree(const std::string& root, int files)
{
    CreateDirectoryA(root.c_str(), nullptr);
    for (int i = 0; i < files; ++i) {
        const std::string dir = root + "\\d" + std::to_string(i / 100);
        if (i % 100 == 0)
            CreateDirectoryA(dir.c_str(), nullptr);
        const std::string file = dir + "\\f" + std::to_string(i) + ".txt";
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }
}

double timeDelete(int files)
{
    const std::string root = scratchDir("qrvbench-tree");
    makeTree(root, files);
    const auto start = Clock::now();
    delDirTree(root.c_str());
    return seconds(start);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Times `timeCopy(own)` for our copy and the system's: once each untimed, then `rounds` pairs
// that take turns at going first, so that the writes one copy leaves behind are paid alike.
template <typename TimeCopy>
void alternate(int rounds, TimeCopy timeCopy, std::vector<double>& ours,
               std::vector<double>& system)
{
    timeCopy(true);
    timeCopy(false);
    for (int run = 0; run < rounds; ++run) {
        const bool ownFirst = run % 2 == 0;
        const double first = timeCopy(ownFirst);
        const double second = timeCopy(!ownFirst);
        ours.push_back(ownFirst ? first : second);
        system.push_back(ownFirst ? second : first);
    }
}

// A package tree of 2,000 files and 200 MiB in 20 folders; the folders' and files' names.
void makePackageTree(const std::string& root, std::vector<std::string>& dirs,
                     std::vector<std::string>& files)
{
    CreateDirectoryA(root.c_str(), nullptr);
    const std::vector<char> block((200u << 20) / 2000, 'p');
    for (int i = 0; i < 2000; ++i) {
        if (i % 100 == 0) {
            dirs.push_back("lib" + std::to_string(i / 100));
            CreateDirectoryA((root + "\\" + dirs.back()).c_str(), nullptr);
        }
        files.push_back(dirs.back() + "\\part" + std::to_string(i) + ".jar");
        FILE* file = std::fopen((root + "\\" + files.back()).c_str(), "wb");
        if (file != nullptr) {
            std::fwrite(block.data(), 1, block.size(), file);
            std::fclose(file);
        }
    }
}

// The launcher's road (listing, plan, copy) against CopyFileExW file by file, the two taking
// turns at going first after an untimed copy of each.
void benchTreeCopy()
{
    const std::string source = scratchDir("qrvbench-package");
    const std::string target = source + "-copy";
    std::vector<std::string> dirs, files;
    makePackageTree(source, dirs, files);
    auto timeCopy = [&](bool own) {
        delDirTree(target.c_str());
        CreateDirectoryA(target.c_str(), nullptr);
        const auto start = Clock::now();
        if (own) {
            std::vector<TreeEntry> listing;
            std::string failed;
            listTree(source, listing, failed);
            const PackageCopyPlan plan = planPackageCopy(listing);
            copyTree(source, target, listing, plan.copied, nullptr, failed);
        } else {
            for (const std::string& dir : dirs)
                CreateDirectoryA((target + "\\" + dir).c_str(), nullptr);
            for (const std::string& file : files)
                CopyFileExW(widen((source + "\\" + file).c_str()).c_str(),
                            widen((target + "\\" + file).c_str()).c_str(),
                            nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS);
        }
        return seconds(start);
    };
    std::vector<double> ours, plain;
    alternate(6, timeCopy, ours, plain);
    delDirTree(target.c_str());
    delDirTree(source.c_str());
    std::printf("package tree copy, 2000 files 200 MiB (median s): %.4f\n", median(ours));
    std::printf("CopyFileExW loop, 2000 files 200 MiB (median s): %.4f\n", median(plain));
    std::printf("tree copy time / CopyFileExW loop time (goal at most 1.25): %.2f\n",
                median(ours) / median(plain));
}

} // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 500;
    std::vector<double> small, large;
    for (int run = 0; run < 3; ++run) {
        small.push_back(timeDelete(n));
        large.push_back(timeDelete(10 * n));
    }
    std::printf("delDirTree %d files (median s): %.4f\n", n, median(small));
    std::printf("delDirTree %d files (median s): %.4f\n", 10 * n, median(large));
    std::printf("delDirTree time ratio 10N/N (linear is about 10): %.2f\n",
                median(large) / median(small));

    const std::string source = scratchDir("qrvbench-copy.bin");
    const std::string target = source + ".copy";
    {
        std::vector<char> block(1 << 20, 'q');
        FILE* file = std::fopen(source.c_str(), "wb");
        for (int i = 0; i < 64 && file != nullptr; ++i)
            std::fwrite(block.data(), 1, block.size(), file);
        if (file != nullptr)
            std::fclose(file);
    }
    // Each copy first once untimed (the source read into the cache, the tree deletions' writes
    // behind), then timed rounds that take turns at going first: the writes one copy leaves
    // behind are paid by whichever runs next, alike for both.
    std::vector<double> ours, windows;
    auto timeCopy = [&](bool own) {
        DeleteFileA(target.c_str());
        const auto start = Clock::now();
        if (own)
            copyFile(source.c_str(), target.c_str());
        else
            CopyFileA(source.c_str(), target.c_str(), FALSE);
        return seconds(start);
    };
    alternate(8, timeCopy, ours, windows);
    DeleteFileA(target.c_str());
    DeleteFileA(source.c_str());
    std::printf("copyFile 64 MiB (median s): %.4f\n", median(ours));
    std::printf("CopyFileA 64 MiB (median s): %.4f\n", median(windows));
    std::printf("copyFile time / CopyFileA time, 64 MiB (goal at most 1.25): %.2f\n",
                median(ours) / median(windows));
    benchTreeCopy();
    return 0;
}
