// Fuzz target: one control-file line read as the parser reads it, with the value clean-ups.
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/ControlFileRules.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace control_file;
    const std::string line = fuzz::fields(data, size, 1)[0];
    // The reader hands over at most 5000 characters a line.
    fuzz::Buffer read(5001, line);
    const int index = matchKey(read.get());
    if (index >= 0) {
        const Setting& setting = Settings[index];
        fuzz::Buffer value(setting.capacity,
                           valueAfterKey(read.get(), std::strlen(setting.key)));
        const size_t before = value.length();
        if (index == JvmExtraParameters)
            removeExtraBackSlashes(value.get(), [](const char*, bool) {});
        else if (index == PredefinedJvmInstallDir)
            unescapeInstallDir(value.get());
        else if (index == JvmCommandName)
            normaliseCommandName(value.get(), value.capacity(), size % 2 == 0);
        if (index != JvmCommandName && value.length() > before)
            std::abort();
    }
    // Any text as an install directory, extra parameters and a program name.
    fuzz::Buffer dir(5000, line);
    unescapeInstallDir(dir.get());
    fuzz::Buffer extra(5000, line);
    removeExtraBackSlashes(extra.get(), nullptr);
    for (const char* p = extra.get(); *p != '\0'; ++p) {
        if (*p == '\\' && !isfilenameChar(p[1]))
            std::abort();  // a backslash before a non-file-name character survived
    }
    fuzz::Buffer name(16, line);
    normaliseCommandName(name.get(), name.capacity(), false);
    if (isConfigureWinRegistryLine(read.get()))
        configureWinRegistryValue(read.get());
    lineNotTakenReason(read.get());
    if (blankAfterKey(read.get()) && index < 0 && !isConfigureWinRegistryLine(read.get()))
        std::abort();  // a blank after a key only where the line is taken by a key
    // Any bytes as a file's text: its pieces cover it, each within the reader's length.
    const char* text = reinterpret_cast<const char*>(data);
    for (size_t at = 0, piece; at < size; at += piece) {
        piece = linePieceLength(text + at, size - at);
        if (piece == 0 || piece > LinePieceLength || piece > size - at)
            std::abort();
    }
    // Text is kept for its line ends exactly when the rewrite (up to a Ctrl-Z, carriage returns
    // dropped, each line feed written as CR LF) would write it unchanged.
    std::string rewritten;
    for (size_t i = 0; i < size && text[i] != '\x1A'; ++i) {
        if (text[i] == '\n')
            rewritten += "\r\n";
        else if (text[i] != '\r')
            rewritten += text[i];
    }
    if (lineEndsAlreadyWritten(text, size) != (rewritten == std::string(text, size)))
        std::abort();
    // An address offered to the user holds no blank; a known architecture is one of three.
    if (isDownloadUrl(read.get()) && std::strpbrk(read.get(), " \t\r\n") != nullptr)
        std::abort();
    const char* architecture = architectureSetting(read.get());
    if (architecture != nullptr && std::strlen(architecture) > 5)
        std::abort();
    return 0;
}
