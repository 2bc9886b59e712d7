// The arguments shared by the commands that read picture files: the files
// themselves, --any-extension and --help, with each command's own options
// taken by a function it passes.
#pragma once
#include <cstddef>
#include <functional>
#include <vector>

#include "tools/cli/args.h"

struct picture_arguments {
    std::vector<const char*> files;
    bool check_extension = true;  // cleared by --any-extension
};

// Takes one of the command's own options at the cursor; true when it was
// one (a bad value is recorded in args.error).
using take_option_fn = std::function<bool(arg_cursor& args)>;

// Walks the arguments, expecting exactly file_count files. Returns -1 when
// the command goes on; otherwise the exit status to return at once: 0 after
// printing the help, 2 after printing a usage error.
int parse_picture_arguments(int argc, char** argv, const char* command, const char* help, size_t file_count,
                            picture_arguments* out, const take_option_fn& take_own = {});

// Prints "tilora-cli COMMAND: MESSAGE (try --help)" and returns 2.
int usage_error(const char* command, const char* message);
