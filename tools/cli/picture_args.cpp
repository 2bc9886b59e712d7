#include "tools/cli/picture_args.h"

#include <cstdio>
#include <string>

int usage_error(const char* command, const char* message)
{
    std::fprintf(stderr, "tilora-cli %s: %s (try --help)\n", command, message);
    return 2;
}

int parse_picture_arguments(int argc, char** argv, const char* command, const char* help, size_t file_count,
                            picture_arguments* out, const take_option_fn& take_own)
{
    arg_cursor args{argc, argv, 0, {}};
    while (args_left(args)) {
        const char* arg = argv[args.index];
        if (take_flag(args, "--help") || take_flag(args, "-h")) {
            std::fputs(help, stdout);
            return 0;
        }
        if (take_flag(args, "--any-extension"))
            out->check_extension = false;
        else if (take_own && take_own(args))
            continue;
        else if (!args.error.empty())
            break;
        else if (arg[0] == '-' && arg[1] != '\0')
            args.error = std::string("unknown option '") + arg + "'";
        else {
            out->files.push_back(arg);
            args.index += 1;
        }
    }
    if (!args.error.empty())
        return usage_error(command, args.error.c_str());
    if (out->files.size() != file_count)
        return usage_error(command, file_count == 1 ? "expected one file" : "expected an input and an output file");
    return -1;
}
