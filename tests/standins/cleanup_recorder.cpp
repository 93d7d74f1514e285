// Stand-in for the package's cleanup program: records the arguments it was started with into
// "cleanup_args.txt" beside itself, one per line, and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    char self[MAX_PATH * 4] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string path = self;
    const size_t slash = path.rfind('\\');
    path = (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) +
           "\\cleanup_args.txt";
    std::string temp = path + ".tmp";
    FILE* file = std::fopen(temp.c_str(), "w");
    if (file == nullptr)
        return 1;
    for (int i = 0; i < argc; ++i)
        std::fprintf(file, "%s\n", argv[i]);
    std::fclose(file);
    // Appears whole or not at all for a test that polls for it.
    return MoveFileA(temp.c_str(), path.c_str()) ? 0 : 1;
}
