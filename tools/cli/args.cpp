// Argument walking shared by the commands.
#include "tools/cli/args.h"

#include <cstring>

bool args_left(const arg_cursor& args)
{
    return args.index < args.argc && args.error.empty();
}

bool take_option(arg_cursor& args, const char* name, const char** value)
{
    if (!args_left(args))
        return false;
    const char* arg = args.argv[args.index];
    const size_t length = std::strlen(name);
    if (std::strncmp(arg, name, length) != 0)
        return false;
    if (arg[length] == '=') {
        *value = arg + length + 1;
        args.index += 1;
        return true;
    }
    if (arg[length] != '\0')
        return false;
    if (args.index + 1 >= args.argc) {
        args.error = std::string(name) + " needs a value";
        args.index += 1;
        return false;
    }
    *value = args.argv[args.index + 1];
    args.index += 2;
    return true;
}

bool take_flag(arg_cursor& args, const char* name)
{
    if (!args_left(args) || std::strcmp(args.argv[args.index], name) != 0)
        return false;
    args.index += 1;
    return true;
}

bool bad_value(arg_cursor& args, const char* name, const char* value)
{
    if (args.error.empty())
        args.error = std::string("bad ") + name + " value '" + value + "'";
    return false;
}
