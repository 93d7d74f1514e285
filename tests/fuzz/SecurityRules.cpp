// Fuzz target: the "java.security" line rule and the other security-file text rules, the line
// rule against a plain reading of its contract written here.
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "security/SecurityRules.h"

namespace {

// The value the line sets, read as its contract says; false for a line of another key.
bool plainValue(const std::string& line, std::string& value)
{
    static const std::string Field = "identity.database=";
    if (line.compare(0, Field.size(), Field) != 0)
        return false;
    std::string rest = line.substr(Field.size());
    while (!rest.empty() && std::strchr("\r\n \t", rest.back()) != nullptr)
        rest.pop_back();
    value.clear();
    for (char c : rest) {
        c = c == '/' ? '\\' : c;
        if (!(c == '\\' && !value.empty() && value.back() == '\\'))
            value += c;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> f = fuzz::fields(data, size, 2);
    const size_t capacity = 1 + (size > 0 ? data[0] % 64 : 0);
    std::string expected;
    const bool isField = plainValue(f[0], expected);
    for (const size_t room : {capacity, size_t{5001}}) {
        fuzz::Buffer out(room, "stale");
        const bool found = identityDatabaseOfLine(f[0].c_str(), out.get(), out.capacity());
        if (found != (isField && expected.size() < room))
            std::abort();
        if (found ? out.get() != expected : isField && *out.get() != '\0')
            std::abort();
    }
    fuzz::Buffer backup(capacity);
    backupNameOf(f[1].c_str(), backup.get(), backup.capacity());
    // A split that succeeds gives back the text around its last slash.
    fuzz::Buffer before(capacity), after(capacity);
    if (splitAtLastSlash(f[1].c_str(), before.get(), before.capacity(), after.get(),
                         after.capacity()) &&
        (std::string(before.get()) + "/" + after.get() != f[1] ||
         std::strchr(after.get(), '/') != nullptr))
        std::abort();
    const char* verb;
    const char* preposition;
    backupWords(f[1].c_str(), &verb, &preposition);
    return 0;
}
