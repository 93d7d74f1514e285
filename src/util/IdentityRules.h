// Text rule of a file's identity: which of the numbers the system tells name one file or
// directory and no other. No file calls here.
#pragma once

#include <string>

// What the system told of one file or directory.
struct IdentityFacts {
    // The 128-bit file id with its 64-bit volume serial number, where the system has them.
    bool idRead = false;
    unsigned long long idVolume = 0;
    unsigned char id[16] = {};
    // The 32-bit volume serial number and 64-bit file index, which every system tells.
    bool indexRead = false;
    unsigned long volume = 0;
    unsigned long long index = 0;
};

// The identity as text: the 128-bit id where it was read and is a real one, else the file index
// ("VVVVVVVV-IIIIIIIIIIIIIIII", hexadecimal); empty for no identity: nothing read, or only ids of
// 0 or all ones, which some network redirectors give every file alike.
std::string identityText(const IdentityFacts& facts);

// Whether the facts of two files name one file: both have an identity, and it is the same one.
// Without an identity nothing is known to be the same.
bool sameIdentity(const IdentityFacts& one, const IdentityFacts& other);
