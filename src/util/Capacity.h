// The capacity of the path buffers used throughout: every path, command and file-name buffer
// holds 5000 characters and its NUL.
#pragma once

constexpr unsigned PathCapacity = 5001;
// The size handed to calls that count the NUL themselves (getcwd and the like).
constexpr unsigned PathSize = 5000;
