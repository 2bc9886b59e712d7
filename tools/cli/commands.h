// The commands of tilora-cli. Each takes the arguments after its name and
// returns the process exit status: 0 done, 1 refused or failed, 2 bad usage.
#pragma once

int run_plan(int argc, char** argv);
int run_pages(int argc, char** argv);
int run_info(int argc, char** argv);
int run_decode(int argc, char** argv);
int run_resize(int argc, char** argv);
int run_face(int argc, char** argv);
