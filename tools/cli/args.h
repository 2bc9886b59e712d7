// Walking a command's arguments: options of the form "--name VALUE" or
// "--name=VALUE", and plain flags.
#pragma once
#include <string>

struct arg_cursor {
    int argc;
    char** argv;
    int index = 0;
    std::string error;  // the first usage error met, empty while there is none
};

bool args_left(const arg_cursor& args);

// When the current argument is the option `name`, stores its value, moves
// past it and returns true. A missing value records a usage error.
bool take_option(arg_cursor& args, const char* name, const char** value);

// When the current argument is the flag `name`, moves past it and returns true.
bool take_flag(arg_cursor& args, const char* name);

// Records a usage error for an option whose value was not understood, and
// returns false.
bool bad_value(arg_cursor& args, const char* name, const char* value);

// When the current argument is the option `name`, parses its value into *out
// (a T or an optional<T>) and returns true; a value the parser refuses
// records a usage error and leaves *out alone.
template <typename T, typename Out>
bool take_parsed(arg_cursor& args, const char* name, bool (*parse)(const char*, T*), Out* out)
{
    const char* value = nullptr;
    if (!take_option(args, name, &value))
        return false;
    T parsed;
    if (parse(value, &parsed))
        *out = parsed;
    else
        bad_value(args, name, value);
    return true;
}
