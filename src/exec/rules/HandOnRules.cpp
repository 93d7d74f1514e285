#include "exec/HandOnRules.h"

#include "util/AsciiCase.h"

namespace hand_on {

std::string relativeTo(const std::string& path, const std::string& workDir)
{
    std::string dir = workDir;
    while (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/'))
        dir.pop_back();
    if (dir.empty() || path.size() < dir.size() ||
        !equalsAsciiNoCase(path.substr(0, dir.size()).c_str(), dir.c_str()))
        return {};
    if (path.size() == dir.size())
        return ".";
    const char next = path[dir.size()];
    const bool dirEndsInSeparator = dir.back() == '\\' || dir.back() == '/';
    if (dirEndsInSeparator)
        return path.substr(dir.size());
    if (next != '\\' && next != '/')
        return {};
    const std::string rest = path.substr(dir.size() + 1);
    return rest.empty() ? std::string(".") : rest;
}

Choice choose(const std::string& path, const std::string& workDir, const PathFacts& facts,
              bool avoidBlanks)
{
    if (avoidBlanks && path.find(' ') != std::string::npos) {
        const std::string shortName = facts.shortName(path);
        if (!shortName.empty() && shortName.find(' ') == std::string::npos &&
            facts.fits(shortName))
            return {Form::BlankFree, shortName};
    }
    if (facts.fits(path))
        return {Form::Whole, path};
    const std::string shortName = facts.shortName(path);
    if (!shortName.empty() && facts.fits(shortName))
        return {Form::ShortName, shortName};
    const std::string relative = relativeTo(path, workDir);
    if (!relative.empty() && facts.fits(relative))
        return {Form::Relative, relative};
    return {};
}

} // namespace hand_on
