#include "config/ControlText.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "config/ControlFileRules.h"
#include "util/File.h"
#include "util/Wide.h"

namespace {

std::string readAll(FILE* file)
{
    std::string bytes;
    char chunk[4096];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, count);
    return bytes;
}

// UTF-8 text in the program's own encoding, line by line, so that a line with letters the code
// page lacks can be named; the numbers of such lines go to `lostLines`.
std::string ownEncoding(const std::string& text, std::vector<unsigned>& lostLines)
{
    if (GetACP() == CP_UTF8)
        return text;
    std::string out;
    unsigned number = 1;
    for (size_t start = 0; start < text.size(); ++number) {
        const size_t newline = text.find('\n', start);
        const size_t end = newline == std::string::npos ? text.size() : newline + 1;
        bool lost = false;
        out += fromUtf8(text.substr(start, end - start), &lost);
        if (lost)
            lostLines.push_back(number);
        start = end;
    }
    return out;
}

// The file's text in the program's own encoding.
std::string decode(const std::string& bytes, utf8::Encoding encoding,
                   std::vector<unsigned>& lostLines)
{
    using utf8::Encoding;
    const size_t mark = utf8::markLength(encoding);
    switch (encoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        std::string text = utf8::fromUtf16(bytes.data() + mark, bytes.size() - mark,
                                           encoding == Encoding::Utf16Be);
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return ownEncoding(text, lostLines);
    }
    case Encoding::Legacy: {
        if (legacyCodePage() == GetACP())
            return bytes;
        // A conversion that fails keeps the bytes: nothing of the file is lost.
        std::string text = narrow(widen(bytes, legacyCodePage()));
        return text.empty() ? bytes : text;
    }
    default:
        return ownEncoding(bytes.substr(mark), lostLines);
    }
}

} // namespace

bool ControlText::startsAsUtf16(FILE* file)
{
    char head[2] = {};
    const size_t count = std::fread(head, 1, sizeof head, file);
    std::rewind(file);
    return count == 2 && (std::memcmp(head, "\xFF\xFE", 2) == 0 ||
                          std::memcmp(head, "\xFE\xFF", 2) == 0);
}

bool ControlText::open(const char* filename)
{
    std::string bytes;
    {
        File file(filename, "rt");
        if (!file)
            return false;
        if (startsAsUtf16(file.get())) {
            file.close();
            File binary(filename, "rb");
            if (!binary)
                return false;
            bytes = readAll(binary.get());
        } else {
            bytes = readAll(file.get());
        }
    }
    encoding_ = utf8::detect(bytes.data(), bytes.size());
    lostLines_.clear();
    text_ = decode(bytes, encoding_, lostLines_);
    position_ = 0;
    lineNumber_ = 0;
    lineOpen_ = false;
    return true;
}

bool ControlText::next(char* line)
{
    if (position_ >= text_.size())
        return false;
    const char* start = text_.data() + position_;
    const size_t length = control_file::linePieceLength(start, text_.size() - position_);
    position_ += length;
    continued_ = lineOpen_;
    if (!lineOpen_)
        ++lineNumber_;
    const bool endsLine = start[length - 1] == '\n';
    lineOpen_ = !endsLine;
    const size_t textLength = endsLine ? length - 1 : length;
    std::memcpy(line, start, textLength);
    line[textLength] = '\0';
    cutAtNul_ = std::strlen(line) < textLength;
    return true;
}

bool ControlText::lettersLost() const
{
    return std::binary_search(lostLines_.begin(), lostLines_.end(), lineNumber_);
}

const char* ControlText::encodingName() const
{
    switch (encoding_) {
    case utf8::Encoding::Utf8Mark:
        return "UTF-8 with a byte-order mark";
    case utf8::Encoding::Utf16Le:
        return "UTF-16 LE";
    case utf8::Encoding::Utf16Be:
        return "UTF-16 BE";
    case utf8::Encoding::Legacy:
        return "the legacy code page";
    default:
        return nullptr;
    }
}
