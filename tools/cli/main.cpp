// tilora-cli: the poster printer's portable core from the command line.
#include "raster/raster_image.h"
#include "tools/cli/commands.h"

#include <cstdio>
#include <cstring>

namespace {

struct command {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* summary;
};

const command commands[] = {
    {"info", run_info, "print a picture file's format and size"},
    {"decode", run_decode, "read a picture file as the program does and write it as PNG"},
    {"resize", run_resize, "read a picture, scale it with the print filter and write it as PNG"},
    {"plan", run_plan, "print the page layout of a poster"},
    {"pages", run_pages, "render the printed sheets of a poster as PNG files"},
    {"face", run_face, "render a button face over a plain background as PNG"},
};

void print_help(FILE* out)
{
    std::fprintf(out, "usage: tilora-cli COMMAND [OPTIONS]\n\ncommands:\n");
    for (const command& c : commands)
        std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
    std::fprintf(out, "\n'tilora-cli COMMAND --help' describes a command's options.\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "tilora-cli: no command given (try --help)\n");
        return 2;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "help")) {
        print_help(stdout);
        return 0;
    }
    kit_init();
    for (const command& c : commands)
        if (!std::strcmp(argv[1], c.name))
            return c.run(argc - 2, argv + 2);
    std::fprintf(stderr, "tilora-cli: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}
