// Stand-in for the package's cleanup program: records its start into "cleanup_recorder.record"
// beside itself (the stand-ins' record format, Standin.h), whatever name the copy runs under,
// and ends.
#include "Standin.h"

int main(int argc, char** argv)
{
    const std::string path = standin::ownDirectory() + "\\cleanup_recorder.record";
    const std::string temp = path + ".tmp";
    if (!standin::writeText(temp, standin::startRecord(argc, argv)))
        return 1;
    // Appears whole or not at all for a test that polls for it.
    return MoveFileA(temp.c_str(), path.c_str()) ? 0 : 1;
}
