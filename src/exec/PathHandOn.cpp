#include "exec/PathHandOn.h"

#include "exec/HandOnRules.h"
#include "util/LongPath.h"
#include "util/LongPathRules.h"

namespace {

// True when `text` converts whole to UTF-16 and from there exactly into `codePage`; a text
// that does not convert counts as one the program cannot read.
bool fitsCodePage(const std::string& text, UINT codePage)
{
    if (text.empty())
        return true;
    const std::wstring wide = widen(text.c_str());
    std::string encoded;
    return !wide.empty() && encodeExactly(wide.c_str(), codePage, encoded);
}

// True when `text` is at most `maxLength` characters long.
bool fitsLength(const std::string& text, size_t maxLength)
{
    return text.size() <= maxLength || widen(text.c_str()).size() <= maxLength;
}

std::string shortNameOf(const std::string& path)
{
    // A full path is asked in the long form, so that it has its short name at any length; a
    // relative one keeps a relative short name.
    const std::wstring given = widen(path.c_str());
    const std::wstring wide = long_path::isRelative(given) ? given : longPath(path.c_str());
    if (wide.empty())
        return {};
    const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring shortName(size, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), &shortName[0], size);
    if (length == 0 || length >= size)
        return {};
    shortName.resize(length);
    if (shortName.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return narrow(L"\\" + shortName.substr(7));
    return narrow(shortName.compare(0, 4, L"\\\\?\\") == 0 ? shortName.substr(4) : shortName);
}

} // namespace

PathHandOn::PathHandOn(const char* traceFile) : traceFile_(traceFile) {}

bool PathHandOn::form(const char* path, std::string& out, const char* workDir, UINT codePage,
                      bool avoidBlanks, size_t maxLength)
{
    out = path != nullptr ? path : "";
    hand_on::PathFacts facts;
    facts.fits = [codePage, maxLength](const std::string& text) {
        return fitsCodePage(text, codePage) && fitsLength(text, maxLength);
    };
    facts.shortName = shortNameOf;
    const hand_on::Choice choice =
        hand_on::choose(out, workDir != nullptr ? workDir : "", facts, avoidBlanks);
    switch (choice.form) {
    case hand_on::Form::Whole:
        return true;
    case hand_on::Form::BlankFree:
        break;
    case hand_on::Form::ShortName:
        traceMessage(traceFile_.c_str(), "handed on by its short name:",
                     (out + " as " + choice.text).c_str());
        break;
    case hand_on::Form::Relative:
        traceMessage(traceFile_.c_str(), "handed on relative to the working directory:",
                     (out + " as " + choice.text).c_str());
        break;
    case hand_on::Form::None:
        // Where its letters fit, the path is only too long for its use and has no short name.
        noteFailure(out, fitsCodePage(out, codePage)
                             ? "cannot be handed on, too long and without a short name:"
                             : "cannot be handed on in the system's code page:");
        return false;
    }
    out = choice.text;
    return true;
}

bool PathHandOn::workDirForm(const char* path, std::string& out, UINT codePage)
{
    return form(path, out, "", codePage, false, WorkDirLimit);
}

bool PathHandOn::fileForm(const char* path, std::string& out, bool forwardSlashes)
{
    // The program reads the file's paths itself: any length.
    std::string handed;
    if (!form(path, handed, "", legacyCodePage(), false, std::string::npos))
        return false;
    std::wstring wide = widen(handed.c_str());
    if (forwardSlashes) {
        for (wchar_t& c : wide) {
            if (c == L'\\')
                c = L'/';
        }
    }
    if (handed.empty() || (!wide.empty() && encodeExactly(wide.c_str(), legacyCodePage(), out)))
        return true;
    noteFailure(handed, "cannot be handed on in the system's code page:");
    return false;
}

void PathHandOn::noteFailure(const std::string& path, const char* reason)
{
    traceMessage(traceFile_.c_str(), reason, path.c_str());
    if (failed_.empty())
        failed_ = path;
}

void PathHandOn::warnUnlessFits(const char* label, const char* text)
{
    if (text != nullptr && !fitsCodePage(text, legacyCodePage()))
        traceMessage(traceFile_.c_str(),
                     "Warning: the system's code page cannot hold the text handed on as",
                     label);
}
