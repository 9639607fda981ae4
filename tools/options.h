#pragma once
// The developer programs' command lines: "--name value" pairs and bare flags.
//
// A mistyped or unknown option ends the program before it starts: these programs run for
// minutes or hours, and one that quietly ignored "--gmaes" (or "--help") would train or
// measure with the defaults and write its files where it was started.

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

namespace bg::training {

// Calls `take(name, value)` for each option in turn, with an empty value for the names in
// `flags`; `take` answers whether it knows the name. "--help" or "-h" prints `usage` and ends
// the program; an unknown name or a missing value prints it to stderr and ends with status 2.
template <class Take>
void readOptions(int argc, char** argv, const char* usage,
                 std::initializer_list<std::string_view> flags, Take take) {
    auto fail = [usage](const char* what, std::string_view name) {
        std::fprintf(stderr, "%s %.*s\n%s", what, int(name.size()), name.data(), usage);
        std::exit(2);
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--help" || name == "-h") {
            std::fputs(usage, stdout);
            std::exit(0);
        }
        bool flag = false;
        for (std::string_view f : flags)
            flag = flag || f == name;
        const char* value = "";
        if (!flag) {
            if (i + 1 >= argc) fail("no value for", name);
            value = argv[++i];
        }
        if (!take(name, value)) fail("unknown option", name);
    }
}

} // namespace bg::training
