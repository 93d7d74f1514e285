// Conversions between the program's own 8-bit text (the active code page: UTF-8 where the
// manifest's setting is honoured) and UTF-16 at the wide interfaces, and to the legacy code page
// that programs without that setting decode their command lines and files with.
#pragma once

#include <windows.h>

#include <string>

// `text` (the program's own encoding, or `codePage`) as UTF-16; empty for a null or
// unconvertible text.
std::wstring widen(const char* text, UINT codePage = CP_ACP);
// The same for every byte of `text`, NULs included.
std::wstring widen(const std::string& text, UINT codePage);

// `text` in the program's own encoding; empty when it cannot be converted.
std::string narrow(const wchar_t* text);
// The same for every character of `text`, NULs included.
std::string narrow(const std::wstring& text);

// The program's own text as UTF-8 (unchanged where the own encoding is UTF-8, and for ASCII).
std::string toUtf8(const char* text);
// UTF-8 text in the program's own encoding; characters it cannot hold become "?" (never a
// look-alike: "\u0141" taken as "L" would name another folder), and set `lost` when given.
std::string fromUtf8(const std::string& text, bool* lost = nullptr);

// The code page that programs without the UTF-8 setting use for their 8-bit interfaces: the
// system locale's default ANSI code page (GetACP itself gives 65001 under the setting).
UINT legacyCodePage();

// `text` (UTF-16) in code page `codePage`. False, with `out` empty, when a character has no
// exact form there (no best-fit substitutes are accepted).
bool encodeExactly(const wchar_t* text, UINT codePage, std::string& out);
