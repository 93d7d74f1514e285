#include "exec/PathHandOn.h"

#include "exec/HandOnRules.h"

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

std::string shortNameOf(const std::string& path)
{
    const std::wstring wide = widen(path.c_str());
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
    return narrow(shortName.c_str());
}

} // namespace

PathHandOn::PathHandOn(const char* traceFile) : traceFile_(traceFile) {}

bool PathHandOn::form(const char* path, std::string& out, const char* workDir, UINT codePage,
                      bool avoidBlanks)
{
    out = path != nullptr ? path : "";
    hand_on::PathFacts facts;
    facts.fits = [codePage](const std::string& text) { return fitsCodePage(text, codePage); };
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
        noteFailure(out);
        return false;
    }
    out = choice.text;
    return true;
}

bool PathHandOn::fileForm(const char* path, std::string& out, bool forwardSlashes)
{
    std::string handed;
    if (!form(path, handed))
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
    noteFailure(handed);
    return false;
}

void PathHandOn::noteFailure(const std::string& path)
{
    traceMessage(traceFile_.c_str(), "cannot be handed on in the system's code page:",
                 path.c_str());
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
