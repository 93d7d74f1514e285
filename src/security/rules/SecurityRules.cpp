#include "security/SecurityRules.h"

#include <cstring>

#include "util/TextBuffer.h"

bool splitAtLastSlash(const char* text, char* before, size_t beforeCapacity, char* after,
                      size_t afterCapacity)
{
    before[0] = '\0';
    after[0] = '\0';
    const char* slash = std::strrchr(text, '/');
    if (slash == nullptr)
        return false;
    const size_t length = static_cast<size_t>(slash - text);
    if (length >= beforeCapacity || !copyText(after, afterCapacity, slash + 1)) {
        after[0] = '\0';
        return false;
    }
    std::memcpy(before, text, length);
    before[length] = '\0';
    return true;
}

bool backupNameOf(const char* path, char* out, size_t capacity)
{
    size_t keep = std::strlen(path);
    const char* separator = std::strrchr(path, '\\');
    if (separator != nullptr) {
        const char* dot = std::strrchr(separator, '.');
        if (dot != nullptr)
            keep = static_cast<size_t>(dot - path);
    }
    if (keep + 5 > capacity) {
        if (capacity > 0)
            out[0] = '\0';
        return false;
    }
    std::memcpy(out, path, keep);
    out[keep] = '\0';
    return appendText(out, capacity, ".001");
}

bool identityDatabaseOfLine(const char* line, char* out, size_t capacity)
{
    static const char Field[] = "identity.database=";
    if (capacity == 0 || std::strncmp(line, Field, sizeof Field - 1) != 0)
        return false;
    const char* value = line + sizeof Field - 1;
    size_t length = std::strlen(value);
    while (length > 0 && (value[length - 1] == '\n' || value[length - 1] == '\r' ||
                          value[length - 1] == ' ' || value[length - 1] == '\t'))
        --length;
    size_t written = 0;
    for (size_t i = 0; i < length; ++i) {
        const char c = value[i] == '/' ? '\\' : value[i];
        if (c == '\\' && written > 0 && out[written - 1] == '\\')
            continue;
        if (written + 1 >= capacity) {
            out[0] = '\0';
            return false;
        }
        out[written++] = c;
    }
    out[written] = '\0';
    return true;
}

void backupWords(const char* language, const char** verb, const char** preposition)
{
    struct Words {
        const char* language;
        const char* verb;
        const char* preposition;
    };
    static const Words table[] = {
        {"english", "Renamed", "to"},
        {"french", "Renomm\xEF\xBF\xBD", "en"},
        {"german", "Alt:", "zu"},
        {"spanish", "Reagrupado ", "a"},
        {"polish", "Zmieniono", "na"},
        {"italian", "Rinominato", "a"},
        {"portuguese", "Nome modificado", "Para"},
        {"dutch", "Hernoemd", "naar"},
    };
    *verb = "Renamed";
    *preposition = "to";
    for (const Words& words : table) {
        if (language != nullptr && std::strcmp(language, words.language) == 0) {
            *verb = words.verb;
            *preposition = words.preposition;
            return;
        }
    }
}

