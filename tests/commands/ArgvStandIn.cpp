// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for a started program in tests: writes the arguments it got,
// each followed by a NUL, to a new file in the folder that
// TESSEL_STANDIN_LOG names. The file appears whole, by rename, so a test
// polling the folder never reads half of it.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <process.h>
#define TESSEL_GETPID _getpid
#else
#include <unistd.h>
#define TESSEL_GETPID getpid
#endif

int main(int argc, char** argv)
{
    const char* folder = std::getenv("TESSEL_STANDIN_LOG");
    if (!folder)
        return 3;
    const std::string base = std::string(folder) + "/" + std::to_string(TESSEL_GETPID());
    {
        std::ofstream out(base + ".part", std::ios::binary);
        for (int i = 1; i < argc; ++i)
            out << argv[i] << '\0';
        if (!out)
            return 4;
    }
    return std::rename((base + ".part").c_str(), (base + ".args").c_str()) == 0 ? 0 : 5;
}
