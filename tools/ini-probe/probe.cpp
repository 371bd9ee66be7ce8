// SPDX-License-Identifier: GPL-3.0-or-later
// Runs private-profile reads and writes through the Windows functions and
// prints their results, for recording reference cases (see make-cases.py).
// Built with MinGW and run under a Windows or compatible environment:
//
//   probe SCRIPT
//
// SCRIPT's first line is the profile's path; each further line is one
// operation, strings in hex and "-" for a null pointer:
//   R section key default bufsize   -> "R ret hex-of-buffer"
//   W section key value             -> "W 0|1 touched"
// "touched" is 1 when the call wrote the file (it is given an old time first).
//   F                               (drops any cached copy of the profile)
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool decode(const std::string& hex, std::string& out, bool& null)
{
    null = hex == "-";
    out.clear();
    if (null)
        return true;
    if (hex == "=") // the empty string
        return true;
    if (hex.size() % 2)
        return false;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return true;
}

std::string encode(const char* bytes, std::size_t size)
{
    std::string hex;
    char two[3];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(two, sizeof two, "%02x", static_cast<unsigned char>(bytes[i]));
        hex += two;
    }
    return hex.empty() ? "=" : hex;
}

// Sets the file's last-write time to a fixed old one, or reads it; false when
// the file cannot be opened.
bool fileTime(const char* path, FILETIME* time, bool set)
{
    const HANDLE file = CreateFileA(path, set ? FILE_WRITE_ATTRIBUTES : FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const BOOL ok =
        set ? SetFileTime(file, nullptr, nullptr, time) : GetFileTime(file, nullptr, nullptr, time);
    CloseHandle(file);
    return ok;
}

struct Arg
{
    std::string bytes;
    bool null = false;
    const char* ptr() const { return null ? nullptr : bytes.c_str(); }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: probe SCRIPT\n");
        return 2;
    }
    std::ifstream script(argv[1], std::ios::binary);
    std::string line;
    std::getline(script, line);
    Arg path;
    if (!decode(line, path.bytes, path.null))
        return 2;
    std::printf("ACP %u\n", GetACP());
    while (std::getline(script, line)) {
        std::istringstream in(line);
        std::string op;
        in >> op;
        if (op == "F") {
            WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.ptr());
            continue;
        }
        std::string h1, h2, h3;
        in >> h1 >> h2 >> h3;
        Arg a, b, c;
        if (!decode(h1, a.bytes, a.null) || !decode(h2, b.bytes, b.null)
            || !decode(h3, c.bytes, c.null))
            return 2;
        if (op == "R") {
            unsigned bufsize = 0;
            in >> bufsize;
            std::vector<char> buffer(bufsize + 16, '\x7f');
            const DWORD ret = GetPrivateProfileStringA(a.ptr(), b.ptr(), c.ptr(), buffer.data(),
                                                       bufsize, path.ptr());
            const std::size_t length = bufsize ? std::string(buffer.data()).size() : 0;
            std::printf("R %lu %s\n", static_cast<unsigned long>(ret),
                        encode(buffer.data(), length).c_str());
        } else if (op == "W") {
            FILETIME old{0x12345600u, 0x01c0a000u}; // in 2001
            const bool existed = fileTime(path.ptr(), &old, true);
            const BOOL ret = WritePrivateProfileStringA(a.ptr(), b.ptr(), c.ptr(), path.ptr());
            FILETIME now{};
            const bool exists = fileTime(path.ptr(), &now, false);
            const bool touched = exists
                                 && (!existed || now.dwLowDateTime != old.dwLowDateTime
                                     || now.dwHighDateTime != old.dwHighDateTime);
            std::printf("W %d %d\n", ret ? 1 : 0, touched ? 1 : 0);
        } else {
            return 2;
        }
        std::fflush(stdout);
    }
    return 0;
}
